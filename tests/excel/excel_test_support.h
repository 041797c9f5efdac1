#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"
#include "excel/excel_bridge.h"
#include "support/fake_frontend.h"

namespace varnola::test {

// Everything export and import touch: the fakes of the window and the two Excel components.
struct ExcelHarness {
  FakeFrontend fake;
  Frontend ui = fake.Get();
  ExcelProgram program;
  ExcelWorkbook workbook;

  void Export(const std::optional<std::string>& localPath);
  void Import(const std::string& droppedLocalText);
  std::vector<std::string> Messages() const { return fake.messageBox.Texts(); }
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// A zip archive with the given entries, in order, compressed.
void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& entries);

// A Python prelude for scripts that build hostile packages: one_sheet_package(path, main,
// rel) opens a zip with a workbook part and its relationships naming one sheet,
// "xl/worksheets/sheet1.xml", which the script then writes as it likes.
inline const std::string kOneSheetPackage = R"PY(
import sys, zipfile
def one_sheet_package(path, main, rel):
    z = zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED, compresslevel=1)
    z.writestr('xl/workbook.xml', '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="S" '
               'sheetId="1" r:id="rId1"/></sheets></workbook>' % (main, rel))
    z.writestr('xl/_rels/workbook.xml.rels', '<Relationships xmlns="http://schemas.openxml'
               'formats.org/package/2006/relationships"><Relationship Id="rId1" Type="%s/'
               'worksheet" Target="worksheets/sheet1.xml"/></Relationships>' % rel)
    return z
)PY";

// Runs a script with the system's python (the one that has openpyxl) and returns what it
// printed; the test fails when the script does.
std::string RunPython(const std::string& script, const std::vector<std::string>& arguments);

// The table as texts, titles first.
std::vector<std::vector<std::string>> TableCells(const OrderTable& table);

}  // namespace varnola::test
