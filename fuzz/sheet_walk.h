#pragma once

#include <cstddef>

#include "excel/cell_value.h"
#include "excel/workbook.h"
#include "excel/worksheet.h"
#include "http/encodings.h"

namespace varnola::fuzz {

// Every cell as import shows it: the value's text, then local text. Returns the bytes
// made, so the work cannot be left out.
inline std::size_t ReadEveryCell(const Sheets& sheets) {
  std::size_t bytes = 0;
  for (int i = 1; i <= sheets.Count(); ++i) {
    const auto sheet = sheets.Item(i);
    for (const SheetRow& row : sheet->Rows()) {
      for (const Cell& cell : row.cells) {
        bytes += Utf8ToLocal(ValueToText(cell.value)).size();
        bytes += sheet->Formats().Code(cell.format).size();
      }
    }
  }
  return bytes;
}

}  // namespace varnola::fuzz
