#pragma once

#include "core/Color.h"

namespace assetgen::theme {

// The one look of the game's interface: walnut, brass and parchment, with teal and wine accents.
inline const Rgb kWalnutDark = Rgb::hex(0x3A2416);
inline const Rgb kWalnut = Rgb::hex(0x5E3A22);
inline const Rgb kWalnutLight = Rgb::hex(0x8A5A34);
inline const Rgb kGoldDark = Rgb::hex(0x7A5418);
inline const Rgb kGold = Rgb::hex(0xC9943A);
inline const Rgb kGoldLight = Rgb::hex(0xF2D27C);
inline const Rgb kCream = Rgb::hex(0xF7EEDA);
inline const Rgb kParchment = Rgb::hex(0xEBDAB4);
inline const Rgb kParchmentDark = Rgb::hex(0xC9B083);
inline const Rgb kInk = Rgb::hex(0x2B1D12);
inline const Rgb kTeal = Rgb::hex(0x2E6B66);
inline const Rgb kTealLight = Rgb::hex(0x62B3A6);
inline const Rgb kWine = Rgb::hex(0x7B2331);
inline const Rgb kGreen = Rgb::hex(0x3E7A3A);
inline const Rgb kReagent = Rgb::hex(0x4FC7B5);

}  // namespace assetgen::theme
