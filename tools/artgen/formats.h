// The file formats Windows reads from our resources without any image
// library: device-independent bitmaps, icon files and PCM wave files.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace veltrano::artgen {

using Bytes = std::vector<std::uint8_t>;

// 24-bit bottom-up DIB with its file header. Alpha is ignored: flatten first.
Bytes encode_bmp24(const Image& image);

// An icon file holding each image as a 32-bit DIB with alpha, followed by the
// 1-bit AND mask that pre-XP shells draw with.
Bytes encode_ico(const std::vector<Image>& images);

// Mono 16-bit PCM.
Bytes encode_wav(const std::vector<std::int16_t>& samples, std::uint32_t sample_rate);

}  // namespace veltrano::artgen
