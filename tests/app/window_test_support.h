#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include "app/seams/app_commands.h"

namespace varnola::test {

// Serves the UI thread's events until `done` holds; false if it never did (a broken test,
// not a slow machine: the bound is generous).
inline bool ServeEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer patience(std::chrono::seconds(30));
  while (!done()) {
    if (patience.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Records the announcements. (support/fake_frontend.h has one too, but does not compile
// with GCC 12 yet.)
class RecordingAnnouncer final : public Announcer {
 public:
  void Announce(const std::string& localText) override {
    std::lock_guard lock(m_mutex);
    m_texts.push_back(localText);
  }
  std::vector<std::string> Texts() {
    std::lock_guard lock(m_mutex);
    return m_texts;
  }

 private:
  std::mutex m_mutex;
  std::vector<std::string> m_texts;
};

// What a message box showed, read while it was open.
struct SeenMessageBox {
  bool seen = false;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool hasOwner = true;
  Qt::WindowModality modality = Qt::NonModal;
};

// Arms a check that reads the next message box once it is open and closes it with OK.
inline void CloseNextMessageBox(QObject* context, SeenMessageBox& seen) {
  QTimer::singleShot(0, context, [context, &seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      CloseNextMessageBox(context, seen);  // not open yet
      return;
    }
    seen = {true,
            box->windowTitle(),
            box->text(),
            box->icon(),
            box->standardButtons(),
            box->parent() != nullptr,
            box->windowModality()};
    box->button(QMessageBox::Ok)->click();
  });
}

// Records each command with the thread it ran on. A command can be held back by a gate
// that the test opens.
class RecordingCommands final : public AppCommands {
 public:
  struct Run {
    std::string what;
    bool onUiThread;
  };

  std::function<void(Frontend&)> duringListOrders;  // runs inside ListOrders when set

  void SignIn(Frontend&) override { Record("sign in"); }
  void ListOrders(Frontend& ui, OrderState state) override {
    if (duringListOrders) duringListOrders(ui);
    Record("list " + std::to_string(static_cast<int>(state)));
  }
  void FetchDetails(Frontend&) override { Record("details"); }
  void ImportWorkbook(Frontend&, const std::string& droppedText) override {
    Record("import " + droppedText);
  }
  void ExportOrders(Frontend&) override { Record("export"); }
  void TrackParcel(Frontend&) override { Record("track"); }

  std::vector<Run> Runs() {
    std::lock_guard lock(m_mutex);
    return m_runs;
  }
  std::size_t Count() {
    std::lock_guard lock(m_mutex);
    return m_runs.size();
  }

 private:
  void Record(std::string what) {
    const bool onUi = QThread::currentThread() == QCoreApplication::instance()->thread();
    std::lock_guard lock(m_mutex);
    m_runs.push_back({std::move(what), onUi});
  }

  std::mutex m_mutex;
  std::vector<Run> m_runs;
};

}  // namespace varnola::test
