#pragma once

#include <memory>
#include <string>
#include <vector>

#include "excel/excel_status.h"
#include "excel/worksheet.h"

namespace varnola {

// The sheets of one workbook, in the workbook's order; items count from 1.
class Sheets {
 public:
  explicit Sheets(std::shared_ptr<NumberFormats> formats) : m_formats(std::move(formats)) {}

  std::shared_ptr<Worksheet> Item(int index) const;
  int Count() const { return static_cast<int>(m_sheets.size()); }
  Worksheet& Add(std::string name);

 private:
  std::shared_ptr<NumberFormats> m_formats;
  std::vector<std::shared_ptr<Worksheet>> m_sheets;
};

class Workbook {
 public:
  Workbook();

  // A new workbook as a spreadsheet program makes one: a single empty sheet "Sheet1".
  static std::shared_ptr<Workbook> CreateNew();

  // Reads the first worksheet of a .xlsx, .xls, .csv or .txt file; the path is UTF-8.
  static ExcelStatus Load(const std::string& utf8Path, std::shared_ptr<Workbook>& book);

  const std::shared_ptr<Sheets>& GetSheets() const { return m_sheets; }
  const std::string& FullName() const { return m_fullName; }

  // Saves every sheet as .xlsx; the path is local text, ".xlsx" is added when it has no
  // extension. An existing file is replaced only by a completely written one.
  ExcelStatus SaveAs(const std::string& localPath);

 private:
  std::shared_ptr<NumberFormats> m_formats;
  std::shared_ptr<Sheets> m_sheets;
  std::string m_fullName;  // UTF-8
};

// The open workbooks of one engine instance; the last added or opened is the active one.
class Workbooks {
 public:
  std::shared_ptr<Workbook> Add();
  // Opens a file given as local text; nothing changes on failure.
  ExcelStatus Open(const std::string& localPath, std::shared_ptr<Workbook>& opened);
  // Closes every workbook without saving.
  void Close();
  std::shared_ptr<Workbook> Active() const;

 private:
  std::vector<std::shared_ptr<Workbook>> m_books;
};

// One engine instance: the stand-in for the spreadsheet program that export and import
// drive. It never shows anything and never asks anything.
class Application {
 public:
  Application() : m_workbooks(std::make_shared<Workbooks>()) {}

  // Empty once the instance has quit.
  std::shared_ptr<Workbooks> GetWorkbooks() const { return m_workbooks; }
  std::shared_ptr<Workbook> ActiveWorkbook() const;
  void Quit();

 private:
  std::shared_ptr<Workbooks> m_workbooks;
};

}  // namespace varnola
