#include "excel/import_workbook.h"

#include "excel/excel_bridge.h"
#include "http/encodings.h"
#include "http/local_text.h"

namespace varnola {
namespace {

constexpr int kMaxImportColumns = 26;

// The number of titles in row 1 before the first blank one.
int HeaderWidth(Frontend& ui, ExcelWorkbook& workbook) {
  int width = 0;
  for (int k = 1; k <= kMaxImportColumns; ++k) {
    ui.window.ProcessEvents();
    if (IsBlank(ReadCell(workbook, CellAddress(k, 1)))) break;
    width = k;
  }
  return width;
}

int ImportRows(Frontend& ui, ExcelWorkbook& workbook, int width) {
  int imported = 0;
  std::vector<std::string> cells;
  for (int r = 2;; ++r) {
    ui.window.ProcessEvents();
    cells.clear();
    std::string joined;
    for (int k = 1; k <= width; ++k) {
      cells.push_back(ReadCell(workbook, CellAddress(k, r)));
      joined += cells.back();
    }
    if (IsBlank(joined)) break;
    if (ui.table.AppendFilledRow(cells) >= 0) ++imported;
  }
  return imported;
}

}  // namespace

std::vector<std::string> DroppedPaths(const std::string& droppedText) {
  std::vector<std::string> paths;
  for (auto& piece : SplitText(droppedText, "\r\n")) {
    if (!piece.empty()) paths.push_back(std::move(piece));
  }
  return paths;
}

bool ImportWorkbook(Frontend& ui, ExcelProgram& program, ExcelWorkbook& workbook,
                    const std::string& droppedText) {
  program.Create();
  workbook.Connect(program);
  const auto paths = DroppedPaths(droppedText);
  const ExcelStatus opened =
      paths.size() == 1
          ? workbook.Open(paths.front())
          : ExcelStatus(paths.empty() ? ExcelError::NotFound : ExcelError::SeveralFiles);
  if (!opened.ok()) {
    ui.messageBox.Show(Utf8ToLocal("导入失败！") + opened.Reason());
    CloseAndQuit(program, workbook);
    return false;
  }

  ui.table.DeleteAllRows();  // the columns stay as they are
  workbook.SelectSheet(1);
  const int width = HeaderWidth(ui, workbook);
  const int rows = ImportRows(ui, workbook, width);
  ui.messageBox.Show(Utf8ToLocal("你已经成功导入了") + std::to_string(rows) +
                     Utf8ToLocal("行数据！"));
  CloseAndQuit(program, workbook);
  return true;
}

}  // namespace varnola
