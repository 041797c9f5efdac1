#include "app/main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <QBuffer>
#include <QDeadlineTimer>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

#include "app/order_menu.h"
#include "app/seams/order_columns.h"
#include "app/tab_control.h"
#include "http/encodings.h"
#include "support/local_literal.h"
#include "window_test_support.h"

namespace varnola {
namespace {

const QColor kBlack(0, 0, 0), kGreen(0, 128, 0), kRed(255, 0, 0);

struct MainWindowFixture : ::testing::Test {
  test::RecordingAnnouncer announcer;
  test::RecordingCommands commands;
  MainWindow window{commands, announcer};

  template <typename T = QWidget>
  T* Find(const char* formName) {
    return window.findChild<T*>(QString::fromUtf8(formName));
  }
};

// One row of the form's control table. On-page controls are placed within the tab control.
struct Control {
  const char* name;
  const char* kind;
  QRect geometry;
  const char* text;
  bool enabled;
  bool onPage = false;
};

const Control kControls[] = {
    {"标签1", "QLabel", {21, 12, 32, 16}, "账号：", true},
    {"编辑框1", "QLineEdit", {58, 9, 80, 22}, "", true},
    {"标签2", "QLabel", {21, 45, 32, 16}, "密码：", true},
    {"编辑框2", "QLineEdit", {58, 42, 80, 22}, "", true},
    {"按钮1", "QPushButton", {149, 8, 40, 55}, "登陆", true},
    {"图片框1", "QLabel", {208, 8, 56, 56}, "", true},
    {"标签7", "QLabel", {272, 8, 72, 24}, "销售中：", true},
    {"标签8", "QLabel", {272, 40, 72, 24}, "违规下架：", true},
    {"标签9", "QLabel", {353, 8, 64, 24}, "待审核：", true},
    {"标签10", "QLabel", {353, 40, 64, 24}, "仓库中：", true},
    {"按钮6", "QPushButton", {480, 40, 64, 24}, "取详情", false},
    {"按钮3", "QPushButton", {825, 8, 56, 32}, "待付款", false},
    {"按钮4", "QPushButton", {897, 8, 56, 32}, "待发货", false},
    {"按钮5", "QPushButton", {969, 8, 56, 32}, "待收货", false},
    {"按钮2", "QPushButton", {1041, 8, 56, 32}, "总订单", false},
    {"标签3", "QLabel", {824, 48, 56, 16}, "", true},
    {"标签4", "QLabel", {896, 48, 56, 16}, "", true},
    {"标签5", "QLabel", {968, 48, 56, 16}, "", true},
    {"标签6", "QLabel", {1040, 48, 56, 16}, "", true},
    {"进度条1", "QProgressBar", {824, 71, 272, 16}, "", true},
    {"选择夹1", "varnola::TabControl", {0, 72, 1136, 432}, "", true},
    {"超级列表框1", "QTableView", {0, 27, 1128, 400}, "", true, true},
    {"编辑框4", "QPlainTextEdit", {8, 32, 736, 368}, "", false, true},
    {"编辑框3", "QPlainTextEdit", {16, 32, 744, 368}, "", false, true},
};

QString TextOf(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<QPushButton*>(w)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  return {};
}

TEST_F(MainWindowFixture, OpensWithEveryControlOfTheFormInPlace) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Varnola商城订单管理系统 V2.0   qq:905317264"));
  EXPECT_EQ(window.size(), kClientSize);
  EXPECT_EQ(window.layout(), nullptr);
  const QRect area = window.screen()->availableGeometry();
  EXPECT_EQ(window.pos(),
            QPoint(area.x() + (area.width() - 1142) / 2, area.y() + (area.height() - 533) / 2));
  auto* tabs = Find<TabControl>("选择夹1");
  ASSERT_NE(tabs, nullptr);

