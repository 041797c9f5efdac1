#pragma once

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/seams/frontend.h"
#include "app/seams/memory_order_table.h"

namespace varnola::test {

// Keeps every text it is given, in call order; safe from any thread.
class TextRecorder {
 public:
  std::vector<std::string> Texts() const {
    std::lock_guard lock(m_mutex);
    return m_texts;
  }

 protected:
  void Record(const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_texts.push_back(text);
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<std::string> m_texts;
};

class RecordingAnnouncer final : public Announcer, public TextRecorder {
 public:
  void Announce(const std::string& localText) override { Record(localText); }
};

// A window without a face: remembers what the commands did to it.
class RecordingWindow final : public MainWindowOps {
  template <typename F>
  auto Locked(F f) const -> decltype(f()) {
    std::lock_guard lock(m_mutex);
    return f();
  }

 public:
  std::string account;
  std::string password;

  std::string AccountText() override { return Locked([&] { return account; }); }
  std::string PasswordText() override { return Locked([&] { return password; }); }
  void SetCaption(const std::string& text) override { Locked([&] { m_caption = text; }); }
  void SetLabelText(Label label, const std::string& text) override {
    Locked([&] { m_labels[label] = text; });
  }
  std::string LabelText(Label label) override {
    return Locked([&] { return m_labels.count(label) ? m_labels.at(label) : std::string(); });
  }
  void SetPicture(const ByteBuffer& image) override {
    Locked([&] { m_picture = image, ++m_pictureSets; });
  }
  void SetProgress(int position) override { Locked([&] { m_progress.push_back(position); }); }
  void EnableButton(Button button) override { Locked([&] { m_enabled.push_back(button); }); }
  void ProcessEvents() override {
    if (onProcessEvents) onProcessEvents();
  }

  // What another command does while a long loop lets the window handle its events.
  std::function<void()> onProcessEvents;

  std::string Caption() const { return Locked([&] { return m_caption; }); }
  ByteBuffer Picture() const { return Locked([&] { return m_picture; }); }
  int PictureSets() const { return Locked([&] { return m_pictureSets; }); }
  std::vector<int> Progress() const { return Locked([&] { return m_progress; }); }
  std::vector<Button> EnabledButtons() const { return Locked([&] { return m_enabled; }); }

 private:
  mutable std::mutex m_mutex;
  std::string m_caption;
  std::map<Label, std::string> m_labels;
  ByteBuffer m_picture;
  int m_pictureSets = 0;
  std::vector<int> m_progress;
  std::vector<Button> m_enabled;
};

class RecordingMessageBox final : public MessageBox, public TextRecorder {
 public:
  void Show(const std::string& localText) override { Record(localText); }
};

// Answers each Save-As request with the next scripted answer; nothing means cancel.
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

// Everything a command touches, in memory.
struct FakeFrontend {
  MemoryOrderTable table;
  RecordingWindow window;
  RecordingAnnouncer announcer;
  RecordingMessageBox messageBox;
  ScriptedSaveDialog saveDialog;

  Frontend Get() { return Frontend{table, window, announcer, messageBox, saveDialog}; }
};

}  // namespace varnola::test
