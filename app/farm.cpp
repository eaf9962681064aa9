// The plans of --farm: one task script that renders a piece from its index,
// one that joins, and a submission for each scheduler around them.
#include "app/farm.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/capture.h"
#include "app/cmdline.h"
#include "app/piece.h"
#include "app/video_writer.h"
#include "core/fatal.h"
#include "core/script.h"
#include "core/settings.h"

namespace fs = std::filesystem;

namespace {

struct farm_plan {
    std::string dir, shown_dir;  // absolute, and as named
    std::string quillon;         // this binary
    std::string show;            // the show folder
    std::string output;          // the joined file
    std::string extension;       // of the pieces
    std::string options;         // what every piece is rendered with
    int run_frames = 0, per = 0, pieces = 0;
};

std::string q(const std::string& word) { return capture_shell_word(word); }

// The run options of the command line, for every piece alike.
std::string piece_options(const cmdline* o) {
    std::string text = " --fps " + std::to_string(o->offline_fps);
    if (o->width) text += " --size " + std::to_string(o->width) + "x" + std::to_string(o->height);
    if (o->rtt_width) text += " --rtt " + std::to_string(o->rtt_width) + "x" + std::to_string(o->rtt_height);
    if (o->crf >= 0) text += " --crf " + std::to_string(o->crf);
    if (o->lossless) text += " --lossless";
    // As typed: a time in beats is read by each piece with the show's tempo.
    if (o->has_start) text += std::string(" --start ") + o->start_text;
    if (o->has_end) text += std::string(" --end ") + o->end_text;
    if (o->script) text += " --script " + q(o->script);
    return text;
}

// Pieces in the codec of the joined file: FFV1 for a lossless one, VP9
// for WebM, else H.264, each in the container that takes it.
std::string piece_extension(const cmdline* o, const std::string& output) {
    const video_format* format = video_format_for(output.c_str(), o->lossless);
    if (!format)
        fatal_error("Farm: %s names no file --video writes (use %s)", output.c_str(),
                    video_extensions(o->lossless).c_str());
    return std::strcmp(format->extension, ".webm") == 0 ? ".webm" : ".mkv";
}

void write_script(const farm_plan& plan, const char* name, const std::string& text) {
    std::string path = plan.dir + "/" + name, error = "cannot be made executable";
    if (!piece_write_file(path, text, &error) || chmod(path.c_str(), 0755) != 0)
        fatal_error("Farm: %s/%s %s", plan.shown_dir.c_str(), name, error.c_str());
}

std::string piece_name(const farm_plan& plan, const char* index) {
    return plan.dir + "/pieces/piece-" + index + plan.extension;
}

std::string task_script(const farm_plan& p) {
    char range[800];
    std::snprintf(range, sizeof range,
                  "# One piece of the show: frames INDEX*%d to INDEX*%d+%d of its %d (the last\n"
                  "# piece may be short). INDEX is the first argument, or the scheduler's.\n"
                  "set -eu\n"
                  "index=${1:-${SLURM_ARRAY_TASK_ID:-${JOB_COMPLETION_INDEX:-}}}\n"
                  "case \"$index\" in ''|*[!0-9]*) echo \"task.sh: no piece index\" >&2; exit 2;; esac\n"
                  "first=$((index * %d))\nend=$((first + %d))\n[ \"$end\" -le %d ] || end=%d\n"
                  "if [ \"$first\" -ge \"$end\" ]; then\n"
                  "  echo \"task.sh: piece $index is past the run\" >&2; exit 2\nfi\n",
                  p.per, p.per, p.per - 1, p.run_frames, p.per, p.per, p.run_frames, p.run_frames);
    return "#!/bin/sh\n" + std::string(range) + "quillon=${QUILLON:-" + q(p.quillon) + "}\n" + "mkdir -p " +
           q(p.dir + "/pieces") + "\n" + "piece=$(printf " + q(piece_name(p, "%05d")) + " \"$index\")\n" +
           "exec \"$quillon\" --video \"$piece\" --frames \"$first:$end\"" + p.options + " " + q(p.show) + "\n";
}

std::string join_script(const farm_plan& p) {
    return "#!/bin/sh\n# Joins the " + std::to_string(p.pieces) + " pieces into " + p.output +
           " with the soundtrack.\nset -eu\nquillon=${QUILLON:-" + q(p.quillon) + "}\nset --\ni=0\nwhile [ $i -lt " +
           std::to_string(p.pieces) + " ]; do\n  set -- \"$@\" \"$(printf " + q(piece_name(p, "%05d")) +
           " $i)\"\n  i=$((i + 1))\ndone\nexec \"$quillon\" --join " + q(p.output) + " \"$@\" " + q(p.show) +
           (p.options.find(" --script ") != std::string::npos
                ? p.options.substr(p.options.find(" --script "))
                : std::string()) +
           "\n";
}

std::string parallel_script(const farm_plan& p, const char* sshlogin) {
    std::string hosts = sshlogin ? " --sshlogin " + q(sshlogin) : "";
    return "#!/bin/sh\n# Renders the " + std::to_string(p.pieces) +
           " pieces with GNU parallel (a failed one is tried twice more), then\n# joins them. Finished pieces "
           "are kept when it runs again.\nset -eu\nseq 0 " +
           std::to_string(p.pieces - 1) + " | parallel --retries 3 --halt soon,fail=1" + hosts + " " +
           q(p.dir + "/task.sh") + " {}\nexec " + q(p.dir + "/join.sh") + "\n";
}

std::string slurm_script(const farm_plan& p) {
    std::string logs = q(p.dir + "/logs");
    return "#!/bin/sh\n# Submits the " + std::to_string(p.pieces) +
           " pieces as one Slurm array job and the join as a job that\n# runs once all of them succeeded, then "
           "waits for the join (it fails when\n# the join does not finish). Finished pieces are kept when it runs again.\n"
           "set -eu\nmkdir -p " + logs + "\narray=$(sbatch --parsable --array=0-" + std::to_string(p.pieces - 1) +
           " --job-name=quillon-pieces --requeue --chdir=" + q(p.dir) + " --output=" + q(p.dir + "/logs/piece-%a.out") +
           " " + q(p.dir + "/task.sh") + ")\narray=${array%%;*}\necho \"Pieces: job $array\"\n" +
           "join=$(sbatch --parsable --wait --dependency=afterok:$array --kill-on-invalid-dep=yes "
           "--job-name=quillon-join --chdir=" + q(p.dir) + " --output=" + q(p.dir + "/logs/join.out") + " " +
           q(p.dir + "/join.sh") + ") || true\n" +
           "# A join cancelled because a piece failed ends the wait as well as one that ran.\n"
           "if scontrol show job \"${join%%;*}\" | grep -q 'JobState=COMPLETED'; then\n"
           "  echo Joined: " + q(p.output) + "\nelse\n" + "  echo slurm.sh: the join did not finish, see " + logs +
           " >&2\n  exit 1\nfi\n";
}

// The folder every path of the plan lies in, to mount in the containers.
std::string common_folder(const farm_plan& p) {
    fs::path common = fs::path(p.dir);
    for (const std::string& other : {p.show, fs::path(p.output).parent_path().string()}) {
        fs::path a = common, b = fs::path(other), shared;
        for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end() && *i == *j; ++i, ++j) shared /= *i;
        common = shared;
    }
    return common.string();
}