  const auto checkPlaces = [&] {
    for (const Control& c : kControls) {
      QWidget* w = Find(c.name);
      ASSERT_NE(w, nullptr) << c.name;
      EXPECT_TRUE(w->inherits(c.kind)) << c.name;
      QWidget* origin = c.onPage ? static_cast<QWidget*>(tabs) : &window;
      EXPECT_EQ(QRect(w->mapTo(origin, QPoint(0, 0)), w->size()), c.geometry) << c.name;
      EXPECT_EQ(TextOf(w), QString::fromUtf8(c.text)) << c.name;
      EXPECT_EQ(w->isEnabled(), c.enabled) << c.name;
    }
  };
  checkPlaces();
  window.resize(600, 300);  // resizing moves nothing
  checkPlaces();
}

TEST_F(MainWindowFixture, LabelsHaveTheirColoursAndTheirTextsFit) {
  struct LabelLook {
    const char* name;
    QColor colour;
    Qt::Alignment alignment;
  };
  const LabelLook looks[] = {
      {"标签1", kBlack, Qt::AlignLeft},  {"标签2", kBlack, Qt::AlignLeft},
      {"标签7", kGreen, Qt::AlignLeft},  {"标签8", kGreen, Qt::AlignLeft},
      {"标签9", kGreen, Qt::AlignLeft},  {"标签10", kGreen, Qt::AlignLeft},
      {"标签3", kRed, Qt::AlignHCenter}, {"标签4", kRed, Qt::AlignHCenter},
      {"标签5", kRed, Qt::AlignHCenter}, {"标签6", kRed, Qt::AlignHCenter},
  };
  for (const LabelLook& look : looks) {
    auto* label = Find<QLabel>(look.name);
    ASSERT_NE(label, nullptr) << look.name;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), look.colour) << look.name;
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, look.alignment) << look.name;
    const QFontMetrics metrics(label->font());
    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << look.name;
    EXPECT_LE(metrics.height(), label->height()) << look.name;
  }
}

TEST_F(MainWindowFixture, StartStatesOfTheOtherControls) {
  auto* password = Find<QLineEdit>("编辑框2");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
            '*');

  auto* progress = Find<QProgressBar>("进度条1");
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 100);
  EXPECT_EQ(progress->value(), 0);

  auto* tabs = Find<TabControl>("选择夹1");
  ASSERT_EQ(tabs->PageCount(), 3);
  EXPECT_EQ(tabs->Tabs()->tabText(0), QStringLiteral("订单"));
  EXPECT_EQ(tabs->Tabs()->tabText(1), QStringLiteral("更新内容"));
  EXPECT_EQ(tabs->Tabs()->tabText(2), QStringLiteral("帮助"));
  EXPECT_EQ(tabs->CurrentIndex(), 0);

  auto* notes = Find<QPlainTextEdit>("编辑框4");
  auto* help = Find<QPlainTextEdit>("编辑框3");
  EXPECT_EQ(notes->toPlainText(),
            QStringLiteral("\n2017.1.4【更新内容】\n\n    批量查询分类订单数据\n"
                           "    支持批量导入导出订单\n    优化订单查询"));
  EXPECT_EQ(
      help->toPlainText(),
      QStringLiteral("\n查询订单：先选择需要操作的订单，待获取完毕后，方可获取详情。\n\n"
                     "导出订单：鼠标右键订单表格，选择导出即可。\n\n"
                     "导入订单：将订单按导出的文档格式的EXCEL拖拽到软件表格即可。\n\n"
                     "删除订单：可选择删除选择行或者清空整个表格订单数据，鼠标右键操作。\n\n"));
  for (QPlainTextEdit* box : {notes, help}) {
    EXPECT_EQ(box->palette().color(QPalette::Disabled, QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box->frameShadow(), QFrame::Sunken);
  }

  auto* view = Find<QTableView>("超级列表框1");
  EXPECT_EQ(view->model()->rowCount(), 0);
  ASSERT_EQ(view->model()->columnCount(), kOrderColumnCount);
  for (int column = 0; column < kOrderColumnCount; ++column) {
    EXPECT_EQ(view->horizontalHeader()->sectionSize(column), 50);
    EXPECT_EQ(view->model()->headerData(column, Qt::Horizontal).toString().toStdString(),
              LocalToUtf8(OrderColumnTitles()[column]));
  }
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(view->showGrid());
  EXPECT_FALSE(view->isSortingEnabled());

  const QStringList items = {"导出订单",         "导入订单",     "发货",
                             "查询当前订单物流", "删除本条订单", "清空订单"};
  const QList<QAction*> actions = window.Menu().actions();
  ASSERT_EQ(actions.size(), items.size());
  for (int i = 0; i < items.size(); ++i) {
    EXPECT_EQ(actions[i]->text(), items[i]);
    EXPECT_TRUE(actions[i]->isEnabled());
    EXPECT_FALSE(actions[i]->isCheckable());
    EXPECT_TRUE(actions[i]->shortcut().isEmpty());
  }
}

