// Files made to hurt the reader: cut at any byte, sheets of a million cells in an order
// no writer uses, cells that repeat a position, and every input the fuzzers found or
// start from.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "excel/biff8_fixture.h"
#include "excel/excel_test_support.h"
#include "excel/workbook.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::vector<std::pair<std::string, std::string>> OneSheetPackage(const std::string& sheetData) {
  return {
      {"xl/workbook.xml", std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRel +
                              "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>"
                              "</sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                   "relationships\"><Relationship Id=\"rId1\" Type=\"") +
           kRel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml", std::string("<worksheet xmlns=\"") + kMain + "\"><sheetData>" +
                                       sheetData + "</sheetData></worksheet>"},
  };
}

std::string InlineCell(const std::string& reference, const std::string& text) {
  return "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}

std::string ImportedMessage(int rows) {
  return L("你已经成功导入了" + std::to_string(rows) + "行数据！");
}

TEST(HostileFilesTest, AWorkbookCutAtAnyByteIsRefusedAndTheTableKept) {
  test::TempDir dir;
  test::ExcelHarness exporter;
  exporter.fake.table.AppendFilledRow({"1", L("订单一"), "201701041234567890"});
  exporter.Export(L(dir.Path("whole.xlsx")));
  ASSERT_EQ(exporter.Messages(), std::vector<std::string>{L("导出成功！")});
  const std::string whole = test::ReadFile(dir.Path("whole.xlsx"));
  ASSERT_GT(whole.size(), 1000u);

  // Every length short of the whole: inside the first entry, between entries, inside the
  // central directory and inside its closing record.
  for (std::size_t length = 0; length < whole.size(); length += (length < 64 ? 1 : 37)) {
    test::WriteFile(dir.Path("cut.xlsx"), whole.substr(0, length));
    test::ExcelHarness harness;
    harness.fake.table.AppendFilledRow({"7", L("原有的订单")});
    const auto before = test::TableCells(harness.fake.table);
    harness.Import(L(dir.Path("cut.xlsx")));
    // Too short to tell what it is, or recognisably a cut archive.
    const ExcelError reason = length < 4 ? ExcelError::NotAWorkbook : ExcelError::Damaged;
    EXPECT_EQ(harness.Messages(),
              std::vector<std::string>{L("导入失败！") + ExcelStatus(reason).Reason()})
        << length;
    EXPECT_EQ(test::TableCells(harness.fake.table), before) << length;
  }
}

// 26 columns of 38,462 rows: 1,000,012 cells, below the two million a sheet may bring,
// written bottom row first and each row right to left, imported whole.
const std::string kMillionCells = test::kOneSheetPackage + R"PY(
path, main, rel = sys.argv[1], sys.argv[2], sys.argv[3]
rows, letters = 38462, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ'
with one_sheet_package(path, main, rel) as z:
    with z.open('xl/worksheets/sheet1.xml', 'w') as f:
        f.write(('<worksheet xmlns="%s"><sheetData>' % main).encode())
        for r in range(rows, 0, -1):
            cells = ''.join('<c r="%s%d" t="inlineStr"><is><t>%s%d</t></is></c>' % (c, r, c, r)
                            for c in reversed(letters))
            f.write(('<row r="%d">%s</row>' % (r, cells)).encode())
        f.write(b'</sheetData></worksheet>')
)PY";

TEST(HostileFilesTest, AMillionCellsInReverseOrderImportInSheetOrder) {
  test::TempDir dir;
  const std::string path = dir.Path("million.xlsx");
  test::RunPython(kMillionCells, {path, kMain, kRel});

  test::ExcelHarness harness;
  harness.Import(L(path));
  ASSERT_EQ(harness.Messages(), std::vector<std::string>{ImportedMessage(38461)});
  const TableSnapshot table = harness.fake.table.Snapshot();
  ASSERT_EQ(table.rows.size(), 38461u);
  for (const std::size_t row : {std::size_t{0}, std::size_t{19230}, std::size_t{38460}}) {
    const std::string number = std::to_string(row + 2);
    ASSERT_EQ(table.rows[row].size(), 23u);  // the table's own columns; X to Z have none
    EXPECT_EQ(table.rows[row][0], "A" + number) << row;
    EXPECT_EQ(table.rows[row][22], "W" + number) << row;
  }
}

// A million rows of one cell each, bottom row first: placed one at a time in sorted
// storage, each new row would move every row behind it, some 5 * 10^11 moves.
const std::string kMillionRows = test::kOneSheetPackage + R"PY(
path, main, rel = sys.argv[1], sys.argv[2], sys.argv[3]
with one_sheet_package(path, main, rel) as z:
    with z.open('xl/worksheets/sheet1.xml', 'w') as f:
        f.write(('<worksheet xmlns="%s"><sheetData>' % main).encode())
        for r in range(1000000, 0, -1):
            f.write(('<row r="%d"><c r="A%d"><v>%d</v></c></row>' % (r, r, r)).encode())
        f.write(b'</sheetData></worksheet>')
)PY";

