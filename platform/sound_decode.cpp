// MP3 streams for the sound layer: libmpg123 reading from the caller's
// buffer through replaced reader callbacks, so the decoder can seek and scan
// the whole stream. Output is forced to 44100 Hz stereo 16-bit; gapless
// decoding drops the encoder's delay and padding, so sample 0 is the first
// sample that was encoded and positions are sample-exact.
#include <cstring>
#include <mutex>
#include <sys/types.h>

#include "platform/sound_local.h"

namespace {

// A lost frame sync is searched for this many bytes before the stream is
// given up, which bounds every scan over garbage.
const long RESYNC_LIMIT = 4096;
// The frame scan stops at the first bytes that are not a frame. More than
// this left unread after it (a tag or a cut-off last frame is less) means
// undecodable data inside the stream.
const size_t TRAILING_SLACK = 4096;

ssize_t buffer_read(void* handle, void* out, size_t bytes) {
    sound_stream* s = static_cast<sound_stream*>(handle);
    size_t left = s->size - s->offset;
    size_t n = bytes < left ? bytes : left;
    if (n) std::memcpy(out, s->data + s->offset, n);
    s->offset += n;
    if (s->offset > s->read_end) s->read_end = s->offset;
    return static_cast<ssize_t>(n);
}

off_t buffer_seek(void* handle, off_t offset, int whence) {
    sound_stream* s = static_cast<sound_stream*>(handle);
    off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(s->offset)
                                                               : static_cast<off_t>(s->size);
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
    off_t target = base + offset;
    if (target < 0 || target > static_cast<off_t>(s->size)) return -1;
    s->offset = static_cast<size_t>(target);
    return target;
}

bool decoder_library_ready() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = mpg123_init() == MPG123_OK; });
    return ready;
}

// Sets up the decoder's options and output format; false if refused.
bool decoder_configure(mpg123_handle* decoder) {
    long flags = MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_NO_RESYNC;
    return mpg123_param(decoder, MPG123_FLAGS, flags, 0) == MPG123_OK &&
           mpg123_param(decoder, MPG123_RESYNC_LIMIT, RESYNC_LIMIT, 0) == MPG123_OK &&
           mpg123_format_none(decoder) == MPG123_OK &&
           mpg123_format(decoder, SOUND_RATE, MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK &&
           mpg123_replace_reader_handle(decoder, buffer_read, buffer_seek, nullptr) == MPG123_OK;
}

// Whether every frame has the first one's sample rate, MPEG version and
// layer, which fix its number of samples: positions are computed from the
// frame index as if they were all alike, and a rate the output cannot take
// ends decoding where it appears. Parses the headers only; the caller seeks
// back afterwards. The frame scan has already judged what follows the last
// readable frame, so a read error here ends the walk.
bool frames_share_format(mpg123_handle* decoder) {
    if (mpg123_seek(decoder, 0, SEEK_SET) < 0) return false;
    mpg123_frameinfo first = {};
    bool seen = false;
    for (;;) {
        // A frame the output cannot take fails to read, yet its header is
        // what mpg123_info then reports.
        int rc = mpg123_framebyframe_next(decoder);
        mpg123_frameinfo info = {};
        if (mpg123_info(decoder, &info) != MPG123_OK) return false;
        if (seen && (info.rate != first.rate || info.version != first.version || info.layer != first.layer))
            return false;
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) return seen;
        if (!seen) first = info;
        seen = true;
    }
}

// Reads the first frame (is this an MP3 at all?), then indexes every frame
// (can all of it be read?, are the frames alike?); sync is not searched for
// again once lost, so junk inside the stream ends the scan where it starts.
// Returns the error code, SOUND_OK when playable.
int decoder_check(sound_stream* s) {
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(s->decoder, &rate, &channels, &encoding) != MPG123_OK) return SOUND_ERR_FILE_FORMAT;
    s->read_end = 0;  // the open has already read the tail, looking for a tag
    if (mpg123_scan(s->decoder) != MPG123_OK) return SOUND_ERR_FILE_BAD;
    if (s->size - s->read_end > TRAILING_SLACK) return SOUND_ERR_FILE_BAD;
    off_t length = mpg123_length(s->decoder);
    if (length <= 0) return SOUND_ERR_FILE_BAD;
    s->length = length;
    if (!frames_share_format(s->decoder)) return SOUND_ERR_FILE_BAD;
    if (mpg123_seek(s->decoder, 0, SEEK_SET) < 0) return SOUND_ERR_FILE_BAD;
    return SOUND_OK;
}

}  // namespace