TEST_F(MainWindowFixture, WindowOperationsFromAWorkerReachTheControls) {
  Find<QLineEdit>("编辑框1")->setText(QStringLiteral("店主"));
  Find<QLineEdit>("编辑框2")->setText(QStringLiteral("a&b=c"));
  QByteArray png;
  {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
  }

  MainWindowOps& ops = window.UiFrontend().window;
  std::string account, password, label;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    account = ops.AccountText();
    password = ops.PasswordText();
    ops.SetCaption(test::L("欢迎您！  小店"));
    ops.SetLabelText(Label::AwaitingShipmentCount, "5");
    ops.SetLabelText(Label::GoodsOnSale, test::L("销售中：123456"));
    label = ops.LabelText(Label::GoodsOnSale);
    ops.SetPicture(ByteBuffer(png.begin(), png.end()));
    ops.SetProgress(78);
    ops.EnableButton(Button::AllOrders);
    ops.EnableButton(Button::Details);
    ops.ProcessEvents();  // nothing to do off the UI thread
    done = true;
  });
  const bool finished = test::ServeEventsUntil([&] { return done.load(); });
  worker.join();

  ASSERT_TRUE(finished);
  EXPECT_EQ(account, test::L("店主"));
  EXPECT_EQ(password, "a&b=c");
  EXPECT_EQ(label, test::L("销售中：123456"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("欢迎您！  小店"));
  EXPECT_EQ(Find<QLabel>("标签4")->text(), "5");
  auto* goods = Find<QLabel>("标签7");
  EXPECT_LE(QFontMetrics(goods->font()).horizontalAdvance(goods->text()), goods->width());
  EXPECT_EQ(Find<QProgressBar>("进度条1")->value(), 78);
  EXPECT_TRUE(Find<QPushButton>("按钮2")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("按钮3")->isEnabled());
  auto* picture = Find<QLabel>("图片框1");
  EXPECT_FALSE(picture->pixmap().isNull());
  EXPECT_TRUE(picture->hasScaledContents());

  ops.SetPicture(ToBytes("not an image"));
  EXPECT_TRUE(picture->pixmap().isNull());
}

// The export and the import run on the UI thread and call ProcessEvents before every cell:
// however often it is called, the window and the workers waiting on it must still be served.
TEST_F(MainWindowFixture, ALongLoopOnTheUiThreadKeepsServingTheWindowAndTheWorkers) {
  MainWindowOps& ops = window.UiFrontend().window;
  bool timerFired = false;
  QTimer::singleShot(0, &window, [&] { timerFired = true; });
  std::atomic<int> appended{0};
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) {
      window.Table().AppendFilledRow({}, RowNumbering::InFirstColumn);
      ++appended;
    }
  });

  QDeadlineTimer patience(std::chrono::seconds(30));
  long calls = 0;
  while ((appended < 20 || !timerFired) && !patience.hasExpired()) {
    ops.ProcessEvents();
    ++calls;
  }
  const bool served = appended == 20 && timerFired;
  test::ServeEventsUntil([&] { return appended == 20; });  // never leave the worker blocked
  worker.join();

  EXPECT_TRUE(served) << appended << " rows after " << calls << " calls";
  EXPECT_EQ(window.Table().RowCount(), 20);
}

}  // namespace
}  // namespace varnola
