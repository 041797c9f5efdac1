#pragma once

#include <string>
#include <vector>

#include "excel/excel_status.h"
#include "excel/xlsx_parts.h"

namespace varnola {

class Worksheet;
class ZipPackage;

// What the cells of a worksheet part refer to.
struct SheetContext {
  const std::vector<std::string>& sharedStrings;
  const std::vector<StyleFormat>& styles;
  bool date1904 = false;
};

// Reads the cells of one worksheet part into the sheet.
ExcelStatus ReadSheetPart(ZipPackage& package, const std::string& partName,
                          const SheetContext& context, Worksheet& sheet);

}  // namespace varnola
