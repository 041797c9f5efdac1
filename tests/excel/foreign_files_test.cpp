// Import of files that other programs made: the first sheet by the workbook's own order,
// values that are not text, rich text, the quirks of other writers, text files and .xls.
#include <gtest/gtest.h>

#include "app/seams/order_columns.h"
#include "excel/biff8_fixture.h"
#include "excel/excel_test_support.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;
using Rows = std::vector<std::vector<std::string>>;

// Imports the file and returns the table's rows, as UTF-8 and cut to `width` columns.
Rows ImportedRows(test::ExcelHarness& harness, const std::string& path, std::size_t width) {
  harness.Import(L(path));
  Rows rows;
  for (const auto& row : harness.fake.table.Snapshot().rows) {
    std::vector<std::string> cells;
    for (std::size_t c = 0; c < width && c < row.size(); ++c) cells.push_back(LocalToUtf8(row[c]));
    rows.push_back(cells);
  }
  return rows;
}

std::string ImportMessage(std::size_t rows) {
  return L("你已经成功导入了" + std::to_string(rows) + "行数据！");
}

TEST(ForeignFilesTest, WorkbookWrittenByOpenpyxlWithNumbersDatesAndBooleans) {
  test::TempDir dir;
  const std::string path = dir.Path("openpyxl.xlsx");
  test::RunPython(R"PY(
import sys, datetime, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = '订单'
ws.append(['序号', '订单号', '金额', '日期', '时间', '已付', '备注'])
ws.append([1, 201701041234, 12.5, datetime.date(2017, 1, 4),
           datetime.datetime(2017, 1, 4, 9, 5, 7), True, '中文'])
ws.append([2, '00123', 0.1, datetime.datetime(2016, 12, 31), datetime.time(18, 0), False, None])
ws.append([])
ws.append([3, 'after the blank row'])
wb.create_sheet('Other').append(['not', 'this', 'sheet'])
wb.save(sys.argv[1])
)PY",
                  {path});
  test::ExcelHarness harness;
  EXPECT_EQ(ImportedRows(harness, path, 8),
            (Rows{{"1", "201701041234", "12.5", "2017/1/4", "2017/1/4 9:05:07", "True", "中文", ""},
                  {"2", "00123", "0.1", "2016/12/31", "18:00:00", "False", "", ""}}));
  EXPECT_EQ(harness.Messages(), std::vector<std::string>{ImportMessage(2)});
}

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A package as other writers make them: the first sheet is rId2 with an absolute target,
// a prefixed namespace, rows and cells without references, rich text with phonetic runs,
// inline strings, the 1904 date system, a cell far to the right.
std::vector<std::pair<std::string, std::string>> QuirkyPackage() {
  const std::string rels =
      std::string(R"(<?xml version="1.0" encoding="UTF-8"?>)") +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  return {
      {"_rels/.rels", rels + "<Relationship Id=\"rId1\" Type=\"" + kRel +
                          "/officeDocument\" Target=\"/xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml",
       std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRel +
           "\"><workbookPr date1904=\"true\"/><sheets><sheet name=\"First\" sheetId=\"2\" "
           "r:id=\"rId2\"/><sheet name=\"Second\" sheetId=\"1\" "
           "r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       rels + "<Relationship Id=\"rId1\" Type=\"" + kRel +
           "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
           kRel +
           "/worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/><Relationship Id=\"rId3\" Type=\"" +
           kRel + "/styles\" Target=\"styles.xml\"/><Relationship Id=\"rId4\" Type=\"" + kRel +
           "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
      {"xl/sharedStrings.xml",
       std::string("<sst xmlns=\"") + kMain +
           "\"><si><t>序号</t></si><si><r><rPr><b/></rPr><t>订</t></r><r><t "
           "xml:space=\"preserve\">单 号"
           "</t></r><rPh sb=\"0\" eb=\"1\"><t>ディン</t></rPh><phoneticPr fontId=\"1\"/></si>"
           "<si><t>名称</t></si><si><t>日期</t></si></sst>"},
      {"xl/styles.xml",
       std::string("<styleSheet xmlns=\"") + kMain +
           "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" "
           "formatCode=\"yyyy&quot;年&quot;m&quot;月"
           "&quot;\"/></numFmts><cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs><cellXfs>"
           "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf "
           "numFmtId=\"22\"/></cellXfs></styleSheet>"},
      {"xl/worksheets/sheet1.xml",
       std::string("<worksheet xmlns=\"") + kMain +
           "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>wrong sheet</t></is></c>"
           "</row></sheetData></worksheet>"},
      {"xl/worksheets/sheet2.xml",
       std::string("<x:worksheet xmlns:x=\"") + kMain +
           "\"><x:sheetData>"
           "<x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c><x:c t=\"s\"><x:v>2</x:v></x:c>"
           "<x:c r=\"C1\" t=\"inlineStr\"><x:is><x:t>内联</x:t></x:is></x:c>"
           "<x:c t=\"s\"><x:v>3</x:v></x:c></x:row>"
           "<x:row><x:c><x:v>42</x:v></x:c><x:c t=\"s\"><x:v>1</x:v></x:c>"
           "<x:c t=\"inlineStr\"><x:is><x:r><x:t>甲</x:t></x:r><x:r><x:t>乙</x:t></x:r>"
           "<x:rPh><x:t>コウ</x:t></x:rPh></x:is></x:c><x:c s=\"1\"><x:v>0</x:v></x:c></x:row>"
           "<x:row r=\"3\"><x:c r=\"A3\" t=\"e\"><x:v>#N/A</x:v></x:c>"
           "<x:c r=\"B3\" t=\"str\"><x:f>A1</x:f><x:v>公式</x:v></x:c>"
           "<x:c r=\"C3\" t=\"b\"><x:v>1</x:v></x:c><x:c r=\"D3\" s=\"2\"><x:v>1.5</x:v></x:c>"
           "<x:c r=\"AMJ3\"><x:v>9</x:v></x:c></x:row>"
           "<x:row r=\"5\"><x:c r=\"A5\" t=\"inlineStr\"><x:is><x:t>after the "
           "gap</x:t></x:is></x:c>"
           "</x:row></x:sheetData></x:worksheet>"},
  };
}

TEST(ForeignFilesTest, PackageQuirksOfOtherWriters) {
  test::TempDir dir;
  const std::string path = dir.Path("quirks.xlsx");
  test::WriteZip(path, QuirkyPackage());
  test::ExcelHarness harness;
  EXPECT_EQ(ImportedRows(harness, path, 5),
            (Rows{{"42", "订单 号", "甲乙", "1904/1/1", ""},
                  {"#N/A", "公式", "True", "1904/1/2 12:00:00", ""}}));
  EXPECT_EQ(harness.Messages(), std::vector<std::string>{ImportMessage(2)});
}

TEST(ForeignFilesTest, TextFilesInTheirEncodings) {
  // Header width 2 (C1 is empty); quoted fields with separators, line breaks and quotes;
  // a row of half- and full-width spaces ends the import.
  const std::string csv =
      "序号,订单号,,备注\r\n1,\"12,345\",x,ignored\r\n2,\"多行\n文本\",,\r\n\"3\","
      "\"说\"\"好\"\"的\"\r\n"
      "\xE3\x80\x80, ,,\r\n4,after\r\n";
  const std::string tabbed =
      "序号\t订单号\t\t备注\r\n1\t\"12,345\"\tx\tignored\r\n2\t\"多行\n文本\"\t\t\r\n\"3\"\t"
      "\"说\"\"好\"\"的\"\r\n\xE3\x80\x80\t \t\t\r\n4\tafter\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char16_t unit : ToWideText(tabbed, kCodePageUtf8)) {
    utf16 += static_cast<char>(unit & 0xFF);
    utf16 += static_cast<char>(unit >> 8);
  }
  const Rows expected{{"1", "12,345", ""}, {"2", "多行\n文本", ""}, {"3", "说\"好\"的", ""}};
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"utf8.csv", csv},       {"bom.csv", "\xEF\xBB\xBF" + csv},
      {"gb18030.csv", L(csv)}, {"tabs.txt", tabbed},
      {"utf16.txt", utf16},
  };
  for (const auto& file : files) {
    test::TempDir dir;
    test::WriteFile(dir.Path(file.name), file.bytes);
    test::ExcelHarness harness;
    EXPECT_EQ(ImportedRows(harness, dir.Path(file.name), 3), expected) << file.name;
    EXPECT_EQ(harness.Messages(), std::vector<std::string>{ImportMessage(3)}) << file.name;
  }
}

