#include "excel/export_orders.h"

#include "excel/excel_bridge.h"
#include "http/encodings.h"

namespace varnola {

bool ExportOrders(Frontend& ui, ExcelProgram& program, ExcelWorkbook& workbook) {
  TableSnapshot table = ui.table.Snapshot();

  program.Create();
  workbook.Connect(program);
  workbook.SelectSheet(1);

  // The header row goes out with every data row (the same titles each time), and not at
  // all when the table has no rows.
  const std::string empty;
  for (std::size_t i = 1; i <= table.rows.size(); ++i) {
    ui.window.ProcessEvents();
    const std::vector<std::string>& row = table.rows[i - 1];
    const int columnCount = static_cast<int>(table.titles.size());
    for (int j = 1; j <= columnCount; ++j) {
      ui.window.ProcessEvents();
      const auto column = static_cast<std::size_t>(j - 1);
      WriteCell(workbook, CellAddress(j, 1), table.titles[column]);
      WriteCell(workbook, CellAddress(j, static_cast<int>(i) + 1),
                column < row.size() ? row[column] : empty);
    }
    std::vector<std::string>().swap(table.rows[i - 1]);  // written: its memory can go
  }

  const auto path = ui.saveDialog.AskSavePath();
  if (!path) {
    // Nothing is saved and nothing said; the filled workbook is not kept for later.
    CloseAndQuit(program, workbook);
    return false;
  }
  const ExcelStatus saved = workbook.SaveAs(*path);
  ui.messageBox.Show(saved.ok() ? Utf8ToLocal("导出成功！")
                                : Utf8ToLocal("导出失败！") + saved.Reason());
  CloseAndQuit(program, workbook);
  return saved.ok();
}

}  // namespace varnola
