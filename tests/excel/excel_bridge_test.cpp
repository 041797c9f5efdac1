// The bridge operations that export and import drive, on the engine's object model.
#include "excel/excel_bridge.h"

#include <gtest/gtest.h>

#include "excel/excel_test_support.h"
#include "excel/workbook.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

TEST(ExcelBridgeTest, WrittenCellsReadBackAsTextWithTheTextFormat) {
  ExcelProgram program;
  ExcelWorkbook workbook;
  program.Create();
  workbook.Connect(program);
  workbook.SelectSheet(1);

  WriteCell(workbook, "a1", test::L("序号"));
  WriteCell(workbook, "w2", "012345678901234567");
  WriteCell(workbook, "b2", "");
  EXPECT_EQ(ReadCell(workbook, "a1"), test::L("序号"));
  EXPECT_EQ(ReadCell(workbook, "W2"), "012345678901234567");
  EXPECT_EQ(ReadCell(workbook, "b2"), "");
  EXPECT_EQ(ReadCell(workbook, "c3"), "");

  // A range sets every cell of it; reading takes the start address only.
  workbook.SetRange("c1", "d2");
  workbook.SetValue("x");
  EXPECT_EQ(ReadCell(workbook, "d2"), "x");
  workbook.SetRange("e5", "c1");
  EXPECT_EQ(workbook.GetValue(), "");

  const auto sheet = program.Instance()->ActiveWorkbook()->GetSheets()->Item(1);
  ASSERT_TRUE(sheet);
  EXPECT_EQ(sheet->Name(), "Sheet1");
  EXPECT_EQ(sheet->Formats().Code(sheet->Find({2, 23})->format), "@");
  EXPECT_EQ(sheet->Formats().Code(sheet->Find({2, 2})->format), "@");
  EXPECT_EQ(sheet->Find({2, 2})->value.kind, ValueKind::Empty);
}

TEST(ExcelBridgeTest, ComponentsThatHoldNothingDoNothing) {
  ExcelProgram program;
  ExcelWorkbook workbook;
  workbook.Connect(program);  // no instance yet
  WriteCell(workbook, "a1", "x");
  EXPECT_EQ(ReadCell(workbook, "a1"), "");
  EXPECT_EQ(workbook.Open("/nonexistent.xlsx").error(), ExcelError::NotStarted);
  EXPECT_EQ(workbook.SaveAs("/tmp/never.xlsx").error(), ExcelError::NotStarted);
  workbook.CloseAll();
  program.Quit();

  // After a quit the instance has no workbooks: a new connection finds nothing to use.
  program.Create();
  program.Quit();
  workbook.Connect(program);
  WriteCell(workbook, "a1", "x");
  EXPECT_EQ(ReadCell(workbook, "a1"), "");
}

TEST(ExcelBridgeTest, AFailedOpenOrSheetChoiceLeavesTheCurrentSheet) {
  ExcelProgram program;
  ExcelWorkbook workbook;
  program.Create();
  workbook.Connect(program);
  WriteCell(workbook, "a1", "kept");
  EXPECT_EQ(workbook.Open("/nonexistent/orders.xlsx").error(), ExcelError::NotFound);
  workbook.SelectSheet(2);
  workbook.SelectSheet(0);
  EXPECT_EQ(ReadCell(workbook, "a1"), "kept");

  // Creating anew only drops the old instance: the workbook still holds its own.
  program.Create();
  EXPECT_EQ(ReadCell(workbook, "a1"), "kept");
  workbook.Release();
  EXPECT_EQ(ReadCell(workbook, "a1"), "");
}

}  // namespace
}  // namespace varnola
