// Export of the order table and import of the file it wrote: the file is read back by
// the engine's own reader and by an independent one (openpyxl), then imported.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/seams/order_columns.h"
#include "excel/biff8_fixture.h"
#include "excel/excel_test_support.h"
#include "excel/export_orders.h"
#include "excel/workbook.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

// Texts a merchant's table can hold, UTF-8: characters beyond code page 936, long digit
// strings, markup characters, line breaks, spaces at the ends, empty cells, texts that
// look like numbers, dates, formulas or escapes.
std::vector<std::vector<std::string>> SampleRows() {
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < 3; ++i) {
    std::vector<std::string> row;
    for (int j = 0; j < kOrderColumnCount; ++j)
      row.push_back("行" + std::to_string(i) + "列" + std::to_string(j));
    row[0] = std::to_string(i + 1);
    row[22] = "";
    rows.push_back(row);
  }
  rows[0][1] = "201701041234567890";
  rows[0][2] = "张三䶮";
  rows[0][3] = "&<>\"'";
  rows[0][4] = "";
  rows[0][5] = "  前后空格  ";
  rows[0][17] = "\xE3\x80\x80全角空格\xE3\x80\x80";
  rows[0][19] = "13800138000";
  rows[1][1] = "00123";
  rows[1][2] = "𠮷野家";
  rows[1][6] = "2017-01-04 12:30:00";
  rows[1][7] = "a\r\nb\nc\td";
  rows[1][8] = "_x0041_";
  rows[1][9] = "=SUM(A1:A2)";
  rows[1][10] = "1E5";
  rows[2][11] =
      "ctrl\x01"
      "char";
  rows[2][12] = "0.10";
  rows[2][13] = "TRUE";
  return rows;
}

void FillTable(OrderTable& table, const std::vector<std::vector<std::string>>& utf8Rows) {
  for (const auto& row : utf8Rows) {
    std::vector<std::string> local;
    for (const auto& cell : row) local.push_back(L(cell));
    table.AppendFilledRow(local);
  }
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

// What openpyxl finds: sheet names, size, and per cell its type, format and text (UTF-8).
constexpr const char* kOpenpyxlDump = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
print('SHEETS', *wb.sheetnames, sep='\t')
ws = wb.worksheets[0]
print('SIZE', ws.max_row, ws.max_column, sep='\t')
for row in ws.iter_rows():
    for c in row:
        v = c.value
        text = v if isinstance(v, str) else ('' if v is None else repr(v))
        print(c.row, c.column, type(v).__name__, c.number_format, text.encode('utf-8').hex(), sep='\t')
)PY";

// openpyxl undoes the escape of a literal "_xHHHH_" but shows the escapes of control
// characters as they stand in the file.
std::string AsOpenpyxlShowsIt(const std::string& utf8) {
  std::string shown;
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') {
      char escape[8];
      std::snprintf(escape, sizeof escape, "_x%04X_", static_cast<unsigned>(c));
      shown += escape;
    } else {
      shown += c;
    }
  }
  return shown;
}

struct DumpedCell {
  std::string type, format, text;
};

std::map<std::pair<int, int>, DumpedCell> OpenpyxlCells(const std::string& path,
                                                        std::string& sheets, std::string& size) {
  std::map<std::pair<int, int>, DumpedCell> cells;
  std::istringstream lines(test::RunPython(kOpenpyxlDump, {path}));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
    if (fields.empty()) continue;
    if (fields[0] == "SHEETS") {
      sheets = line.substr(7);
    } else if (fields[0] == "SIZE") {
      size = line.substr(5);
    } else if (fields.size() >= 4) {
      cells[{std::stoi(fields[0]), std::stoi(fields[1])}] =
          DumpedCell{fields[2], fields[3], fields.size() > 4 ? FromHex(fields[4]) : ""};
    }
  }
  return cells;
}

