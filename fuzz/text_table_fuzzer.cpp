// The .csv and .txt reader: the first byte chooses the kind, the rest is the file.
#include <cstdint>
#include <memory>

#include "excel/text_table_reader.h"
#include "excel/workbook.h"
#include "fuzz_support.h"
#include "sheet_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  static fuzz::ScratchFile csv("input.csv");
  static fuzz::ScratchFile txt("input.txt");
  if (size == 0) return 0;
  const bool commas = (data[0] & 1) == 0;
  const std::string& path = (commas ? csv : txt).Write(data + 1, size - 1);
  Sheets sheets(std::make_shared<NumberFormats>());
  if (ReadTextTable(path, commas ? ',' : '\t', sheets).ok()) fuzz::ReadEveryCell(sheets);
  return 0;
}
