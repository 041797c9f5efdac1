#pragma once

#include <cstdio>
#include <mutex>
#include <string>

namespace varnola::cli {

// Standard error as the headless tool writes it: whole lines ("say: …", "message: …") and,
// on a terminal, one progress bar line that each new line first clears.
class ConsoleOutput {
 public:
  ConsoleOutput(std::FILE* stream, bool showProgress);
  ~ConsoleOutput();

  void Line(const char* prefix, const std::string& utf8Text);
  void Progress(int position);

 private:
  void ClearBar();

  std::FILE* m_stream;
  bool m_showProgress;
  bool m_barShown = false;
  std::mutex m_mutex;
};

}  // namespace varnola::cli