TEST(RoundTripTest, ExportedTableReadsBackAsTextEverywhereAndImportsCellForCell) {
  test::TempDir dir;
  test::ExcelHarness exporter;
  const auto rows = SampleRows();
  FillTable(exporter.fake.table, rows);
  const auto original = test::TableCells(exporter.fake.table);

  exporter.Export(L(dir.Path("订单")));  // no extension: ".xlsx" is added
  EXPECT_EQ(exporter.Messages(), std::vector<std::string>{L("导出成功！")});
  const std::string path = dir.Path("订单.xlsx");
  ASSERT_TRUE(test::FileExists(path));
  EXPECT_FALSE(test::FileExists(dir.Path("订单")));

  // The engine's own reader: titles in row 1, each row below, every cell text with "@".
  std::shared_ptr<Workbook> book;
  ASSERT_TRUE(Workbook::Load(path, book).ok());
  const auto sheet = book->GetSheets()->Item(1);
  EXPECT_EQ(sheet->Name(), "Sheet1");
  for (std::size_t r = 0; r < original.size(); ++r) {
    for (std::size_t c = 0; c < original[r].size(); ++c) {
      const Cell* cell =
          sheet->Find({static_cast<std::uint32_t>(r + 1), static_cast<std::uint32_t>(c + 1)});
      ASSERT_NE(cell, nullptr) << r << "," << c;
      EXPECT_EQ(sheet->Formats().Code(cell->format), "@");
      const auto kind = original[r][c].empty() ? ValueKind::Empty : ValueKind::Text;
      EXPECT_EQ(cell->value.kind, kind) << r << "," << c;
      EXPECT_EQ(cell->value.text, LocalToUtf8(original[r][c])) << r << "," << c;
    }
  }

  // The independent reader agrees: one sheet, strings only, "@" on every cell.
  std::string sheets, size;
  const auto dumped = OpenpyxlCells(path, sheets, size);
  EXPECT_EQ(sheets, "Sheet1");
  EXPECT_EQ(size, std::to_string(rows.size() + 1) + "\t23");
  for (std::size_t r = 0; r < original.size(); ++r) {
    for (std::size_t c = 0; c < original[r].size(); ++c) {
      const auto found = dumped.find({static_cast<int>(r + 1), static_cast<int>(c + 1)});
      ASSERT_NE(found, dumped.end()) << r << "," << c;
      const std::string expected = LocalToUtf8(original[r][c]);
      EXPECT_EQ(found->second.format, "@") << r << "," << c;
      EXPECT_EQ(found->second.type, expected.empty() ? "NoneType" : "str") << r << "," << c;
      EXPECT_EQ(found->second.text, AsOpenpyxlShowsIt(expected)) << r << "," << c;
    }
  }

  // Dropped onto a table that holds other rows: exactly the exported rows come back.
  test::ExcelHarness importer;
  FillTable(importer.fake.table, {{"old"}, {"older"}, {"oldest"}, {"gone"}});
  importer.Import(L(path));
  EXPECT_EQ(importer.Messages(), std::vector<std::string>{L("你已经成功导入了3行数据！")});
  EXPECT_EQ(test::TableCells(importer.fake.table), original);
}