TEST(HostileFilesTest, AMillionRowsInReverseOrderReadInSheetOrder) {
  test::TempDir dir;
  const std::string path = dir.Path("rows.xlsx");
  test::RunPython(kMillionRows, {path, kMain, kRel});

  std::shared_ptr<Workbook> book;
  ASSERT_TRUE(Workbook::Load(path, book).ok());
  const auto sheet = book->GetSheets()->Item(1);
  EXPECT_EQ(sheet->CellCount(), 1'000'000u);
  ASSERT_EQ(sheet->Rows().size(), 1'000'000u);
  for (const std::uint32_t row : {1u, 2u, 500'000u, 1'000'000u}) {
    EXPECT_EQ(sheet->Rows()[row - 1].number, row);
    const Cell* cell = sheet->Find({row, 1});
    ASSERT_NE(cell, nullptr) << row;
    EXPECT_EQ(cell->value.number, row);
  }
}

TEST(HostileFilesTest, CellsInAnyOrderLandInPlaceAndARepeatedPositionKeepsTheLastValue) {
  test::TempDir dir;
  const std::string path = dir.Path("shuffled.xlsx");
  test::WriteZip(
      path, OneSheetPackage("<row r=\"3\">" + InlineCell("B3", "b3") + InlineCell("A3", "a3") +
                            "</row><row r=\"1\">" + InlineCell("A1", "title") +
                            InlineCell("B1", "second") + "</row><row r=\"2\">" +
                            InlineCell("B2", "old") + InlineCell("A2", "a2") + "</row>" +
                            "<row r=\"2\">" + InlineCell("B2", "new") + "</row>" + "<row r=\"4\">" +
                            InlineCell("A4", "a4") + InlineCell("A4", "a4 again") + "</row>"));
  test::ExcelHarness harness;
  harness.Import(L(path));
  EXPECT_EQ(harness.Messages(), std::vector<std::string>{ImportedMessage(3)});
  std::vector<std::vector<std::string>> firstTwo;
  for (const auto& row : harness.fake.table.Snapshot().rows) firstTwo.push_back({row[0], row[1]});
  EXPECT_EQ(firstTwo,
            (std::vector<std::vector<std::string>>{{"a2", "new"}, {"a3", "b3"}, {"a4 again", ""}}));
}

// The .xls library counts a date out day by day from 1900: a date cell two billion days
// on keeps it busy for seconds, fifty of them for minutes. The reader's child is stopped
// at its time limit and the file refused.
TEST(HostileFilesTest, AnOldWorkbookThatKeepsTheLibraryBusyIsRefusedAndTheTableKept) {
  using Kind = test::BiffCell::Kind;
  std::vector<test::BiffCell> cells{{0, 0, Kind::Text, "序号"}};
  for (std::uint16_t row = 1; row <= 50; ++row) cells.push_back({row, 0, Kind::Date, "", 2e9});
  test::TempDir dir;
  test::WriteFile(dir.Path("slow.xls"), test::Biff8Workbook(cells));

  test::ExcelHarness harness;
  harness.fake.table.AppendFilledRow({"7", L("原有的订单")});
  const auto before = test::TableCells(harness.fake.table);
  harness.Import(L(dir.Path("slow.xls")));
  EXPECT_EQ(harness.Messages(),
            std::vector<std::string>{L("导入失败！") + ExcelStatus(ExcelError::Damaged).Reason()});
  EXPECT_EQ(test::TableCells(harness.fake.table), before);
}

// Each input here once crashed, hung or exhausted a reader, or is a seed the fuzzers
// start from; every one must end in a table or a reason, never take the process down.
TEST(HostileFilesTest, EveryFuzzInputOfTheWorkbookReadersEndsInATableOrAReason) {
  struct Folder {
    const char* target;
    const char* fileName;  // empty: the input's first byte chooses .csv (even) or .txt
  };
  const Folder folders[] = {
      {"xlsx_reader", "input.xlsx"}, {"xls_reader", "input.xls"}, {"text_table", ""}};
  const std::filesystem::path corpus = VARNOLA_FUZZ_CORPUS_DIR;
  int files = 0;
  for (const Folder& folder : folders) {
    for (const auto& entry : std::filesystem::directory_iterator(corpus / folder.target)) {
      std::string bytes = test::ReadFile(entry.path().string());
      std::string name = folder.fileName;
      if (name.empty()) {
        if (bytes.empty()) continue;
        name = (bytes[0] & 1) ? "input.txt" : "input.csv";
        bytes.erase(0, 1);
      }
      test::TempDir dir;
      test::WriteFile(dir.Path(name), bytes);
      test::ExcelHarness harness;
      harness.fake.table.AppendFilledRow({"7", L("原有的订单")});
      const auto before = test::TableCells(harness.fake.table);
      harness.Import(L(dir.Path(name)));
      ++files;

      const auto messages = harness.Messages();
      ASSERT_EQ(messages.size(), 1u) << entry.path();
      const bool failed = messages[0].starts_with(L("导入失败！"));
      EXPECT_TRUE(failed || messages[0].starts_with(L("你已经成功导入了"))) << entry.path();
      if (failed) {
        EXPECT_EQ(test::TableCells(harness.fake.table), before) << entry.path();
      }
    }
  }
  EXPECT_GE(files, 8);
}

}  // namespace
}  // namespace varnola
