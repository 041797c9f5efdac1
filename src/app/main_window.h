#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "app/command_queue.h"
#include "app/qt_dialogs.h"
#include "app/qt_order_table.h"
#include "app/qt_window_ops.h"
#include "app/seams/app_commands.h"
#include "app/seams/frontend.h"
#include "app/ui_thread_caller.h"
#include "app/window_form.h"
#include "app/worker_tasks.h"

namespace varnola {

class OrderMenu;

// The one window of the program. Its controls start the commands; the order commands and
// the import run one at a time through the command queue, and closing the window is the
// only way out.
class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  MainWindow(AppCommands& commands, Announcer& announcer, QWidget* parent = nullptr);
  // Waits for the worker tasks before anything they use goes away.
  ~MainWindow() override;

  // Called once the window closes, before the tasks are joined: cancels the network
  // exchanges that tasks are waiting on.
  void SetCancelExchangesHook(std::function<void()> cancelExchanges);

  // Ends the work of the window: refuses new commands, drops the waiting ones, cancels the
  // exchanges and waits for every worker task while still serving their calls. Runs once;
  // the exit clean-up calls it before it destroys shared objects.
  void Shutdown();

  // The drop target's event: the dropped paths as one local text.
  void FilesDropped(const std::string& localText);

  Frontend& UiFrontend() { return m_frontend; }
  const WindowForm& Form() const { return m_form; }
  QtOrderTable& Table() { return m_table; }
  OrderMenu& Menu() { return *m_menu; }
  WorkerTasks& Tasks() { return m_tasks; }
  CommandQueue& Queue() { return m_queue; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ConnectControls();
  void ConnectMenu();
  void PlaceInScreenCentre();
  void BeginClosing();

  AppCommands& m_commands;
  UiThreadCaller m_ui;
  WorkerTasks m_tasks;
  CommandQueue m_queue;
  WindowForm m_form;
  QtOrderTable m_table;
  QtWindowOps m_ops;
  QtMessageBox m_messageBox;
  QtSaveDialog m_saveDialog;
  Frontend m_frontend;
  OrderMenu* m_menu;
  std::function<void()> m_cancelExchanges;
  bool m_closing = false;
  bool m_shutDown = false;
};

}  // namespace varnola
