#include "app/main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include "app/order_menu.h"
#include "support/local_literal.h"
#include "window_test_support.h"

namespace varnola {
namespace {

using test::L;

struct MainWindowCommandsFixture : ::testing::Test {
  test::RecordingAnnouncer announcer;
  test::RecordingCommands commands;
  MainWindow window{commands, announcer};
  QtOrderTable& table = window.Table();

  void SetUp() override {
    window.show();
    window.move(0, 0);  // leaves room for the menu on the small offscreen screen
  }

  void FillRows(int count) {
    for (int i = 0; i < count; ++i) table.AppendFilledRow({}, RowNumbering::InFirstColumn);
  }

  // A right click on the table at `pos` (viewport coordinates), as the mouse gives it.
  void RightClickTable(QPoint pos) {
    QWidget* viewport = table.View()->viewport();
    QTest::mousePress(viewport, Qt::RightButton, {}, pos);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, pos);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
    QCoreApplication::sendEvent(viewport, &menuEvent);
  }

  QPoint RowCentre(int row) {
    return table.View()->visualRect(table.Model()->index(row, 1)).center();
  }

  void Click(const char* formName) {
    auto* button = window.findChild<QPushButton*>(QString::fromUtf8(formName));
    button->setEnabled(true);
    button->click();
  }

  std::vector<std::string> Ran() {
    std::vector<std::string> names;
    for (const auto& run : commands.Runs()) names.push_back(run.what);
    return names;
  }
};

TEST_F(MainWindowCommandsFixture, RightClickOnARowSelectsItAndDeleteKeepsTheOtherNumbers) {
  FillRows(3);
  const QPoint pos = RowCentre(1);
  RightClickTable(pos);

  OrderMenu& menu = window.Menu();
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(menu.pos(), table.View()->viewport()->mapToGlobal(pos) + QPoint(3, 3));
  EXPECT_EQ(table.SelectedRow(), 1);

  menu.deleteRow->trigger();
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.CellText(0, 0), "1");
  EXPECT_EQ(table.CellText(1, 0), "3");
  menu.deleteRow->trigger();  // the deleted row took the selection with it
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_TRUE(announcer.Texts().empty());
}

TEST_F(MainWindowCommandsFixture, OnAnEmptyTableDeleteDoesNothingAndClearKeepsTheColumns) {
  RightClickTable({20, 20});
  EXPECT_TRUE(window.Menu().isVisible());
  window.Menu().deleteRow->trigger();
  EXPECT_EQ(table.RowCount(), 0);

  FillRows(4);
  window.Menu().deleteRow->trigger();  // no row selected: -1, nothing deleted
  EXPECT_EQ(table.RowCount(), 4);
  window.Menu().clearRows->trigger();
  EXPECT_EQ(table.RowCount(), 0);
  EXPECT_EQ(table.ColumnCount(), 23);
}

TEST_F(MainWindowCommandsFixture, HintItemsShowTheirMessageBoxAndChangeNothing) {
  FillRows(2);
  const struct {
    QAction* item;
    QString text;
  } cases[] = {{window.Menu().importHint, QStringLiteral("直接将Excel表格拖到软件中")},
               {window.Menu().ship, QStringLiteral("开发中...")}};
  for (const auto& c : cases) {
    test::SeenMessageBox seen;
    test::CloseNextMessageBox(&window, seen);
    c.item->trigger();  // returns once the box is closed
    ASSERT_TRUE(seen.seen) << c.text.toStdString();
    EXPECT_EQ(seen.caption, QStringLiteral("信息："));
    EXPECT_EQ(seen.text, c.text);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_FALSE(seen.hasOwner);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
  }
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_TRUE(commands.Runs().empty());
}

TEST_F(MainWindowCommandsFixture, ExportAndTrackingRunAtOnceOnTheUiThread) {
  window.Menu().exportOrders->trigger();
  window.Menu().trackParcel->trigger();
  const auto runs = commands.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].what, "export");
  EXPECT_EQ(runs[1].what, "track");
  EXPECT_TRUE(runs[0].onUiThread && runs[1].onUiThread);
}

// Sends a drag over the window and, when it was taken, the drop; returns whether the
// window took the drag.
bool DragAndDrop(QWidget& window, QMimeData& data) {
  const QPoint at(500, 300);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &drop);
  return drop.isAccepted();
}

