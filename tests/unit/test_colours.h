// Plain colours the pixel tests paint with and look for, as the canvas stores them (0x00BBGGRR).
#pragma once

#include "framework/Types.h"

namespace test_colours {

constexpr fw::TColorRef kRed = 0x0000FF;
constexpr fw::TColorRef kGreen = 0x00FF00;
constexpr fw::TColorRef kBlue = 0xFF0000;
constexpr fw::TColorRef kWhite = 0xFFFFFF;
constexpr fw::TColorRef kBlack = 0x000000;

} // namespace test_colours
