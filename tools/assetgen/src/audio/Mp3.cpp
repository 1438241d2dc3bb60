#include "audio/Mp3.h"

#include <lame.h>

#include <algorithm>
#include <cstring>

#include "core/Error.h"

namespace assetgen::audio {

namespace {

short toPcm(float v) {
    double x = std::clamp(static_cast<double>(v), -1.0, 1.0) * 32767.0;
    return static_cast<short>(std::lround(x));
}

}  // namespace

std::vector<unsigned char> encodeMp3(const Signal& left, const Signal* right, int kbps) {
    int channels = right ? 2 : 1;
    lame_t lame = lame_init();
    if (!lame) throw GenError("LAME could not start");
    lame_set_num_channels(lame, channels);
    lame_set_in_samplerate(lame, kRate);
    lame_set_out_samplerate(lame, kRate);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        throw GenError("LAME rejected its parameters");
    }
    std::size_t n = left.size();
    std::vector<short> l(n), r(n);
    for (std::size_t i = 0; i < n; ++i) {
        l[i] = toPcm(left[i]);
        r[i] = right ? toPcm(i < right->size() ? (*right)[i] : 0.0f) : l[i];
    }
    std::vector<unsigned char> out;
    std::vector<unsigned char> buf(static_cast<std::size_t>(1.25 * 8192 + 7200));
    const std::size_t chunk = 8192;
    for (std::size_t at = 0; at < n; at += chunk) {
        int count = static_cast<int>(std::min(chunk, n - at));
        int got = lame_encode_buffer(lame, &l[at], &r[at], count, buf.data(), static_cast<int>(buf.size()));
        if (got < 0) {
            lame_close(lame);
            throw GenError("LAME failed while encoding");
        }
        out.insert(out.end(), buf.begin(), buf.begin() + got);
    }
    int got = lame_encode_flush(lame, buf.data(), static_cast<int>(buf.size()));
    if (got > 0) out.insert(out.end(), buf.begin(), buf.begin() + got);
    // The first frame is a placeholder for the Info tag; fill it in now that LAME knows the totals.
    std::vector<unsigned char> tag(2048);
    std::size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
    if (tagSize > 0 && tagSize <= out.size()) std::memcpy(out.data(), tag.data(), tagSize);
    lame_close(lame);
    return out;
}

}  // namespace assetgen::audio
