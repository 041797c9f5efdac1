// The .xlsx reader's XML side: the input gives the parts of a package, which is written
// as a sound archive so that every input reaches the part readers and the sheet reader.
#include <fuzzer/FuzzedDataProvider.h>
#include <zip.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "excel/workbook.h"
#include "excel/xlsx_reader.h"
#include "fuzz_support.h"
#include "sheet_walk.h"

namespace {

// The parts in the order the input gives them: the package and workbook relationships
// first, so that mutations of either can point the reader anywhere.
constexpr const char* kPartNames[] = {
    "_rels/.rels",   "xl/_rels/workbook.xml.rels", "xl/workbook.xml",
    "xl/styles.xml", "xl/sharedStrings.xml",       "xl/worksheets/sheet1.xml",
};

bool WritePackage(const std::string& path, const std::vector<std::string>& parts) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) return false;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;  // an empty part is a missing one
    zip_source_t* source = zip_source_buffer(archive, parts[i].data(), parts[i].size(), 0);
    if (!source) break;
    const zip_int64_t index = zip_file_add(archive, kPartNames[i], source, ZIP_FL_OVERWRITE);
    if (index < 0) {
      zip_source_free(source);
      break;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  static fuzz::ScratchFile file("input.xlsx");
  FuzzedDataProvider input(data, size);
  std::vector<std::string> parts;
  for (std::size_t i = 0; i + 1 < std::size(kPartNames); ++i) {
    parts.push_back(input.ConsumeRandomLengthString());
  }
  parts.push_back(input.ConsumeRemainingBytesAsString());

  const std::string& path = file.Path();
  if (!WritePackage(path, parts)) return 0;
  Sheets sheets(std::make_shared<NumberFormats>());
  if (ReadXlsx(path, sheets).ok()) fuzz::ReadEveryCell(sheets);
  return 0;
}
