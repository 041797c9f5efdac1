#include "sim/png_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include <zlib.h>

namespace varnola::sim {
namespace {

constexpr int kSize = 96;

void AppendUint32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void AppendChunk(std::string& out, std::string_view type, const std::string& data) {
  AppendUint32(out, static_cast<std::uint32_t>(data.size()));
  std::string typed(type);
  typed += data;
  out += typed;
  const auto* bytes = reinterpret_cast<const Bytef*>(typed.data());
  AppendUint32(out, static_cast<std::uint32_t>(crc32(0L, bytes, static_cast<uInt>(typed.size()))));
}

// Distance from the point to the segment a-b.
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

// One RGB pixel of the logo; corners outside the rounded square stay white.
void PutPixel(std::string& rows, int x, int y) {
  const double cx = std::clamp(x + 0.5, 12.0, kSize - 12.0);
  const double cy = std::clamp(y + 0.5, 12.0, kSize - 12.0);
  const bool inSquare = std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= 12.0;
  const bool inV = SegmentDistance(x + 0.5, y + 0.5, 26, 24, 48, 74) < 7 ||
                   SegmentDistance(x + 0.5, y + 0.5, 70, 24, 48, 74) < 7;
  const unsigned char blue[] = {0x3C, 0x8D, 0xBC};
  for (int c = 0; c < 3; ++c) {
    rows += static_cast<char>(inSquare && !inV ? blue[c] : 0xFF);
  }
}

}  // namespace

std::string StoreLogoPng() {
  std::string rows;
  for (int y = 0; y < kSize; ++y) {
    rows += '\0';  // filter type "None"
    for (int x = 0; x < kSize; ++x) PutPixel(rows, x, y);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()),
                9) != Z_OK) {
    return {};
  }
  packed.resize(packedSize);

  std::string header;
  AppendUint32(header, kSize);
  AppendUint32(header, kSize);
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace

  std::string png("\x89PNG\r\n\x1A\n", 8);
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", packed);
  AppendChunk(png, "IEND", {});
  return png;
}

}  // namespace varnola::sim
