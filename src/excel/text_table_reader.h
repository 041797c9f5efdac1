#pragma once

#include <string>
#include <string_view>

#include "excel/excel_status.h"

namespace varnola {

class Sheets;
class Worksheet;

// Reads a delimited text file (comma for .csv, tab for .txt) into a new sheet of `sheets`,
// as a spreadsheet program opens one: UTF-8 with or without byte order mark, UTF-16 with
// one, anything else as GB18030; fields may be quoted with '"', doubled inside.
// Every field stays text exactly as written, so long digit strings keep all digits.
ExcelStatus ReadTextTable(const std::string& utf8Path, char delimiter, Sheets& sheets);

// The same for text already in memory and decoded to UTF-8.
ExcelStatus ParseDelimitedText(std::string_view utf8, char delimiter, Worksheet& sheet);

// The file's bytes decoded to UTF-8 by the rules above.
std::string DecodeTextFile(std::string bytes);

}  // namespace varnola
