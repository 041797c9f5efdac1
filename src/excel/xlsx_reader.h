#pragma once

#include <string>

#include "excel/excel_status.h"

namespace varnola {

class Sheets;

// Reads the first worksheet of an .xlsx package, found through the workbook part and
// its relationships, into a new sheet of `sheets`.
ExcelStatus ReadXlsx(const std::string& utf8Path, Sheets& sheets);

}  // namespace varnola
