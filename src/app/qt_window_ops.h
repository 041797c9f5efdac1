#pragma once

#include <string>

#include <QElapsedTimer>

#include "app/seams/main_window_ops.h"
#include "app/ui_thread_caller.h"
#include "app/window_form.h"

class QWidget;

namespace varnola {

// What the commands do to the main window, carried to the UI thread when called from a
// worker.
class QtWindowOps final : public MainWindowOps {
 public:
  QtWindowOps(QWidget& window, const WindowForm& form, UiThreadCaller& ui);

  std::string AccountText() override;
  std::string PasswordText() override;
  void SetCaption(const std::string& text) override;
  void SetLabelText(Label label, const std::string& text) override;
  std::string LabelText(Label label) override;
  void SetPicture(const ByteBuffer& image) override;
  void SetProgress(int position) override;
  void EnableButton(Button button) override;
  void ProcessEvents() override;

 private:
  QWidget& m_window;
  const WindowForm& m_form;
  UiThreadCaller& m_ui;
  QElapsedTimer m_sinceEvents;  // since the loops last had the events handled
};

}  // namespace varnola
