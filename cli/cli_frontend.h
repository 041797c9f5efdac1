#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "app/seams/frontend.h"
#include "console_output.h"

namespace varnola::cli {

// Announcements as "say: <text>" lines, in UTF-8.
class ConsoleAnnouncer final : public Announcer {
 public:
  explicit ConsoleAnnouncer(ConsoleOutput& out) : m_out(out) {}
  void Announce(const std::string& localText) override;

 private:
  ConsoleOutput& m_out;
};

// Message boxes as "message: <text>" lines; nobody has to close them.
class ConsoleMessageBox final : public MessageBox {
 public:
  explicit ConsoleMessageBox(ConsoleOutput& out) : m_out(out) {}
  void Show(const std::string& localText) override;

 private:
  ConsoleOutput& m_out;
};

// There is no dialog: the export goes to the file named on the command line.
class FixedSaveDialog final : public SaveDialog {
 public:
  explicit FixedSaveDialog(std::string localPath) : m_path(std::move(localPath)) {}
  std::optional<std::string> AskSavePath() override { return m_path; }

 private:
  std::string m_path;
};

// The window's part without a window: the typed account and password, the figure
// labels, and the progress bar.
class HeadlessWindow final : public MainWindowOps {
 public:
  HeadlessWindow(std::string account, std::string password, ConsoleOutput& out)
      : m_account(std::move(account)), m_password(std::move(password)), m_out(out) {}

  std::string AccountText() override { return m_account; }
  std::string PasswordText() override { return m_password; }
  void SetCaption(const std::string&) override {}
  void SetLabelText(Label label, const std::string& text) override;
  std::string LabelText(Label label) override;
  void SetPicture(const ByteBuffer&) override {}
  void SetProgress(int position) override { m_out.Progress(position); }
  void EnableButton(Button) override {}
  void ProcessEvents() override {}

 private:
  std::string m_account;
  std::string m_password;
  ConsoleOutput& m_out;
  std::mutex m_mutex;
  std::map<Label, std::string> m_labels;
};

}  // namespace varnola::cli
