#pragma once

#include <optional>
#include <string>

#include <QString>

#include "app/seams/dialogs.h"
#include "app/ui_thread_caller.h"

namespace varnola {

// A message box without owner, modal for the whole program: the text, a single OK button,
// no icon, the caption "信息：". Returns once closed; shows nothing once the window closes.
class QtMessageBox final : public MessageBox {
 public:
  explicit QtMessageBox(UiThreadCaller& ui) : m_ui(ui) {}
  void Show(const std::string& localText) override;
  void ShowText(const QString& text);

 private:
  UiThreadCaller& m_ui;
};

// The Save-As dialog of the export: opens in the desktop folder, no file-type filter, asks
// before replacing a file, and offers the path confirmed last time during this run.
class QtSaveDialog final : public SaveDialog {
 public:
  explicit QtSaveDialog(UiThreadCaller& ui) : m_ui(ui) {}
  std::optional<std::string> AskSavePath() override;

 private:
  UiThreadCaller& m_ui;
  QString m_lastPath;  // UI thread only
};

}  // namespace varnola
