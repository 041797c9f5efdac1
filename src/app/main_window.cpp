#include "app/main_window.h"

#include <utility>

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

#include "app/dropped_files.h"
#include "app/order_menu.h"
#include "app/window_texts.h"

namespace varnola {
namespace {

// The window's texts are Chinese; every control takes this face unless it needs less room.
WindowForm BuildWithChineseFont(QWidget& window) {
  QFont font;
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
  font.setPixelSize(12);
  window.setFont(font);
  return BuildWindowForm(window);
}

}  // namespace

MainWindow::MainWindow(AppCommands& commands, Announcer& announcer, QWidget* parent)
    : QWidget(parent),
      m_commands(commands),
      m_queue(m_tasks, [this](std::function<void()> routine) { m_ui.Post(std::move(routine)); }),
      m_form(BuildWithChineseFont(*this)),
      m_table(m_form.ordersPage, m_ui),
      m_ops(*this, m_form, m_ui),
      m_messageBox(m_ui),
      m_saveDialog(m_ui),
      m_frontend{m_table, m_ops, announcer, m_messageBox, m_saveDialog},
      m_menu(new OrderMenu(this)) {
  m_table.View()->setObjectName(QStringLiteral("超级列表框1"));
  m_table.View()->setGeometry(0, 27, 1128, 400);
  setWindowTitle(texts::StartCaption());
  resize(kClientSize);
  PlaceInScreenCentre();
  ConnectControls();
  ConnectMenu();

  // Window creation: the order buttons and the details button wait for their commands.
  for (QPushButton* button : {m_form.allOrders, m_form.awaitingPayment, m_form.awaitingShipment,
                              m_form.awaitingReceipt, m_form.details}) {
    button->setEnabled(false);
  }
  m_form.progress->setRange(0, 100);
  // Only the window takes drops; the edit boxes would otherwise take dragged text.
  m_form.account->setAcceptDrops(false);
  m_form.password->setAcceptDrops(false);
  setAcceptDrops(true);
}

MainWindow::~MainWindow() {
  Shutdown();
}

void MainWindow::SetCancelExchangesHook(std::function<void()> cancelExchanges) {
  m_cancelExchanges = std::move(cancelExchanges);
}

void MainWindow::PlaceInScreenCentre() {
  const QScreen* current = screen();
  if (!current) return;
  const QRect area = current->availableGeometry();
  move(area.x() + (area.width() - kOuterSize.width()) / 2,
       area.y() + (area.height() - kOuterSize.height()) / 2);
}

void MainWindow::ConnectControls() {
  connect(m_form.login, &QPushButton::clicked, this, [this] { m_commands.SignIn(m_frontend); });
  const auto onWorker = [this](QPushButton* button, OrderState state) {
    connect(button, &QPushButton::clicked, this, [this, state] {
      m_queue.Submit(CommandQueue::RunsOn::Worker,
                     [this, state] { m_commands.ListOrders(m_frontend, state); });
    });
  };
  onWorker(m_form.awaitingPayment, OrderState::AwaitingPayment);
  onWorker(m_form.awaitingShipment, OrderState::AwaitingShipment);
  onWorker(m_form.awaitingReceipt, OrderState::AwaitingReceipt);
  connect(m_form.allOrders, &QPushButton::clicked, this, [this] {
    m_queue.Submit(CommandQueue::RunsOn::UiThread,
                   [this] { m_commands.ListOrders(m_frontend, OrderState::All); });
  });
  connect(m_form.details, &QPushButton::clicked, this, [this] {
    m_queue.Submit(CommandQueue::RunsOn::Worker, [this] { m_commands.FetchDetails(m_frontend); });
  });
  QTableView* view = m_table.View();
  connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
    m_menu->OpenAtCursor(view->viewport()->mapToGlobal(pos));
  });
}

void MainWindow::ConnectMenu() {
  const auto onChosen = [this](QAction* item, auto command) {
    connect(item, &QAction::triggered, this, command);
  };
  onChosen(m_menu->exportOrders, [this] { m_commands.ExportOrders(m_frontend); });
  onChosen(m_menu->importHint, [this] { m_messageBox.ShowText(texts::ImportHint()); });
  onChosen(m_menu->ship, [this] { m_messageBox.ShowText(texts::NotYetAvailable()); });
  onChosen(m_menu->trackParcel, [this] { m_commands.TrackParcel(m_frontend); });
  onChosen(m_menu->deleteRow, [this] { m_table.DeleteRow(m_table.SelectedRow()); });
  onChosen(m_menu->clearRows, [this] { m_table.DeleteAllRows(); });
}

void MainWindow::FilesDropped(const std::string& localText) {
  m_queue.Submit(CommandQueue::RunsOn::UiThread,
                 [this, localText] { m_commands.ImportWorkbook(m_frontend, localText); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData() && CarriesOnlyLocalFiles(*event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData() && CarriesOnlyLocalFiles(*event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  const auto text = event->mimeData() ? DroppedFilesText(*event->mimeData()) : std::nullopt;
  if (!text) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  FilesDropped(*text);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  BeginClosing();
  event->accept();
}

void MainWindow::BeginClosing() {
  if (m_closing) return;
  m_closing = true;
  m_ui.BeginClosing();
  m_queue.Close();
  m_menu->close();
  if (m_cancelExchanges) m_cancelExchanges();
}

void MainWindow::Shutdown() {
  if (m_shutDown) return;
  m_shutDown = true;
  BeginClosing();
  // A task may be blocked in a call to the UI thread that was queued just before the
  // window closed: keep serving those calls while waiting, or the two would wait forever.
  m_tasks.JoinAll([this] { m_ui.ServeWaitingCalls(); });
}

}  // namespace varnola
