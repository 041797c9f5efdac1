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

// A window whose event handling runs `whileHandlingEvents` once, at its n-th pass.
class EventfulWindow final : public MainWindowOps {
 public:
  std::function<void()> whileHandlingEvents;
  int atPass = 1;

  std::string AccountText() override { return {}; }
  std::string PasswordText() override { return {}; }
  void SetCaption(const std::string&) override {}
  void SetLabelText(Label, const std::string&) override {}
  std::string LabelText(Label) override { return {}; }
  void SetPicture(const ByteBuffer&) override {}
  void SetProgress(int) override {}
  void EnableButton(Button) override {}
  void ProcessEvents() override {
    if (++m_passes == atPass && whileHandlingEvents) whileHandlingEvents();
  }

 private:
  int m_passes = 0;
};

// One command's own table, window and dialogs.
struct CommandUi {
  MemoryOrderTable table;
  EventfulWindow window;
  test::RecordingAnnouncer announcer;
  test::RecordingMessageBox messageBox;
  test::ScriptedSaveDialog saveDialog;

  Frontend Get() { return Frontend{table, window, announcer, messageBox, saveDialog}; }
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
  importRun.window.atPass = 30;  // past the 23 titles, a few rows in
  importRun.window.whileHandlingEvents = [&] {
    exportRun.table.AppendFilledRow(importRun.table.Snapshot().rows.front());
    Frontend ui = exportRun.Get();
    commands.ExportOrders(ui);
  };
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
    outer.window.atPass = 40;  // in the second row
    outer.window.whileHandlingEvents = [&] { c.inner(commands, inner); };
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
