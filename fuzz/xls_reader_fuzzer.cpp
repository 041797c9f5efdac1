// The .xls reader over arbitrary files.
#include <cstdint>
#include <memory>

#include "excel/workbook.h"
#include "excel/xls_reader.h"
#include "fuzz_support.h"
#include "sheet_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  // The library runs in a child process of its own: whatever it does there, this process
  // must come back with a sheet or a reason.
  fuzz::KeepFaultsOfChildrenToThem();
  static fuzz::ScratchFile file("input.xls");
  Sheets sheets(std::make_shared<NumberFormats>());
  if (ReadXls(file.Write(data, size), sheets).ok()) fuzz::ReadEveryCell(sheets);
  return 0;
}
