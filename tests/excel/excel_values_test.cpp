// The small conversions the engine and the bridge rest on: the text a value shows, cell
// addresses and references, date formats, escapes and package part names.
#include <gtest/gtest.h>

#include "excel/cell_value.h"
#include "excel/excel_bridge.h"
#include "excel/number_format.h"
#include "excel/xlsx_writer.h"
#include "excel/xml_text.h"
#include "excel/zip_package.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

TEST(ExcelValuesTest, NumbersShowTheirShortestRoundTripForm) {
  const struct {
    double number;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {42, "42"},
      {123456789012345.0, "123456789012345"},  // 15 digits stay plain
      {1e15, "1E+15"},
      {123456789012345678.0, "1.2345678901234568E+17"},
      {0.1, "0.1"},
      {-2.5, "-2.5"},
      {0.1 + 0.2, "0.30000000000000004"},
      {0.0001, "0.0001"},
      {1e-7, "1E-07"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberText(c.number), c.text) << c.number;
}

TEST(ExcelValuesTest, DatesShowDateAndTimeAsThePlatformConversionDoes) {
  const struct {
    double serial;
    const char* text;
  } cases[] = {
      {42739, "2017/1/4"},
      {42739.5, "2017/1/4 12:00:00"},
      {42739 + (9 * 3600 + 5 * 60 + 7) / 86400.0, "2017/1/4 9:05:07"},
      {42739.9999999, "2017/1/5"},  // rounds to the second
      {0.75, "18:00:00"},           // a bare time
      {1, "1900/1/1"},
      {59, "1900/2/28"},
      {60, "1900/2/29"},  // the day the 1900 date system counts although it never was
      {61, "1900/3/1"},
      {2958465, "9999/12/31"},
      {-1, ""},
      {2958466, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DateText(c.serial), c.text) << c.serial;
  EXPECT_EQ(DateSerial(2017, 1, 4), 42739);
  EXPECT_EQ(DateSerial(1900, 2, 28), 59);
  EXPECT_EQ(DateSerial(1900, 2, 29), 60);
  EXPECT_EQ(DateSerial(1900, 3, 1), 61);
  EXPECT_LT(DateSerial(2017, 2, 30), 0);
  EXPECT_EQ(ValueToText(CellValue::FromBoolean(true)), "True");
  EXPECT_EQ(ValueToText(CellValue::FromBoolean(false)), "False");
  EXPECT_EQ(ValueToText(CellValue::FromDate(-5)), "-5");
}

TEST(ExcelValuesTest, CellAddressesAndReferences) {
  EXPECT_EQ(CellAddress(1, 1), "a1");
  EXPECT_EQ(CellAddress(23, 2), "w2");
  EXPECT_EQ(CellAddress(3, 15), "c15");
  EXPECT_EQ(CellAddress(26, 1), "z1");
  EXPECT_EQ(CellAddress(27, 1), "aa1");
  EXPECT_EQ(CellAddress(0, 1), "");

  const struct {
    const char* text;
    std::uint32_t row, column;  // 0 when not a reference
  } cases[] = {
      {"A1", 1, 1},
      {"w2", 2, 23},
      {"$C$3", 3, 3},
      {"AB12", 12, 28},
      {"XFD1048576", 1048576, 16384},
      {"A0", 0, 0},
      {"A01", 0, 0},
      {"1A", 0, 0},
      {"XFE1", 0, 0},
      {"A1048577", 0, 0},
      {"AAAA1", 0, 0},
      {"", 0, 0},
      {"a1:b2", 0, 0},
  };
  for (const auto& c : cases) {
    const auto position = ParseCellReference(c.text);
    EXPECT_EQ(position.has_value(), c.row != 0) << c.text;
    if (position) {
      EXPECT_EQ(position->row, c.row) << c.text;
      EXPECT_EQ(position->column, c.column) << c.text;
    }
  }
}

TEST(ExcelValuesTest, BlankMeansOnlyHalfAndFullWidthSpaces) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("   "));
  EXPECT_TRUE(IsBlank(test::L("　 　")));
  EXPECT_FALSE(IsBlank("\t"));
  EXPECT_FALSE(IsBlank(test::L(" 序号 ")));
}

TEST(ExcelValuesTest, DateFormatsAreToldByTheirCodes) {
  for (const char* code : {"yyyy/m/d", "m/d/yy h:mm", "[h]:mm:ss", "yyyy\"年\"m\"月\"d\"日\"",
                           "[$-804]yyyy-mm-dd", "mm:ss"}) {
    EXPECT_TRUE(IsDateFormatCode(code)) << code;
  }
  for (const char* code : {"General", "@", "0.00", "#,##0", "[Red]0.00", "0.00E+00", "\"day\"0",
                           "\\d0", "0;[Red]yyyy"}) {
    EXPECT_FALSE(IsDateFormatCode(code)) << code;
  }
  EXPECT_TRUE(IsBuiltInDateFormat(14));
  EXPECT_TRUE(IsBuiltInDateFormat(22));
  EXPECT_FALSE(IsBuiltInDateFormat(49));
}

TEST(ExcelValuesTest, EscapedCharactersDecodeAndLiteralEscapesSurvive) {
  EXPECT_EQ(DecodeEscapes("a_x000D_b"), "a\rb");
  EXPECT_EQ(DecodeEscapes("_xD842__xDFB7_"), "𠮷");
  EXPECT_EQ(DecodeEscapes("_xD842_x"), "\xEF\xBF\xBDx");  // a lone surrogate
  EXPECT_EQ(DecodeEscapes("_x00G1_ _x41_"), "_x00G1_ _x41_");
  for (const char* literal : {"_x0041_", "a__x0041__b", "_x005F_", "_x"}) {
    EXPECT_EQ(DecodeEscapes(EscapeLiteralEscapes(literal)), literal);
  }
}

TEST(ExcelValuesTest, PackagePartNamesAndSaveNames) {
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "worksheets/sheet1.xml"),
            "xl/worksheets/sheet1.xml");
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "/xl/worksheets/sheet2.xml"),
            "xl/worksheets/sheet2.xml");
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "../docProps/app.xml"), "docProps/app.xml");
  EXPECT_EQ(ResolvePartName("", "xl/workbook.xml"), "xl/workbook.xml");
  EXPECT_EQ(RelationshipsPartOf("xl/workbook.xml"), "xl/_rels/workbook.xml.rels");
  EXPECT_EQ(RelationshipsPartOf(""), "_rels/.rels");

  EXPECT_EQ(WithDefaultExtension("/home/a/订单"), "/home/a/订单.xlsx");
  EXPECT_EQ(WithDefaultExtension("/home/a/订单.xlsx"), "/home/a/订单.xlsx");
  EXPECT_EQ(WithDefaultExtension("/home/a.b/订单"), "/home/a.b/订单.xlsx");
  EXPECT_EQ(WithDefaultExtension("/home/a/.orders"), "/home/a/.orders.xlsx");
}

}  // namespace
}  // namespace varnola