sound_stream* sound_stream_open_memory(const unsigned char* data, size_t size) {
    if (!data || size == 0) {
        sound_set_error(SOUND_ERR_FILE_FORMAT);
        return nullptr;
    }
    if (!decoder_library_ready()) {
        sound_set_error(SOUND_ERR_MEMORY);
        return nullptr;
    }
    sound_stream* s = new sound_stream;
    s->data = data;
    s->size = size;
    s->decoder = mpg123_new(nullptr, nullptr);
    int code = SOUND_ERR_MEMORY;
    if (s->decoder && decoder_configure(s->decoder)) {
        code = SOUND_ERR_FILE_FORMAT;
        if (mpg123_open_handle(s->decoder, s) == MPG123_OK) code = decoder_check(s);
    }
    if (code != SOUND_OK) {
        sound_stream_free(s);
        sound_set_error(code);
        return nullptr;
    }
    sound_set_error(SOUND_OK);
    return s;
}

void sound_stream_free(sound_stream* s) {
    if (s->decoder) {
        mpg123_close(s->decoder);
        mpg123_delete(s->decoder);
    }
    delete s;
}

int64_t sound_stream_length(const sound_stream* s) { return s ? s->length : 0; }

namespace {

// Decodes from the first sample up to FRAME, throwing the samples away. The
// decoder's own seek trusts the stream's tag for the encoder delay and the
// frame count; a tag that disagrees with the frames (a damaged or edited file)
// sends it elsewhere, while decoding counts exactly.
bool seek_by_decoding(sound_stream* s, int64_t frame) {
    s->decoder_placed = false;
    if (mpg123_seek(s->decoder, 0, SEEK_SET) < 0) return false;
    unsigned char scratch[4 * 4096];
    for (int64_t left = frame; left > 0;) {
        size_t want = static_cast<size_t>(left < 4096 ? left : 4096) * 4, done = 0;
        int rc = mpg123_read(s->decoder, scratch, want, &done);
        left -= static_cast<int64_t>(done / 4);
        if (left > 0 && (done == 0 || (rc != MPG123_OK && rc != MPG123_NEW_FORMAT))) return false;
    }
    return true;
}

}  // namespace

int64_t sound_stream_tell(const sound_stream* s) { return s->finished ? s->length : s->position; }

// The seek itself, for a stream the mixer is not reading at the moment. It
// lands on FRAME exactly or reports failure.
bool sound_stream_seek_frames(sound_stream* s, int64_t frame) {
    if (frame >= s->length) {
        s->finished = true;
        return true;
    }
    bool landed = !s->decoder_seek_wrong && mpg123_seek(s->decoder, static_cast<off_t>(frame), SEEK_SET) >= 0 &&
                  mpg123_tell(s->decoder) == frame;
    if (landed) {
        s->decoder_placed = true;
    } else {
        s->decoder_seek_wrong = true;
        if (!seek_by_decoding(s, frame)) return false;
    }
    s->position = frame;
    s->finished = false;
    return true;
}

int sound_decode(sound_stream* s, int16_t* out, int frames) {
    if (!s || !out || frames <= 0) return 0;
    // Never past the length the frame scan found.
    int64_t left = s->length - s->position;
    size_t wanted = static_cast<size_t>(frames < left ? frames : left) * 4;
    size_t got = 0;
    // Each read either yields bytes or ends the stream; a decoder that does
    // neither a few times running is treated as at its end.
    int idle = 0;
    while (got < wanted && !s->finished && idle < 8) {
        size_t done = 0;
        int rc = mpg123_read(s->decoder, reinterpret_cast<unsigned char*>(out) + got, wanted - got, &done);
        got += done;
        idle = done ? 0 : idle + 1;
        if (rc == MPG123_OK || rc == MPG123_NEW_FORMAT) continue;
        // An end short of the length after the decoder's own seek: it was
        // misplaced. Decoding from the start finds the place.
        int64_t at = s->position + static_cast<int64_t>(got / 4);
        if (s->decoder_placed && at < s->length) {
            s->decoder_seek_wrong = true;
            if (seek_by_decoding(s, at)) continue;
        }
        s->finished = true;
    }
    s->position += static_cast<int64_t>(got / 4);
    if (idle >= 8 || s->position >= s->length) s->finished = true;
    return static_cast<int>(got / 4);
}
