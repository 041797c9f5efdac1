#pragma once

#include <string>

#include "excel/excel_status.h"

namespace varnola {

class Sheets;

// The path with ".xlsx" appended when its file name has no extension.
std::string WithDefaultExtension(std::string utf8Path);

// Writes the sheets as an .xlsx file at the UTF-8 path. The file is written under a
// temporary name in the target folder and renamed into place once complete, so a failed
// save leaves any existing file untouched.
ExcelStatus SaveXlsx(const Sheets& sheets, const std::string& utf8Path);

// Spreadsheet programs read "_xHHHH_" in a text as an escaped character; a text that
// holds such a sequence literally gets its underscore escaped, so it reads back as is.
std::string EscapeLiteralEscapes(const std::string& utf8);

}  // namespace varnola
