#include "excel/xls_reader.h"

#include <freexl.h>
#include <cstdio>
#include <memory>

#include "excel/read_limits.h"
#include "excel/workbook.h"

namespace varnola {
namespace {

struct FreexlCloser {
  void operator()(const void* handle) const { freexl_close(handle); }
};

ExcelError FromFreexlError(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND:
      return ExcelError::NotFound;
    case FREEXL_INSUFFICIENT_MEMORY:
      return ExcelError::TooLarge;
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
      return ExcelError::NotAWorkbook;
    default:
      return ExcelError::Damaged;
  }
}

// The reader gives dates and times as "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS".
CellValue DateValue(const char* text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  double serial = -1;
  if (std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) >= 3) {
    serial = DateSerial(y, mo, d, h, mi, s);
  } else if (std::sscanf(text, "%d:%d:%d", &h, &mi, &s) == 3) {
    serial = DateSerial(0, 0, 0, h, mi, s);
  }
  return serial >= 0 ? CellValue::FromDate(serial) : CellValue::FromText(text);
}

CellValue ValueOf(const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return CellValue::FromNumber(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return CellValue::FromNumber(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      return (cell.value.text_value && *cell.value.text_value)
                 ? CellValue::FromText(cell.value.text_value)
                 : CellValue{};
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      return cell.value.text_value ? DateValue(cell.value.text_value) : CellValue{};
    default:
      return {};
  }
}

}  // namespace

ExcelStatus ReadXls(const std::string& utf8Path, Sheets& sheets) {
  const void* raw = nullptr;
  const int opened = freexl_open(utf8Path.c_str(), &raw);
  std::unique_ptr<const void, FreexlCloser> handle(raw);
  if (opened != FREEXL_OK) return ExcelStatus(FromFreexlError(opened));

  unsigned int info = 0;
  if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
      info == FREEXL_BIFF_OBFUSCATED) {
    return ExcelStatus(ExcelError::Encrypted);
  }
  unsigned int sheetCount = 0;
  if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK) {
    return ExcelStatus(ExcelError::Damaged);
  }
  if (sheetCount == 0) return ExcelStatus();

  const char* name = nullptr;
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_get_worksheet_name(raw, 0, &name) != FREEXL_OK ||
      freexl_select_active_worksheet(raw, 0) != FREEXL_OK ||
      freexl_worksheet_dimensions(raw, &rows, &columns) != FREEXL_OK) {
    return ExcelStatus(ExcelError::Damaged);
  }
  Worksheet& sheet = sheets.Add(name ? name : "Sheet1");
  for (unsigned int row = 0; row < rows && row < kMaxSheetRows; ++row) {
    for (unsigned short column = 0; column < columns; ++column) {
      FreeXL_CellValue cell{};
      if (freexl_get_cell_value(raw, row, column, &cell) != FREEXL_OK) continue;
      CellValue value = ValueOf(cell);
      if (value.kind == ValueKind::Empty) continue;
      sheet.At({row + 1, column + 1u}).value = std::move(value);
      if (sheet.CellCount() > kMaxCells) return ExcelStatus(ExcelError::TooLarge);
    }
  }
  return ExcelStatus();
}

}  // namespace varnola
