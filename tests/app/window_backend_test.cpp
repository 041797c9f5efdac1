// The real window with the real commands against the simulated mall: sign in, list the
// orders awaiting shipment, fetch their details, close.
//
// With VARNOLA_WINDOW_GRAB=<file.png> set, the filled window is also saved as a picture
// (run under a real display server to see the real fonts).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include "app/core_commands.h"
#include "app/main_window.h"
#include "app/seams/order_columns.h"
#include "http/web_request.h"
#include "sim/sim_server.h"
#include "support/local_literal.h"
#include "support/sim_order_cells.h"
#include "window_test_support.h"

namespace varnola {
namespace {

using test::L;

// Columns 1..21 of an order's row as the back-end's data says the merchant must see them.
std::vector<QString> ExpectedCells(const sim::SimOrder& order) {
  std::vector<QString> texts;
  for (const std::string& cell : test::OrderCellsUtf8(order)) {
    texts.push_back(QString::fromStdString(cell));
  }
  return texts;
}

class WindowBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_sim.Start()) << m_sim.error();
    WebSettings settings = CurrentWebSettings();
    settings.extraCaFile = m_sim.ClientConfig().caFile;
    settings.connectTimeout = std::chrono::milliseconds(3000);
    settings.idleTimeout = std::chrono::milliseconds(3000);
    SetWebSettings(settings);
    ClearCookieStore();

    m_commands = std::make_unique<CoreCommands>(m_sim.ClientConfig());
    m_window = std::make_unique<MainWindow>(*m_commands, m_announcer);
    m_window->SetCancelExchangesHook([this] {
      ++m_cancels;
      CancelRunningWebRequests();
    });
    m_window->show();
  }

  void TearDown() override {
    m_window.reset();
    m_commands.reset();
    CloseIdleConnections();
    m_sim.Stop();
    ClearCookieStore();
  }

  template <typename T = QWidget>
  T* Find(const char* formName) {
    return m_window->findChild<T*>(QString::fromUtf8(formName));
  }

  QString Cell(int row, int column) {
    OrderTableModel* model = m_window->Table().Model();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }

  // The cells from..to of a row as the view shows them.
  std::vector<QString> Cells(int row, int from, int to) {
    std::vector<QString> cells;
    for (int column = from; column <= to; ++column) cells.push_back(Cell(row, column));
    return cells;
  }

  bool Spoke(const std::string& utf8) {
    for (const std::string& text : m_announcer.Texts()) {
      if (text == L(utf8)) return true;
    }
    return false;
  }

  sim::SimServer m_sim{sim::SimOptions{}};
  test::RecordingAnnouncer m_announcer;
  std::unique_ptr<CoreCommands> m_commands;
  std::unique_ptr<MainWindow> m_window;
  int m_cancels = 0;
};

