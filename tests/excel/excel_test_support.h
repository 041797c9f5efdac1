#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/seams/frontend.h"
#include "app/seams/memory_order_table.h"
#include "excel/excel_bridge.h"

namespace varnola::test {

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // A path inside the folder, UTF-8.
  std::string Path(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// The parts of the window that export and import use, in memory: the table, a window whose
// event processing does nothing, a message box that records, a dialog that answers as told
// (nothing means cancel).
class QuietWindow final : public MainWindowOps {
 public:
  std::string AccountText() override { return {}; }
  std::string PasswordText() override { return {}; }
  void SetCaption(const std::string&) override {}
  void SetLabelText(Label, const std::string&) override {}
  std::string LabelText(Label) override { return {}; }
  void SetPicture(const ByteBuffer&) override {}
  void SetProgress(int) override {}
  void EnableButton(Button) override {}
  void ProcessEvents() override {}
};

class SilentAnnouncer final : public Announcer {
 public:
  void Announce(const std::string&) override {}
};

class RecordingMessageBox final : public MessageBox {
 public:
  void Show(const std::string& localText) override { m_texts.push_back(localText); }
  std::vector<std::string> Texts() const { return m_texts; }

 private:
  std::vector<std::string> m_texts;
};

class ScriptedSaveDialog final : public SaveDialog {
 public:
  std::deque<std::optional<std::string>> answers;
  int asked = 0;
  std::optional<std::string> AskSavePath() override {
    ++asked;
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

struct ExcelFakes {
  MemoryOrderTable table;
  QuietWindow window;
  SilentAnnouncer announcer;
  RecordingMessageBox messageBox;
  ScriptedSaveDialog saveDialog;
  Frontend Get() { return Frontend{table, window, announcer, messageBox, saveDialog}; }
};

// Everything export and import touch: the fakes of the window and the two Excel components.
struct ExcelHarness {
  ExcelFakes fake;
  Frontend ui = fake.Get();
  ExcelProgram program;
  ExcelWorkbook workbook;

  void Export(const std::optional<std::string>& localPath);
  void Import(const std::string& droppedLocalText);
  std::vector<std::string> Messages() const { return fake.messageBox.Texts(); }
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// A zip archive with the given entries, in order, compressed.
void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& entries);

// Runs a script with the system's python (the one that has openpyxl) and returns what it
// printed; the test fails when the script does.
std::string RunPython(const std::string& script, const std::vector<std::string>& arguments);

// The table as texts, titles first.
std::vector<std::vector<std::string>> TableCells(const OrderTable& table);

}  // namespace varnola::test
