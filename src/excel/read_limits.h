#pragma once

#include <cstddef>
#include <cstdint>

namespace varnola {

// What one opened file may cost at most. A file over a limit is refused as too large
// rather than read in part, so a hostile file cannot exhaust memory or time.
inline constexpr std::uint64_t kMaxInflatedBytes = 256ull << 20;  // all parts of an .xlsx
inline constexpr std::uint64_t kMaxTextFileBytes = 64ull << 20;   // a .csv or .txt
inline constexpr std::size_t kMaxCells = 2'000'000;
inline constexpr std::size_t kMaxTextBytes = 256u << 10;  // one cell's text
// All cell texts of a sheet together. A shared string is copied into every cell that
// refers to it, so without this a small package could ask for terabytes.
inline constexpr std::uint64_t kMaxSheetTextBytes = 256ull << 20;
// One tag, comment or processing instruction in a part. The XML parser scans a pending
// one again with every piece it is fed, so a tag of hundreds of megabytes would cost
// time squared; no spreadsheet writer makes one of more than a few kilobytes.
inline constexpr std::uint64_t kMaxMarkupBytes = 1ull << 20;
// Sheets, relationships, cell styles and number formats of one package.
inline constexpr std::size_t kMaxPackageEntries = 65536;

}  // namespace varnola
