// One video file from an offline run, encoded in the process with the FFmpeg
// libraries: the container follows the file's extension, every captured
// frame becomes one picture at k / fps, and the soundtrack from demostart
// runs beside it for exactly as long as the pictures. The file is written
// under a temporary name of its own (output_file.h) and takes its name only
// once it is finished and read back whole, so a run that fails, or one
// beside it writing the same name, leaves an older FILE as it was.
//
// The frame writer's thread calls video_writer_encode_frame; everything else runs
// on the main thread while that thread is idle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct AVCodecParameters;
struct AVPacket;

// What an extension stands for.
struct video_format {
    const char* extension;    // ".mp4"
    const char* muxer;        // the container's name in libavformat
    const char* video_codec;  // encoder names in libavcodec
    const char* video_name;   // for messages
    const char* audio_codec;
    const char* audio_name;
    int lossless;             // picked by --lossless
    int default_crf;          // -1: the codec takes no quality number
};

// The format of `path` (extension in any case), or null when none fits.
const video_format* video_format_for(const char* path, int lossless);
// ".mp4, .mkv or .webm", for messages.
std::string video_extensions(int lossless);

struct video_request {
    std::string shown;        // the file as the user named it, for messages
    std::string path;         // the same, absolute
    int width = 0, height = 0, fps = 0;
    int crf = -1;             // -1: the format's default
    int lossless = 0;
    const unsigned char* sound = nullptr;  // the MP3 file; null: no sound track
    size_t sound_size = 0;
    int sound_start_ms = 0;   // where in the music the show starts
};

// Opens the encoders and the file. False, with a complete message in
// `error`, when the extension, an encoder or the path does not work; nothing
// is left on disk then.
bool video_writer_open(const video_request& request, std::string* error);
// Opens the file to take pictures already encoded with `pictures` (the
// pieces of --join) instead of the encoder; the sound is encoded as always.
// The extension must name a container of that codec.
bool video_writer_open_copy(const video_request& request, const AVCodecParameters* pictures, std::string* error);
// Writes one encoded picture whose pts and dts count frames (1 / fps) from
// the file's start; the sound follows it as after video_writer_encode_frame. 1 on
// success, else the reason is in video_writer_failure().
int video_writer_copy_packet(AVPacket* picture);
// Encodes one frame of width x height RGB pixels (bottom row first) and the
// sound up to its end. 1 on success. Its signature is the frame writer's.
int video_writer_encode_frame(const char* unused, int frame, int width, int height, const uint8_t* rgb_bottom_up);
// Drains the encoders, finishes the container, reads it back and gives the
// file its name; `replaced` tells whether a file of that name was there.
// False with a message in `error` when that fails (the partial file is
// removed then).
bool video_writer_close(bool* replaced, std::string* error);
// Closes and removes the partial file (a run that ends before any frame).
void video_writer_discard();
// Frames encoded so far, and the note on padding an odd size ("" when none).
int video_writer_frames_written();
// Why the last video_writer_encode_frame failed.
std::string video_writer_failure();
std::string video_writer_padding_note(const video_format* format, int width, int height);
// "converting 3.1 s, encoding 9.8 s, sound 0.4 s": the writer thread's time.
std::string video_writer_time_report();
