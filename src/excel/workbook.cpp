#include "excel/workbook.h"

#include "excel/workbook_file.h"
#include "excel/xlsx_writer.h"
#include "http/encodings.h"

namespace varnola {

std::shared_ptr<Worksheet> Sheets::Item(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return m_sheets[static_cast<std::size_t>(index - 1)];
}

Worksheet& Sheets::Add(std::string name) {
  m_sheets.push_back(std::make_shared<Worksheet>(std::move(name), m_formats));
  return *m_sheets.back();
}

Workbook::Workbook()
    : m_formats(std::make_shared<NumberFormats>()), m_sheets(std::make_shared<Sheets>(m_formats)) {}

std::shared_ptr<Workbook> Workbook::CreateNew() {
  auto book = std::make_shared<Workbook>();
  book->m_sheets->Add("Sheet1");
  return book;
}

ExcelStatus Workbook::Load(const std::string& utf8Path, std::shared_ptr<Workbook>& book) {
  auto loaded = std::make_shared<Workbook>();
  const ExcelStatus status = ReadWorkbookFile(utf8Path, *loaded->m_sheets);
  if (!status.ok()) return status;
  if (loaded->m_sheets->Count() == 0) loaded->m_sheets->Add("Sheet1");
  loaded->m_fullName = utf8Path;
  book = std::move(loaded);
  return status;
}

ExcelStatus Workbook::SaveAs(const std::string& localPath) {
  std::string path = WithDefaultExtension(LocalToUtf8(localPath));
  const ExcelStatus status = SaveXlsx(*m_sheets, path);
  if (status.ok()) m_fullName = std::move(path);
  return status;
}

std::shared_ptr<Workbook> Workbooks::Add() {
  m_books.push_back(Workbook::CreateNew());
  return m_books.back();
}

ExcelStatus Workbooks::Open(const std::string& localPath, std::shared_ptr<Workbook>& opened) {
  std::shared_ptr<Workbook> book;
  const ExcelStatus status = Workbook::Load(LocalToUtf8(localPath), book);
  if (!status.ok()) return status;
  m_books.push_back(book);
  opened = std::move(book);
  return status;
}

void Workbooks::Close() {
  m_books.clear();
}

std::shared_ptr<Workbook> Workbooks::Active() const {
  return m_books.empty() ? nullptr : m_books.back();
}

std::shared_ptr<Workbook> Application::ActiveWorkbook() const {
  return m_workbooks ? m_workbooks->Active() : nullptr;
}

void Application::Quit() {
  if (m_workbooks) m_workbooks->Close();
  m_workbooks.reset();
}

}  // namespace varnola
