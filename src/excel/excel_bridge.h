#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "excel/excel_status.h"
#include "excel/worksheet.h"

namespace varnola {

class Application;
class Sheets;
class Workbook;
class Workbooks;

// One instance of the workbook engine, as the main window holds it from its creation to
// its destruction and as export and import share it.
class ExcelProgram {
 public:
  // Drops any previous instance and starts a new, invisible one.
  bool Create();
  void Quit();
  void Release();

  const std::shared_ptr<Application>& Instance() const { return m_application; }

 private:
  std::shared_ptr<Application> m_application;
};

// The workbook, sheet and cell range being worked on. Texts are local text. Operations
// on a component that holds nothing do nothing; `GetValue` then gives an empty text.
class ExcelWorkbook {
 public:
  // Adds a new empty workbook to the program's instance; its first sheet becomes current.
  void Connect(const ExcelProgram& program);
  // Opens a file; on success its first worksheet becomes current, else nothing changes.
  ExcelStatus Open(const std::string& path);
  void SelectSheet(int index);
  void SetRange(const std::string& start, const std::string& end);
  void SetNumberFormat(const std::string& format);
  void SetValue(const std::string& text);
  // The text of the cell at the range's start address in the current sheet.
  std::string GetValue() const;
  // Saves the workbook of the current sheet.
  ExcelStatus SaveAs(const std::string& path);
  // Closes every workbook of the instance without saving.
  void CloseAll();
  // Drops every reference; closes nothing.
  void Release();

 private:
  struct Range {
    std::shared_ptr<Worksheet> sheet;
    CellArea area;
  };

  std::shared_ptr<Workbooks> m_workbooks;
  std::shared_ptr<Workbook> m_book;  // the workbook the current sheets belong to
  std::shared_ptr<Sheets> m_sheets;
  std::shared_ptr<Worksheet> m_sheet;
  Range m_range;
  std::string m_startCell;
  std::string m_endCell;
};

// How export and import end: every workbook closed and released, the instance quit and
// released.
void CloseAndQuit(ExcelProgram& program, ExcelWorkbook& workbook);

// Sets the text format "@" on one cell, then its text.
void WriteCell(ExcelWorkbook& workbook, const std::string& address, const std::string& text);

// The text of one cell.
std::string ReadCell(ExcelWorkbook& workbook, const std::string& address);

// "a1", "w2", "c15": the column as lowercase letters ("z" is 26, "aa" 27), then the row.
// Empty for a column or row below 1.
std::string CellAddress(int column, int row);

// True when nothing is left after removing every half-width and full-width space.
bool IsBlank(std::string_view text);

}  // namespace varnola