// One Job of the batch API: its own fields, then the pod it runs (its
// volume, then `containers`). Both levels hold their settings under the
// scheduler's own key for an object's wanted state.
std::string kubernetes_job(const char* name, const std::string& job, const std::string& containers) {
    return std::string("apiVersion: batch/v1\nkind: Job\nmetadata:\n  name: ") + name + "\nspec:\n" + job +
           "  template:\n    spec:\n      restartPolicy: Never\n      volumes:\n      - name: work\n"
           "        persistentVolumeClaim:\n          claimName: quillon-work\n" + containers;
}

std::string kubernetes_manifest(const farm_plan& p) {
    std::string pieces = std::to_string(p.pieces), folder = common_folder(p);
    std::string mount = "        env:\n        - name: QUILLON\n          value: quillon\n        volumeMounts:\n"
                        "        - name: work\n          mountPath: \"" + folder + "\"\n";
    auto container = [&](const char* name, const std::string& command) {
        return std::string("      - name: ") + name + "\n        image: quillon:latest\n        command: [" + command +
               "]\n" + mount;
    };
    return "# The show in " + pieces +
           " pieces as an Indexed Job, and the join as a second Job that\n# starts once every piece has its "
           "manifest. Both need an image with quillon\n# on its PATH and the volume claim quillon-work holding " +
           folder + ".\n" +
           kubernetes_job("quillon-pieces",
                          "  completionMode: Indexed\n  completions: " + pieces + "\n  parallelism: " + pieces +
                              "\n  backoffLimit: " + std::to_string(3 * p.pieces) + "\n",
                          "      containers:\n" + container("piece", "\"/bin/sh\", \"" + p.dir + "/task.sh\"")) +
           "---\n" +
           kubernetes_job("quillon-join", "  backoffLimit: 2\n",
                          "      initContainers:\n" +
                              container("wait-for-pieces", "\"/bin/sh\", \"-c\", \"until [ $(ls " + p.dir +
                                                               "/pieces/*.manifest 2>/dev/null | wc -l) -ge " + pieces +
                                                               " ]; do sleep 10; done\"") +
                              "      containers:\n" + container("join", "\"/bin/sh\", \"" + p.dir + "/join.sh\""));
}

