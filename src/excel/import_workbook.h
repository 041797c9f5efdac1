#pragma once

#include <string>
#include <vector>

#include "app/seams/frontend.h"

namespace varnola {

class ExcelProgram;
class ExcelWorkbook;

// Replaces the order table's rows by the rows of the dropped workbook's first sheet:
// row 1 gives the width (up to the first blank title, at most 26 columns), the rows below
// are appended by position until the first blank row. The table is cleared only once
// the file has opened; a file that cannot be read leaves the table as it was and says why.
// True when the workbook was read.
bool ImportWorkbook(Frontend& ui, ExcelProgram& program, ExcelWorkbook& workbook,
                    const std::string& droppedText);

// The paths of a drop: one path, or several each followed by "\r\n".
std::vector<std::string> DroppedPaths(const std::string& droppedText);

}  // namespace varnola