TEST(ForeignFilesTest, HeaderWidthStopsAtTwentySixColumns) {
  std::string header, values;
  for (int k = 1; k <= 30; ++k) {
    header += (k > 1 ? "," : "") + std::string("T") + std::to_string(k);
    values += (k > 1 ? "," : "") + std::to_string(k);
  }
  test::TempDir dir;
  test::WriteFile(dir.Path("wide.csv"), header + "\n" + values + "\n");
  test::ExcelHarness harness;
  for (int k = kOrderColumnCount; k < 30; ++k) {
    harness.fake.table.AppendColumn("extra", 100, Alignment::Centre);
  }
  const Rows rows = ImportedRows(harness, dir.Path("wide.csv"), 30);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][25], "26");
  EXPECT_EQ(rows[0][26], "");
  EXPECT_EQ(harness.fake.table.ColumnCount(), 30);
}

TEST(ForeignFilesTest, BiffWorkbook) {
  using Kind = test::BiffCell::Kind;
  const std::vector<test::BiffCell> cells{
      {0, 0, Kind::Text, "序号"},
      {0, 1, Kind::Text, "订单号"},
      {0, 2, Kind::Text, "金额"},
      {0, 3, Kind::Text, "日期"},
      {0, 4, Kind::Text, "𠮷"},
      {1, 0, Kind::Integer, "", 1},
      {1, 1, Kind::Text, "201701041234567890"},
      {1, 2, Kind::Number, "", 12.5},
      {1, 3, Kind::Date, "", 42739},
      {1, 4, Kind::Text, "中文䶮"},
      {2, 0, Kind::Integer, "", 2},
      {2, 1, Kind::Text, "00123"},
      {2, 2, Kind::Number, "", 0.1},
      {2, 3, Kind::DateTime, "", 42739.5},
  };
  test::TempDir dir;
  test::WriteFile(dir.Path("old.xls"), test::Biff8Workbook(cells));
  test::ExcelHarness harness;
  EXPECT_EQ(ImportedRows(harness, dir.Path("old.xls"), 6),
            (Rows{{"1", "201701041234567890", "12.5", "2017/1/4", "中文䶮", ""},
                  {"2", "00123", "0.1", "2017/1/4 12:00:00", "", ""}}));
  EXPECT_EQ(harness.Messages(), std::vector<std::string>{ImportMessage(2)});
}

}  // namespace
}  // namespace varnola
