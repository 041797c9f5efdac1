#pragma once

#include <string>

#include "excel/excel_status.h"

namespace varnola {

class Sheets;

// Reads the first worksheet of a BIFF .xls file into a new sheet of `sheets`.
ExcelStatus ReadXls(const std::string& utf8Path, Sheets& sheets);

}  // namespace varnola
