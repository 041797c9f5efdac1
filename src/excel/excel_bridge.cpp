#include "excel/excel_bridge.h"

#include <algorithm>

#include "excel/workbook.h"
#include "http/encodings.h"
#include "http/local_text.h"

namespace varnola {
namespace {

// Local text as the engine keeps it; most cells are plain ASCII, which needs no conversion.
std::string EngineText(const std::string& local) {
  for (const char c : local) {
    if (static_cast<unsigned char>(c) >= 0x80) return LocalToUtf8(local);
  }
  return local;
}

}  // namespace

bool ExcelProgram::Create() {
  // The previous instance is only dropped: whatever still refers to it keeps it alive.
  m_application = std::make_shared<Application>();
  return true;
}

void ExcelProgram::Quit() {
  if (m_application) m_application->Quit();
}

void ExcelProgram::Release() {
  m_application.reset();
}

void ExcelWorkbook::Connect(const ExcelProgram& program) {
  Release();
  const auto& application = program.Instance();
  if (!application) return;
  m_workbooks = application->GetWorkbooks();
  if (!m_workbooks) return;
  m_workbooks->Add();
  m_book = application->ActiveWorkbook();
  m_sheets = m_book->GetSheets();
  m_sheet = m_sheets->Item(1);
}

ExcelStatus ExcelWorkbook::Open(const std::string& path) {
  if (!m_workbooks) return ExcelStatus(ExcelError::NotStarted);
  std::shared_ptr<Workbook> opened;
  const ExcelStatus status = m_workbooks->Open(path, opened);
  if (!status.ok()) return status;
  m_book = std::move(opened);
  m_sheets = m_book->GetSheets();
  m_sheet = m_sheets->Item(1);
  return status;
}

void ExcelWorkbook::SelectSheet(int index) {
  if (!m_sheets) return;
  if (auto sheet = m_sheets->Item(index)) m_sheet = std::move(sheet);
}

void ExcelWorkbook::SetRange(const std::string& start, const std::string& end) {
  m_startCell = start;
  m_endCell = end;
  m_range = {};
  if (!m_sheet) return;
  const auto first = ParseCellReference(start);
  const auto last = start == end ? first : ParseCellReference(end);
  if (!first || !last) return;
  const CellPosition topLeft{std::min(first->row, last->row),
                             std::min(first->column, last->column)};
  const CellPosition bottomRight{std::max(first->row, last->row),
                                 std::max(first->column, last->column)};
  m_range = {m_sheet, {topLeft, bottomRight}};
}

void ExcelWorkbook::SetNumberFormat(const std::string& format) {
  if (m_range.sheet) m_range.sheet->SetNumberFormat(m_range.area, EngineText(format));
}

void ExcelWorkbook::SetValue(const std::string& text) {
  if (!m_range.sheet) return;
  // An empty text leaves the cell empty, as a spreadsheet program stores it.
  m_range.sheet->SetValue(m_range.area,
                          text.empty() ? CellValue{} : CellValue::FromText(EngineText(text)));
}

std::string ExcelWorkbook::GetValue() const {
  if (!m_sheet || m_startCell.empty()) return {};
  const auto position = ParseCellReference(m_startCell);
  if (!position) return {};
  const Cell* cell = m_sheet->Find(*position);
  return cell ? Utf8ToLocal(ValueToText(cell->value)) : std::string();
}

ExcelStatus ExcelWorkbook::SaveAs(const std::string& path) {
  if (!m_sheet || !m_book) return ExcelStatus(ExcelError::NotStarted);
  return m_book->SaveAs(path);
}

void ExcelWorkbook::CloseAll() {
  if (m_workbooks) m_workbooks->Close();
}

void ExcelWorkbook::Release() {
  m_workbooks.reset();
  m_book.reset();
  m_sheets.reset();
  m_sheet.reset();
  m_range = {};
  m_startCell.clear();
  m_endCell.clear();
}

void CloseAndQuit(ExcelProgram& program, ExcelWorkbook& workbook) {
  workbook.CloseAll();
  workbook.Release();
  program.Quit();
  program.Release();
}

void WriteCell(ExcelWorkbook& workbook, const std::string& address, const std::string& text) {
  workbook.SetRange(address, address);
  workbook.SetNumberFormat("@");
  workbook.SetValue(text);
}

std::string ReadCell(ExcelWorkbook& workbook, const std::string& address) {
  workbook.SetRange(address, address);
  return workbook.GetValue();
}

std::string CellAddress(int column, int row) {
  if (column < 1 || row < 1) return {};
  std::string letters;
  for (int rest = column; rest > 0; rest = (rest - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('a' + (rest - 1) % 26));
  }
  return letters + std::to_string(row);
}

bool IsBlank(std::string_view text) {
  return RemoveSpaces(text).empty();
}

}  // namespace varnola
