// Export and import through the window's commands when the window starts the other one
// while handling its events between two cells, as a merchant's click or drop can.

#include "app/core_commands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/seams/order_columns.h"
#include "support/fake_frontend.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

using test::L;

// Runs `action` once, at the n-th time the window is asked to handle its events.
std::function<void()> AtPass(int n, std::function<void()> action) {
  return [n, action = std::move(action), passes = 0]() mutable {
    if (++passes == n) action();
  };
}

// One command's own table, window and dialogs.
struct CommandUi : test::FakeFrontend {
  std::string LastMessage() const {
    const auto texts = messageBox.Texts();
    return texts.empty() ? std::string() : texts.back();
  }
};

class CoreCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "commands-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  std::string PathOf(const char* name) const { return (m_folder / name).string(); }

  static void Fill(OrderTable& table, int rows, const std::string& tag) {
    for (int i = 0; i < rows; ++i) {
      std::vector<std::string> cells(kOrderColumnCount);
      for (int c = 1; c < kOrderColumnCount; ++c) {
        cells[c] = tag + std::to_string(i) + L("列") + std::to_string(c);
      }
      table.AppendFilledRow(cells, RowNumbering::InFirstColumn);
    }
  }

  // Exports `rows` rows tagged `tag` to `path` with nothing in between.
  void WriteWorkbook(const std::string& path, int rows, const std::string& tag) {
    CommandUi run;
    Fill(run.table, rows, tag);
    run.saveDialog.answers.push_back(path);
    Frontend ui = run.Get();
    commands.ExportOrders(ui);
    ASSERT_EQ(run.LastMessage(), L("导出成功！"));
  }

  // The rows of a workbook, read back by an import of its own.
  std::vector<std::vector<std::string>> ReadBack(const std::string& path) {
    CommandUi run;
    Frontend ui = run.Get();
    commands.ImportWorkbook(ui, path);
    return run.table.Snapshot().rows;
  }

  CoreCommands commands{AppConfig{}};

 private:
  std::filesystem::path m_folder;
};

TEST_F(CoreCommandsTest, AnExportStartedDuringAnImportLeavesTheImportWhole) {
  const std::string source = PathOf("source.xlsx");
  WriteWorkbook(source, 30, "a");

  CommandUi importRun;
  CommandUi exportRun;
  exportRun.saveDialog.answers.push_back(PathOf("during-import.xlsx"));
  // Past the 23 titles, a few rows in.
  importRun.window.onProcessEvents = AtPass(30, [&] {
    exportRun.table.AppendFilledRow(importRun.table.Snapshot().rows.front());
    Frontend ui = exportRun.Get();
    commands.ExportOrders(ui);
  });
  Frontend ui = importRun.Get();
  commands.ImportWorkbook(ui, source);

  EXPECT_EQ(importRun.LastMessage(), L("你已经成功导入了30行数据！"));
  ASSERT_EQ(importRun.table.RowCount(), 30);
  EXPECT_EQ(importRun.table.Snapshot().rows, ReadBack(source));
  EXPECT_EQ(exportRun.LastMessage(), L("导出成功！"));
  EXPECT_EQ(ReadBack(PathOf("during-import.xlsx")).size(), 1u);
}

TEST_F(CoreCommandsTest, AnImportOrSecondExportStartedDuringAnExportLeavesTheExportWhole) {
  const std::string source = PathOf("source.xlsx");
  WriteWorkbook(source, 30, "a");
  const struct {
    const char* what;
    std::function<void(CoreCommands&, CommandUi&)> inner;
  } cases[] = {
      {"import",
       [&](CoreCommands& c, CommandUi& inner) {
         Frontend ui = inner.Get();
         c.ImportWorkbook(ui, source);
       }},
      {"second export",
       [&](CoreCommands& c, CommandUi& inner) {
         Fill(inner.table, 3, "c");
         inner.saveDialog.answers.push_back(PathOf("second.xlsx"));
         Frontend ui = inner.Get();
         c.ExportOrders(ui);
       }},
  };
  for (const auto& c : cases) {
    CommandUi outer;
    CommandUi inner;
    Fill(outer.table, 12, "b");
    const auto exported = outer.table.Snapshot().rows;
    outer.saveDialog.answers.push_back(PathOf("outer.xlsx"));
    // In the second row.
    outer.window.onProcessEvents = AtPass(40, [&] { c.inner(commands, inner); });
    Frontend ui = outer.Get();
    commands.ExportOrders(ui);

    ASSERT_EQ(outer.LastMessage(), L("导出成功！")) << c.what;
    EXPECT_EQ(ReadBack(PathOf("outer.xlsx")), exported) << c.what;
    // The inner command ran to its end, and well.
    EXPECT_NE(inner.LastMessage().find(L("成功")), std::string::npos) << c.what;
  }
}

}  // namespace
}  // namespace varnola
