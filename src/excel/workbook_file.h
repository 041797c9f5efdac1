#pragma once

#include <string>

#include "excel/excel_status.h"

namespace varnola {

class Sheets;

// Reads the first worksheet of a file into `sheets`. The kind of file is told by its
// first bytes (a zip package or a compound document), text files by their extension.
ExcelStatus ReadWorkbookFile(const std::string& utf8Path, Sheets& sheets);

}  // namespace varnola
