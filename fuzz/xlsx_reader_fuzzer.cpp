// The .xlsx reader over arbitrary files: the archive, its parts and every cell.
#include <cstdint>
#include <memory>

#include "excel/workbook.h"
#include "excel/xlsx_reader.h"
#include "fuzz_support.h"
#include "sheet_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  static fuzz::ScratchFile file("input.xlsx");
  Sheets sheets(std::make_shared<NumberFormats>());
  if (ReadXlsx(file.Write(data, size), sheets).ok()) fuzz::ReadEveryCell(sheets);
  return 0;
}
