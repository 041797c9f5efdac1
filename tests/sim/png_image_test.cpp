#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "sim/png_image.h"

namespace varnola::sim {
namespace {

std::uint32_t ReadUint32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Reads the file chunk by chunk as a PNG decoder would, checking every CRC, and inflates
// the image data to the size its header promises.
TEST(PngImageTest, LogoIsAWellFormedPng) {
  const std::string png = StoreLogoPng();
  ASSERT_GT(png.size(), 8u);
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  std::vector<std::string> types;
  std::string header, data;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const std::uint32_t length = ReadUint32(png, at);
    ASSERT_LE(at + 12 + length, png.size());
    const std::string typed = png.substr(at + 4, 4 + length);
    const auto* bytes = reinterpret_cast<const Bytef*>(typed.data());
    EXPECT_EQ(ReadUint32(png, at + 8 + length), crc32(0L, bytes, static_cast<uInt>(typed.size())));
    types.push_back(typed.substr(0, 4));
    if (types.back() == "IHDR") header = typed.substr(4);
    if (types.back() == "IDAT") data += typed.substr(4);
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  ASSERT_EQ(header.size(), 13u);
  const std::uint32_t width = ReadUint32(header, 0), height = ReadUint32(header, 4);
  EXPECT_GT(width, 0u);
  EXPECT_EQ(header[8], 8);  // bits per sample
  EXPECT_EQ(header[9], 2);  // RGB

  uLongf size = (width * 3 + 1) * height;
  std::string pixels(size + 16, '\0');
  ASSERT_EQ(
      uncompress(reinterpret_cast<Bytef*>(pixels.data()), &size,
                 reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size())),
      Z_OK);
  EXPECT_EQ(size, (width * 3 + 1) * height);
}

}  // namespace
}  // namespace varnola::sim
