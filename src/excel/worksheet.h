#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "excel/cell_value.h"

namespace varnola {

inline constexpr std::uint32_t kMaxSheetRows = 1048576;
inline constexpr std::uint32_t kMaxSheetColumns = 16384;
// The most cells one range operation may touch.
inline constexpr std::uint64_t kMaxRangeCells = 1u << 20;

// 1-based, as cell references count.
struct CellPosition {
  std::uint32_t row = 0;
  std::uint32_t column = 0;
};

struct CellArea {
  CellPosition first;
  CellPosition last;
  std::uint64_t CellCount() const {
    return std::uint64_t{last.row - first.row + 1} * (last.column - first.column + 1);
  }
};

// "A1", "ab12", "$C$3" up to "XFD1048576"; nothing for anything else.
std::optional<CellPosition> ParseCellReference(std::string_view text);

// The number formats of a workbook; cells refer to them by index, 0 is "General".
class NumberFormats {
 public:
  NumberFormats();
  std::uint32_t Intern(std::string_view code);
  const std::string& Code(std::uint32_t index) const;
  std::size_t Count() const { return m_codes.size(); }

 private:
  std::vector<std::string> m_codes;
  std::uint32_t m_lastIndex = 0;  // the format set last is usually the next one too
};

struct Cell {
  std::uint32_t column = 0;
  std::uint32_t format = 0;
  CellValue value;
};

struct SheetRow {
  std::uint32_t number = 0;
  std::vector<Cell> cells;  // ascending by column
};

// A cell together with its place, for cells that arrive in no particular order.
struct PlacedCell {
  CellPosition position;
  Cell cell;  // its column is taken from `position`
};

// One worksheet: rows and cells kept sparse and in order, so a wide or tall reference
// costs only the cells that exist.
class Worksheet {
 public:
  Worksheet(std::string name, std::shared_ptr<NumberFormats> formats);

  const std::string& Name() const { return m_name; }
  NumberFormats& Formats() { return *m_formats; }
  const NumberFormats& Formats() const { return *m_formats; }

  // The cell at the position, created empty when missing.
  Cell& At(CellPosition position);
  const Cell* Find(CellPosition position) const;
  std::size_t CellCount() const { return m_cellCount; }
  const std::vector<SheetRow>& Rows() const { return m_rows; }

  // Adds cells in any order, after the ones the sheet holds: of two at one position the
  // later wins. Placing cells one by one in descending order costs a move of every cell
  // behind each new one; this sorts once instead.
  void PlaceAll(std::vector<PlacedCell> cells);

  // Range operations; false when the area is too large to touch.
  bool SetNumberFormat(const CellArea& area, std::string_view code);
  bool SetValue(const CellArea& area, CellValue value);

 private:
  std::string m_name;
  std::shared_ptr<NumberFormats> m_formats;
  std::vector<SheetRow> m_rows;  // ascending by number
  std::size_t m_cellCount = 0;
};

}  // namespace varnola