TEST_F(MainWindowCommandsFixture, DroppedFilesBecomeOneImportText) {
  QMimeData one;
  one.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/店主/订单 1.xlsx"))});
  ASSERT_TRUE(DragAndDrop(window, one));
  QMimeData two;
  two.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.xlsx")),
               QUrl::fromLocalFile(QStringLiteral("/tmp/b.xls"))});
  ASSERT_TRUE(DragAndDrop(window, two));

  ASSERT_TRUE(test::ServeEventsUntil([&] { return commands.Count() == 2; }));
  const auto runs = commands.Runs();
  EXPECT_EQ(runs[0].what, "import " + L("/home/店主/订单 1.xlsx"));
  EXPECT_EQ(runs[1].what, "import /tmp/a.xlsx\r\n/tmp/b.xls\r\n");
  EXPECT_TRUE(runs[0].onUiThread && runs[1].onUiThread);
}

TEST_F(MainWindowCommandsFixture, DragsOfAnythingButLocalFilesAreRefused) {
  QMimeData text;
  text.setText(QStringLiteral("选中的文字"));
  QMimeData html;
  html.setHtml(QStringLiteral("<b>订单</b>"));
  QMimeData link;
  link.setUrls({QUrl(QStringLiteral("http://example.com/orders.xlsx"))});
  QMimeData mixed;
  mixed.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.xlsx")),
                 QUrl(QStringLiteral("http://example.com/b.xlsx"))});
  for (QMimeData* data : {&text, &html, &link, &mixed}) EXPECT_FALSE(DragAndDrop(window, *data));

  // Even a drop that arrives without an accepted drag is not taken.
  QDropEvent drop(QPoint(500, 300), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &drop);
  QCoreApplication::processEvents();
  EXPECT_TRUE(commands.Runs().empty());
}

// Lets a command wait until the test opens the gate.
class Gate {
 public:
  void Open() {
    std::lock_guard lock(m_mutex);
    m_open = true;
    m_changed.notify_all();
  }
  void Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_open; });
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_open = false;
};

TEST_F(MainWindowCommandsFixture, OrderCommandsAndImportsRunOneAfterAnotherInClickOrder) {
  Gate firstMayEnd;
  std::atomic<bool> firstStarted{false};
  commands.duringListOrders = [&](Frontend& ui) {
    if (firstStarted.exchange(true)) return;
    ui.table.AppendRow();  // a worker still reaches the table while others wait
    firstMayEnd.Wait();
  };

  Click("按钮3");                      // worker
  Click("按钮2");                      // UI thread
  Click("按钮6");                      // worker
  window.FilesDropped("/tmp/a.xlsx");  // UI thread
  Click("按钮4");                      // worker
  Click("按钮1");                      // sign-in does not queue: it runs at once

  ASSERT_TRUE(test::ServeEventsUntil([&] { return table.RowCount() == 1; }));
  EXPECT_EQ(Ran(), std::vector<std::string>{"sign in"});
  EXPECT_EQ(window.Queue().WaitingCount(), 4);

  firstMayEnd.Open();
  ASSERT_TRUE(test::ServeEventsUntil([&] { return commands.Count() == 6; }));
  window.Shutdown();
  EXPECT_EQ(Ran(), (std::vector<std::string>{"sign in", "list 10", "list 0", "details",
                                             "import /tmp/a.xlsx", "list 20"}));
  const auto runs = commands.Runs();
  const std::vector<bool> onUi = {runs[1].onUiThread, runs[2].onUiThread, runs[3].onUiThread,
                                  runs[4].onUiThread, runs[5].onUiThread};
  EXPECT_EQ(onUi, (std::vector<bool>{false, true, false, true, false}));
}

TEST_F(MainWindowCommandsFixture, ClosingWhileATaskRunsNeitherHangsNorCrashes) {
  Gate exchangeCancelled;
  int cancels = 0;
  window.SetCancelExchangesHook([&] {
    ++cancels;
    exchangeCancelled.Open();
  });
  std::atomic<int> appendAfterClose{0};
  commands.duringListOrders = [&](Frontend& ui) {
    for (int i = 0; i < 5; ++i) {
      const int row = ui.table.AppendRow();
      ui.table.SetCellText(row, 0, std::to_string(row + 1));
      ui.window.ProcessEvents();
    }
    exchangeCancelled.Wait();  // a network exchange that only the exit cancels
    appendAfterClose = ui.table.AppendRow();
    ui.window.SetProgress(50);
    ui.messageBox.Show(L("不会显示"));
  };

  Click("按钮4");
  Click("按钮5");  // waits for its turn, and is dropped at the close
  ASSERT_TRUE(test::ServeEventsUntil([&] { return table.RowCount() == 5; }));
  window.close();
  window.Shutdown();

  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(window.Tasks().RunningCount(), 0);
  EXPECT_EQ(appendAfterClose.load(), -1);
  EXPECT_EQ(Ran(), std::vector<std::string>{"list 20"});
  EXPECT_EQ(table.RowCount(), 5);
}

}  // namespace
}  // namespace varnola
