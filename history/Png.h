#pragma once
// A picture as a PNG file's bytes, without Windows: 8-bit RGB, rows in
// deflate's stored blocks, so that any viewer opens it and no library is needed.
#include <cstdint>
#include <string>
#include <vector>

namespace history {

// pixels: width x height values 0xRRGGBB, the top row first.
std::string EncodePng(int width, int height, const std::vector<std::uint32_t>& pixels);

// The CRC-32 that PNG's chunks end with.
std::uint32_t Crc32(const std::string& bytes);

}  // namespace history