std::string this_binary() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) fatal_error("Farm: the path of this program cannot be found: %s", error.message().c_str());
    return self.string();
}

}  // namespace

int farm_run(const cmdline* options) {
    farm_plan plan;
    plan.shown_dir = options->farm;
    std::error_code error;
    fs::create_directories(options->farm, error);
    if (error || !fs::is_directory(options->farm))
        fatal_error("Farm: folder %s cannot be created: %s", options->farm,
                    error ? error.message().c_str() : "a file of that name is in the way");
    plan.dir = fs::canonical(options->farm).string();
    plan.output = fs::absolute(options->video ? options->video : plan.dir + "/show.mp4").lexically_normal().string();
    plan.extension = piece_extension(options, plan.output);
    plan.quillon = this_binary();
    if (options->show_dir && chdir(options->show_dir) != 0)
        fatal_error("Show folder %s cannot be opened", options->show_dir);
    plan.show = fs::current_path().string();
    if (options->script) script_path = options->script;
    read_script();
    cmdline_apply(options);
    plan.run_frames = piece_show_frames(options->offline_fps);
    if (plan.run_frames == 0) fatal_error("Farm: the show has no frame to render");
    plan.per = (plan.run_frames + options->farm_pieces - 1) / options->farm_pieces;
    plan.pieces = (plan.run_frames + plan.per - 1) / plan.per;
    plan.options = piece_options(options);
    write_script(plan, "task.sh", task_script(plan));
    write_script(plan, "join.sh", join_script(plan));
    write_script(plan, "parallel.sh", parallel_script(plan, options->sshlogin));
    write_script(plan, "slurm.sh", slurm_script(plan));
    std::string why;
    if (!piece_write_file(plan.dir + "/kubernetes.yaml", kubernetes_manifest(plan), &why))
        fatal_error("Farm: %s/kubernetes.yaml %s", options->farm, why.c_str());
    std::printf("Planned %d pieces of %d frames (the run has %d at %d fps) into %s:\n"
                "  %s/parallel.sh     GNU parallel%s\n  %s/slurm.sh        Slurm\n"
                "  %s/kubernetes.yaml Kubernetes (kubectl apply -f)\n",
                plan.pieces, plan.per, plan.run_frames, options->offline_fps, plan.output.c_str(), options->farm,
                options->sshlogin ? " over ssh" : " on this machine", options->farm, options->farm);
    return 0;
}
