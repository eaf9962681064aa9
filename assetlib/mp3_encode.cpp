#include "assetlib/mp3_encode.h"

#include <lame/lame.h>

std::vector<unsigned char> asset_encode_mp3(const std::vector<int16_t>& pcm, int kbps) {
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, 44100);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_init_params(lame);
    int frames = static_cast<int>(pcm.size() / 2);
    std::vector<unsigned char> out(static_cast<size_t>(frames) * 5 / 4 + 7200);
    const int chunk = 8192;
    size_t used = 0;
    for (int start = 0; start < frames; start += chunk) {
        int n = frames - start < chunk ? frames - start : chunk;
        int written = lame_encode_buffer_interleaved(lame, const_cast<short*>(&pcm[size_t(start) * 2]), n,
                                                     out.data() + used, static_cast<int>(out.size() - used));
        if (written > 0) used += static_cast<size_t>(written);
    }
    int tail = lame_encode_flush(lame, out.data() + used, static_cast<int>(out.size() - used));
    if (tail > 0) used += static_cast<size_t>(tail);
    out.resize(used);
    // The info frame written at the start holds the delay and padding; it is
    // only complete once the whole stream has been encoded.
    unsigned char tag[4096];
    size_t tag_size = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tag_size > 0 && tag_size <= out.size()) std::copy(tag, tag + tag_size, out.begin());
    lame_close(lame);
    return out;
}
