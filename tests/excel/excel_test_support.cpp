#include "excel/excel_test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <zip.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "excel/export_orders.h"
#include "excel/import_workbook.h"

namespace varnola::test {

void ExcelHarness::Export(const std::optional<std::string>& localPath) {
  fake.saveDialog.answers.push_back(localPath);
  ExportOrders(ui, program, workbook);
}

void ExcelHarness::Import(const std::string& droppedLocalText) {
  ImportWorkbook(ui, program, workbook, droppedLocalText);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& path) {
  return std::filesystem::exists(path);
}

void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr) << "zip_open " << error;
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    ASSERT_NE(source, nullptr);
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << name;
  }
  ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

std::string RunPython(const std::string& script, const std::vector<std::string>& arguments) {
  TempDir dir;
  const std::string scriptPath = dir.Path("script.py");
  WriteFile(scriptPath, script);
  std::string command = "/usr/bin/python3 '" + scriptPath + "'";
  for (const auto& argument : arguments) command += " '" + argument + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::string output;
  std::array<char, 4096> buffer{};
  while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
    output.append(buffer.data(), got);
  }
  const int status = ::pclose(pipe);
  EXPECT_EQ(status, 0) << command << "\n" << output;
  return output;
}

std::vector<std::vector<std::string>> TableCells(const OrderTable& table) {
  const TableSnapshot snapshot = table.Snapshot();
  std::vector<std::vector<std::string>> cells{snapshot.titles};
  cells.insert(cells.end(), snapshot.rows.begin(), snapshot.rows.end());
  return cells;
}

}  // namespace varnola::test