// 𠮷 has no form in code page 936: local text carries it in four bytes, the file system
// sees its UTF-8 form. Each reader opens the file its own way (zip, plain, the .xls child).
TEST(RoundTripTest, FilesNamedWithCharactersBeyondCodePage936ExportAndImport) {
  test::TempDir dir;
  const std::string folder = dir.Path("客户𠮷");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  const std::string xlsx = folder + "/订单𠮷.xlsx";

  test::ExcelHarness exporter;
  FillTable(exporter.fake.table, SampleRows());
  exporter.Export(L(xlsx));
  ASSERT_EQ(exporter.Messages(), std::vector<std::string>{L("导出成功！")});
  EXPECT_TRUE(test::FileExists(xlsx));
  test::ExcelHarness importer;
  importer.Import(L(xlsx));
  EXPECT_EQ(importer.Messages(), std::vector<std::string>{L("你已经成功导入了3行数据！")});
  EXPECT_EQ(test::TableCells(importer.fake.table), test::TableCells(exporter.fake.table));

  using Kind = test::BiffCell::Kind;
  test::WriteFile(folder + "/订单𠮷.csv", "序号,订单号\n1,𠮷野家\n");
  test::WriteFile(folder + "/订单𠮷.xls", test::Biff8Workbook({{0, 0, Kind::Text, "序号"},
                                                               {0, 1, Kind::Text, "订单号"},
                                                               {1, 0, Kind::Text, "1"},
                                                               {1, 1, Kind::Text, "𠮷野家"}}));
  for (const char* name : {"/订单𠮷.csv", "/订单𠮷.xls"}) {
    test::ExcelHarness harness;
    harness.Import(L(folder + name));
    EXPECT_EQ(harness.Messages(), std::vector<std::string>{L("你已经成功导入了1行数据！")}) << name;
    ASSERT_EQ(harness.fake.table.RowCount(), 1) << name;
    EXPECT_EQ(harness.fake.table.CellText(0, 1), L("𠮷野家")) << name;
  }
}

TEST(RoundTripTest, AnEmptyTableGivesAnEmptySheetAndImportsNoRows) {
  test::TempDir dir;
  test::ExcelHarness exporter;
  exporter.Export(L(dir.Path("empty.xlsx")));
  EXPECT_EQ(exporter.Messages(), std::vector<std::string>{L("导出成功！")});

  std::string sheets, size;
  const auto dumped = OpenpyxlCells(dir.Path("empty.xlsx"), sheets, size);
  EXPECT_EQ(sheets, "Sheet1");
  for (const auto& [position, cell] : dumped) EXPECT_EQ(cell.type, "NoneType");

  test::ExcelHarness importer;
  FillTable(importer.fake.table, {{"1"}});
  importer.Import(L(dir.Path("empty.xlsx")));
  EXPECT_EQ(importer.Messages(), std::vector<std::string>{L("你已经成功导入了0行数据！")});
  EXPECT_EQ(importer.fake.table.RowCount(), 0);
  EXPECT_EQ(importer.fake.table.ColumnCount(), kOrderColumnCount);
}

TEST(RoundTripTest, ColumnsBeyondZAreExportedToo) {
  test::TempDir dir;
  test::ExcelHarness harness;
  for (int k = kOrderColumnCount; k < 30; ++k) {
    harness.fake.table.AppendColumn(L("列") + std::to_string(k), 100, Alignment::Centre);
  }
  std::vector<std::string> row(30);
  for (int k = 0; k < 30; ++k) row[k] = std::to_string(k + 1);
  harness.fake.table.AppendFilledRow(row);
  harness.Export(L(dir.Path("wide.xlsx")));
  ASSERT_EQ(harness.Messages(), std::vector<std::string>{L("导出成功！")});

  std::shared_ptr<Workbook> book;
  ASSERT_TRUE(Workbook::Load(dir.Path("wide.xlsx"), book).ok());
  const auto sheet = book->GetSheets()->Item(1);
  ASSERT_NE(sheet->Find({1, 30}), nullptr);  // AD1
  EXPECT_EQ(sheet->Find({1, 30})->value.text, "列29");
  EXPECT_EQ(sheet->Find({2, 30})->value.text, "30");
}

TEST(RoundTripTest, ExportWritesTheTableAsItWasWhenItStarted) {
  test::TempDir dir;
  test::ExcelHarness harness;
  FillTable(harness.fake.table, SampleRows());
  const auto original = test::TableCells(harness.fake.table);
  // Another command clears the table while the export lets the window handle events.
  harness.fake.window.onProcessEvents = [&] { harness.fake.table.DeleteAllRows(); };
  harness.Export(L(dir.Path("snapshot.xlsx")));
  harness.fake.window.onProcessEvents = nullptr;
  ASSERT_EQ(harness.fake.table.RowCount(), 0);

  harness.Import(L(dir.Path("snapshot.xlsx")));
  EXPECT_EQ(test::TableCells(harness.fake.table), original);
}

}  // namespace
}  // namespace varnola
