#include "support/sim_order_cells.h"
#include "reliability/reliability_support.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include <gtest/gtest.h>

#include "app/seams/order_columns.h"
#include "http/encodings.h"
#include "reliability/child_process.h"

namespace varnola::test {
namespace {

// Prints, for each file named, a line "file" and then each row of its first sheet as
// hexadecimal UTF-8 cells joined by tabs, so that no text inside a cell can be taken for
// a separator.
constexpr const char* kDumpFirstSheets = R"py(
import sys, openpyxl
for path in sys.argv[1:]:
    print("file")
    sheet = openpyxl.load_workbook(path).worksheets[0]
    if sheet.max_row == 1 and sheet.max_column == 1 and sheet.cell(1, 1).value is None:
        continue
    for row in sheet.iter_rows(values_only=True):
        print("\t".join(("" if v is None else str(v)).encode("utf-8").hex() for v in row))
)py";

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::vector<std::string> LocalCells(const std::vector<std::string>& utf8) {
  std::vector<std::string> local;
  for (const std::string& text : utf8) local.push_back(Utf8ToLocal(text));
  return local;
}

}  // namespace

void WriteTextFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  EXPECT_TRUE(out.good()) << path;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<Cells> ReadWorkbooks(const std::vector<std::string>& paths) {
  TempDir folder;
  const std::string script = folder.Path("dump.py");
  WriteTextFile(script, kDumpFirstSheets);
  ProcessSpec spec;
  spec.argv = {"/usr/bin/python3", script};
  spec.argv.insert(spec.argv.end(), paths.begin(), paths.end());
  spec.environment = SanitizerEnvironment();
  const ProcessResult run = RunProcess(spec);
  EXPECT_EQ(run.exitCode, 0) << "openpyxl cannot read the workbooks:\n" << run.err;

  std::vector<Cells> workbooks;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    if (line == "file") {
      workbooks.emplace_back();
      continue;
    }
    if (workbooks.empty()) break;
    std::vector<std::string> row;
    std::size_t start = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', start);
      row.push_back(Utf8ToLocal(FromHex(line.substr(start, tab - start))));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    workbooks.back().push_back(std::move(row));
  }
  EXPECT_EQ(workbooks.size(), paths.size());
  workbooks.resize(paths.size());
  return workbooks;
}

Cells ReadWorkbook(const std::string& path) {
  return ReadWorkbooks({path}).front();
}

Cells TableCells(const TableSnapshot& table) {
  Cells cells;
  if (table.rows.empty()) return cells;  // the export writes no header without rows
  cells.push_back(table.titles);
  cells.insert(cells.end(), table.rows.begin(), table.rows.end());
  return cells;
}

std::vector<std::string> ListedCells(const sim::SimOrder& order) {
  const std::vector<std::string> cells = OrderCellsUtf8(order);
  return LocalCells({cells.begin(), cells.begin() + 8});
}

std::vector<std::string> DetailCells(const sim::SimOrder& order) {
  const std::vector<std::string> cells = OrderCellsUtf8(order);
  return LocalCells({cells.begin() + 8, cells.end()});
}

bool HasDetails(const std::vector<std::string>& row) {
  for (int column = kColumnFirstDetail; column < kColumnFirstDetail + kDetailFieldCount; ++column) {
    if (column < static_cast<int>(row.size()) && !row[column].empty()) return true;
  }
  return false;
}

std::string RowProblem(const std::vector<std::string>& row, const sim::SimData& data) {
  if (row.size() < static_cast<std::size_t>(kOrderColumnCount)) {
    return "has " + std::to_string(row.size()) + " cells";
  }
  const std::string& id = row[kColumnOrderId];
  const bool numeric =
      !id.empty() && id.size() < 10 && id.find_first_not_of("0123456789") == std::string::npos;
  const sim::SimOrder* order = numeric ? data.FindOrder(std::stoi(id)) : nullptr;
  if (order == nullptr) return "holds no known order id (\"" + LocalToUtf8(id) + "\")";

  const std::vector<std::string> listed(row.begin() + 1, row.begin() + kColumnFirstDetail);
  if (listed != ListedCells(*order)) return "columns 1..8 are not those of order " + id;
  const auto detailsBegin = row.begin() + kColumnFirstDetail;
  const std::vector<std::string> details(detailsBegin, detailsBegin + kDetailFieldCount);
  if (HasDetails(row) && details != DetailCells(*order)) {
    return "columns 9..21 are half written or belong to another order than " + id;
  }
  return {};
}

std::string TableProblems(const std::vector<std::vector<std::string>>& rows,
                          const sim::SimData& data) {
  std::string problems;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string problem = RowProblem(rows[i], data);
    if (!problem.empty()) problems += "row " + std::to_string(i) + " " + problem + "\n";
  }
  return problems;
}

}  // namespace varnola::test