TEST_F(WindowBackendTest, SignInListAndDetailsFillTheWindow) {
  const sim::SimData& data = m_sim.data();
  QPushButton* orderButtons[] = {Find<QPushButton>("按钮2"), Find<QPushButton>("按钮3"),
                                 Find<QPushButton>("按钮4"), Find<QPushButton>("按钮5")};
  QPushButton* details = Find<QPushButton>("按钮6");
  for (QPushButton* button : orderButtons) ASSERT_FALSE(button->isEnabled());

  // Sign-in runs inside the click, on the window's thread.
  Find<QLineEdit>("编辑框1")->setText(QStringLiteral("demo"));
  Find<QLineEdit>("编辑框2")->setText(QStringLiteral("demo123"));
  Find<QPushButton>("按钮1")->click();

  const QString store = QString::fromStdString(data.store.name);
  EXPECT_EQ(
      m_window->windowTitle(),
      QStringLiteral("Varnola商城订单管理系统 V2.0   qq:905317264          欢迎您！  ") + store);
  const struct {
    const char* label;
    QString text;
  } figures[] = {
      {"标签3", QString::number(data.CountInState(sim::kAwaitingPayment))},
      {"标签4", QString::number(data.CountInState(sim::kAwaitingShipment))},
      {"标签5", QString::number(data.CountInState(sim::kAwaitingReceipt))},
      {"标签6", QString::number(data.orders.size())},
      {"标签7", QStringLiteral("销售中：") + QString::number(data.store.goodsOnSale)},
      {"标签8", QStringLiteral("违规下架：") + QString::number(data.store.goodsWithdrawn)},
      {"标签9", QStringLiteral("待审核：") + QString::number(data.store.goodsInReview)},
      {"标签10", QStringLiteral("仓库中：") + QString::number(data.store.goodsInWarehouse)},
  };
  for (const auto& f : figures) EXPECT_EQ(Find<QLabel>(f.label)->text(), f.text) << f.label;
  const QLabel* logo = Find<QLabel>("图片框1");
  EXPECT_FALSE(logo->pixmap().isNull());
  EXPECT_TRUE(logo->hasScaledContents());
  EXPECT_EQ(Find<QProgressBar>("进度条1")->value(), 100);
  for (QPushButton* button : orderButtons) EXPECT_TRUE(button->isEnabled());
  EXPECT_FALSE(details->isEnabled());
  EXPECT_TRUE(Spoke("登录成功！" + data.store.name + "欢迎您的使用！待付款订单：" +
                    std::to_string(data.CountInState(sim::kAwaitingPayment)) + "笔！待发货订单：" +
                    std::to_string(data.CountInState(sim::kAwaitingShipment)) + "笔！待收货订单：" +
                    std::to_string(data.CountInState(sim::kAwaitingReceipt)) + "笔！总订单：" +
                    std::to_string(data.orders.size()) + "笔！"));

  // "待发货" runs on a worker; the back-end lists the newest order first.
  std::vector<const sim::SimOrder*> shipping;
  for (auto it = data.orders.rbegin(); it != data.orders.rend(); ++it) {
    if (it->state == sim::kAwaitingShipment) shipping.push_back(&*it);
  }
  ASSERT_GE(shipping.size(), 2u);
  const int rows = static_cast<int>(shipping.size());
  orderButtons[2]->click();
  ASSERT_TRUE(test::ServeEventsUntil([&] { return details->isEnabled(); }));
  EXPECT_TRUE(Spoke("正在获取待发货订单，请等待..."));
  EXPECT_TRUE(Spoke("一共获取到" + std::to_string(rows) + "笔订单数据"));
  ASSERT_EQ(m_window->Table().RowCount(), rows);
  for (int row = 0; row < rows; ++row) {
    const std::vector<QString> expected = ExpectedCells(*shipping[row]);
    EXPECT_EQ(Cell(row, 0), QString::number(row + 1));
    EXPECT_EQ(Cells(row, 1, 8), std::vector<QString>(expected.begin(), expected.begin() + 8))
        << "row " << row;
    EXPECT_EQ(Cells(row, 9, 21), std::vector<QString>(13)) << "row " << row;
  }

  // "取详情" completes every row from its own order page.
  // (An order awaiting shipment has no tracking number yet: column 21 may stay empty.)
  details->click();
  const auto allDetailed = [&] {
    for (int row = 0; row < rows; ++row) {
      if (Cell(row, kColumnFirstDetail).isEmpty()) return false;
    }
    return true;
  };
  ASSERT_TRUE(test::ServeEventsUntil(allDetailed));
  ASSERT_TRUE(test::ServeEventsUntil([&] { return m_window->Tasks().RunningCount() == 0; }));
  for (int row = 0; row < rows; ++row) {
    EXPECT_EQ(Cells(row, 1, 21), ExpectedCells(*shipping[row])) << "row " << row;
    EXPECT_EQ(Cell(row, 22), QString()) << "row " << row;
  }
  EXPECT_TRUE(Spoke("正在获取订单详情，请等待..."));
  EXPECT_EQ(Find<QProgressBar>("进度条1")->value(), 100);

  if (const QString file = qEnvironmentVariable("VARNOLA_WINDOW_GRAB"); !file.isEmpty()) {
    // The table paints its stream of changes at intervals: wait for the last one.
    ASSERT_TRUE(test::ServeEventsUntil([&] { return m_window->Table().View()->updatesEnabled(); }));
    EXPECT_TRUE(m_window->grab().save(file, "PNG")) << file.toStdString();
  }

  // Closing ends the work of the window: nothing runs on, and a later click starts nothing.
  m_window->close();
  m_window->Shutdown();
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_EQ(m_cancels, 1);
  EXPECT_EQ(m_window->Tasks().RunningCount(), 0);
  const std::size_t spoken = m_announcer.Texts().size();
  details->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(m_window->Tasks().RunningCount(), 0);
  EXPECT_EQ(m_window->Queue().WaitingCount(), 0);
  EXPECT_EQ(m_announcer.Texts().size(), spoken);
  EXPECT_EQ(m_window->Table().RowCount(), rows);
}

}  // namespace
}  // namespace varnola
