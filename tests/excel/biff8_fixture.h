#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnola::test {

// One cell of the .xls fixture, 0-based as the file counts.
struct BiffCell {
  enum class Kind { Text, Number, Integer, Date, DateTime, Boolean };
  std::uint16_t row = 0;
  std::uint16_t column = 0;
  Kind kind = Kind::Text;
  std::string utf8;   // Text
  double number = 0;  // Number, Integer, Date and DateTime (serial), Boolean (0 or 1)
};

// The smallest BIFF8 workbook a reader accepts: one worksheet "Sheet1" in a compound
// document, texts in the shared string table, dates through a cell style with the
// built-in formats 14 (date) and 22 (date and time).
std::string Biff8Workbook(const std::vector<BiffCell>& cells);

}  // namespace varnola::test
