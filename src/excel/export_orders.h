#pragma once

#include "app/seams/frontend.h"

namespace varnola {

class ExcelProgram;
class ExcelWorkbook;

// "导出订单": copies the order table, titles and every row, into a new workbook and saves
// it under the name chosen in the Save-As dialog. Works on a snapshot of the table taken
// at the start, so commands that run meanwhile cannot tear the file.
// True when the workbook was saved.
bool ExportOrders(Frontend& ui, ExcelProgram& program, ExcelWorkbook& workbook);

}  // namespace varnola
