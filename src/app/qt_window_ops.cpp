#include "app/qt_window_ops.h"

#include <chrono>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>

#include "http/encodings.h"

namespace varnola {
namespace {

// Shorter than a frame at 60 Hz: the window repaints and takes clicks as often as it can
// show them.
constexpr std::chrono::milliseconds kEventInterval(15);

QString FromLocal(const std::string& localText) {
  return QString::fromStdString(LocalToUtf8(localText));
}

std::string ToLocal(const QString& text) {
  return Utf8ToLocal(text.toStdString());
}

}  // namespace

QtWindowOps::QtWindowOps(QWidget& window, const WindowForm& form, UiThreadCaller& ui)
    : m_window(window), m_form(form), m_ui(ui) {}

std::string QtWindowOps::AccountText() {
  return m_ui.Call([&] { return ToLocal(m_form.account->text()); });
}

std::string QtWindowOps::PasswordText() {
  return m_ui.Call([&] { return ToLocal(m_form.password->text()); });
}

void QtWindowOps::SetCaption(const std::string& text) {
  m_ui.Call([&] { m_window.setWindowTitle(FromLocal(text)); });
}

void QtWindowOps::SetLabelText(Label label, const std::string& text) {
  m_ui.Call([&] {
    QLabel* target = m_form.figures[static_cast<int>(label)];
    target->setText(FromLocal(text));
    FitLabelText(*target);
  });
}

std::string QtWindowOps::LabelText(Label label) {
  return m_ui.Call([&] { return ToLocal(m_form.figures[static_cast<int>(label)]->text()); });
}

void QtWindowOps::SetPicture(const ByteBuffer& image) {
  m_ui.Call([&] {
    QPixmap picture;
    if (!image.empty()) {
      picture.loadFromData(image.data(), static_cast<uint>(image.size()));
    }
    // An empty or undecodable body leaves the box without a picture.
    m_form.picture->setPixmap(picture);
  });
}

void QtWindowOps::SetProgress(int position) {
  m_ui.Call([&] { m_form.progress->setValue(position); });
}

void QtWindowOps::EnableButton(Button button) {
  m_ui.Call([&] {
    QPushButton* target = nullptr;
    switch (button) {
      case Button::Login:
        target = m_form.login;
        break;
      case Button::AllOrders:
        target = m_form.allOrders;
        break;
      case Button::AwaitingPayment:
        target = m_form.awaitingPayment;
        break;
      case Button::AwaitingShipment:
        target = m_form.awaitingShipment;
        break;
      case Button::AwaitingReceipt:
        target = m_form.awaitingReceipt;
        break;
      case Button::Details:
        target = m_form.details;
        break;
    }
    if (target) target->setEnabled(true);
  });
}

void QtWindowOps::ProcessEvents() {
  // A worker has no window events of its own to handle.
  if (!m_ui.OnUiThread()) return;
  // The export and the import call this before every cell, hundreds of thousands of times,
  // and each pass over the event queue costs about a microsecond even when it is empty.
  // Handling the events once per interval keeps the window just as live.
  if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kEventInterval.count()) return;
  QCoreApplication::processEvents();
  m_sinceEvents.start();
}

}  // namespace varnola
