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

// Runs a script with the system's python (the one that has openpyxl) and returns what it
// printed; the test fails when the script does.
std::string RunPython(const std::string& script, const std::vector<std::string>& arguments);

// The table as texts, titles first.
std::vector<std::vector<std::string>> TableCells(const OrderTable& table);

}  // namespace varnola::test
