#include "excel/worksheet.h"

#include <algorithm>

namespace varnola {
namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The first item whose key is not below `key`. Rows and cells are mostly dense and
// mostly arrive in order: try the item at the key's own index and the end first.
template <typename Items, typename KeyOf>
auto DenseOrSorted(Items& items, std::uint32_t key, KeyOf keyOf) {
  if (key >= 1 && key <= items.size() && keyOf(items[key - 1]) == key) {
    return items.begin() + (key - 1);
  }
  if (!items.empty() && keyOf(items.back()) < key) return items.end();
  return std::lower_bound(items.begin(), items.end(), key,
                          [&](const auto& item, std::uint32_t k) { return keyOf(item) < k; });
}

}  // namespace

std::optional<CellPosition> ParseCellReference(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  std::uint32_t column = 0;
  const std::size_t lettersStart = i;
  while (i < text.size() && UpperAscii(text[i]) >= 'A' && UpperAscii(text[i]) <= 'Z') {
    column = column * 26 + static_cast<std::uint32_t>(UpperAscii(text[i]) - 'A' + 1);
    if (++i - lettersStart > 3) return std::nullopt;
  }
  if (i == lettersStart || column > kMaxSheetColumns) return std::nullopt;
  if (i < text.size() && text[i] == '$') ++i;
  std::uint32_t row = 0;
  const std::size_t digitsStart = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    row = row * 10 + static_cast<std::uint32_t>(text[i] - '0');
    if (row > kMaxSheetRows) return std::nullopt;
    ++i;
  }
  if (i == digitsStart || i != text.size() || row == 0 || text[digitsStart] == '0') {
    return std::nullopt;
  }
  return CellPosition{row, column};
}

NumberFormats::NumberFormats() : m_codes{"General"} {}

std::uint32_t NumberFormats::Intern(std::string_view code) {
  if (m_codes[m_lastIndex] == code) return m_lastIndex;
  auto found = std::find(m_codes.begin(), m_codes.end(), code);
  if (found == m_codes.end()) found = m_codes.insert(m_codes.end(), std::string(code));
  m_lastIndex = static_cast<std::uint32_t>(found - m_codes.begin());
  return m_lastIndex;
}

const std::string& NumberFormats::Code(std::uint32_t index) const {
  return m_codes[index < m_codes.size() ? index : 0];
}

Worksheet::Worksheet(std::string name, std::shared_ptr<NumberFormats> formats)
    : m_name(std::move(name)), m_formats(std::move(formats)) {}

Cell& Worksheet::At(CellPosition position) {
  auto row = DenseOrSorted(m_rows, position.row, [](const SheetRow& r) { return r.number; });
  if (row == m_rows.end() || row->number != position.row) {
    row = m_rows.insert(row, SheetRow{position.row, {}});
  }
  auto& cells = row->cells;
  auto cell = DenseOrSorted(cells, position.column, [](const Cell& c) { return c.column; });
  if (cell == cells.end() || cell->column != position.column) {
    cell = cells.insert(cell, Cell{position.column, 0, {}});
    ++m_cellCount;
  }
  return *cell;
}

const Cell* Worksheet::Find(CellPosition position) const {
  auto row = DenseOrSorted(m_rows, position.row, [](const SheetRow& r) { return r.number; });
  if (row == m_rows.end() || row->number != position.row) return nullptr;
  auto cell = DenseOrSorted(row->cells, position.column, [](const Cell& c) { return c.column; });
  if (cell == row->cells.end() || cell->column != position.column) return nullptr;
  return &*cell;
}

void Worksheet::PlaceAll(std::vector<PlacedCell> cells) {
  if (cells.empty()) return;
  std::vector<PlacedCell> all;
  all.reserve(m_cellCount + cells.size());
  for (SheetRow& row : m_rows) {
    for (Cell& cell : row.cells) all.push_back({{row.number, cell.column}, std::move(cell)});
  }
  for (PlacedCell& placed : cells) all.push_back(std::move(placed));
  cells = {};
  const auto before = [](const PlacedCell& a, const PlacedCell& b) {
    return a.position.row != b.position.row ? a.position.row < b.position.row
                                            : a.position.column < b.position.column;
  };
  std::stable_sort(all.begin(), all.end(), before);

  m_rows.clear();
  m_cellCount = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    // Of a run of cells at one position only the last is kept.
    if (i + 1 < all.size() && !before(all[i], all[i + 1])) continue;
    const CellPosition at = all[i].position;
    if (m_rows.empty() || m_rows.back().number != at.row) m_rows.push_back({at.row, {}});
    all[i].cell.column = at.column;
    m_rows.back().cells.push_back(std::move(all[i].cell));
    ++m_cellCount;
  }
}

bool Worksheet::SetNumberFormat(const CellArea& area, std::string_view code) {
  if (area.CellCount() > kMaxRangeCells) return false;
  const std::uint32_t format = m_formats->Intern(code);
  for (auto r = area.first.row; r <= area.last.row; ++r) {
    for (auto c = area.first.column; c <= area.last.column; ++c) At({r, c}).format = format;
  }
  return true;
}

bool Worksheet::SetValue(const CellArea& area, CellValue value) {
  if (area.CellCount() > kMaxRangeCells) return false;
  if (area.CellCount() == 1) {
    At(area.first).value = std::move(value);
    return true;
  }
  for (auto r = area.first.row; r <= area.last.row; ++r) {
    for (auto c = area.first.column; c <= area.last.column; ++c) At({r, c}).value = value;
  }
  return true;
}

}  // namespace varnola
