#include "app/frame_writer.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/png_file.h"

namespace {

struct frame_job {
    std::string path;
    int frame = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

std::mutex lock;
std::condition_variable changed;
frame_job job;           // the frame being written, when busy
bool busy = false;       // a job is handed over and not yet written
bool stopping = false;
int failed = -1;         // the first frame that could not be written
// Never destroyed: a fatal error exits while it may still be waiting, and
// destroying a running thread would abort instead of exiting.
std::thread* worker = nullptr;
int write_png(const char* path, int, int width, int height, const uint8_t* rgb_bottom_up) {
    return png_file_write(path, width, height, rgb_bottom_up);
}

frame_write_fn write_frame = write_png;
double waited = 0;

void write_jobs() {
    std::unique_lock<std::mutex> held(lock);
    for (;;) {
        changed.wait(held, [] { return busy || stopping; });
        if (!busy) return;
        held.unlock();
        bool ok = write_frame(job.path.c_str(), job.frame, job.width, job.height, job.pixels.data());
        held.lock();
        if (!ok && failed < 0) failed = job.frame;
        busy = false;
        changed.notify_all();
    }
}

// Waits until no job is in hand; the lock is held on return.
std::unique_lock<std::mutex> wait_idle() {
    std::unique_lock<std::mutex> held(lock);
    changed.wait(held, [] { return !busy; });
    return held;
}

}  // namespace

void frame_writer_use(frame_write_fn write) { write_frame = write ? write : write_png; }

double frame_writer_wait_seconds() { return waited; }

bool frame_writer_submit(const std::string& path, int frame, int width, int height, std::vector<uint8_t>* pixels) {
    if (!worker) {
        stopping = false;
        failed = -1;
        waited = 0;
        worker = new std::thread(write_jobs);
    }
    std::chrono::steady_clock::time_point began = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> held = wait_idle();
    waited += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (failed >= 0) return false;
    job.path = path;
    job.frame = frame;
    job.width = width;
    job.height = height;
    job.pixels.swap(*pixels);
    busy = true;
    changed.notify_all();
    return true;
}

bool frame_writer_finish() {
    if (worker) {
        {
            std::unique_lock<std::mutex> held = wait_idle();
            stopping = true;
            changed.notify_all();
        }
        worker->join();
        delete worker;
        worker = nullptr;
    }
    return failed < 0;
}

int frame_writer_failed() { return failed; }
