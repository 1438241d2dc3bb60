#pragma once

#include <vector>

#include "audio/Synth.h"

namespace assetgen::audio {

// MPEG-1 Layer III at 44.1 kHz, constant bit rate, encoded by LAME. One signal is mono;
// two make a stereo file. The stream starts with LAME's Info frame (which lets decoders drop
// the encoder delay) and carries no ID3 tags.
std::vector<unsigned char> encodeMp3(const Signal& left, const Signal* right, int kbps);

}  // namespace assetgen::audio
