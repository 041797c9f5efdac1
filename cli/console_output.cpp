#include "console_output.h"

#include <algorithm>

namespace varnola::cli {

ConsoleOutput::ConsoleOutput(std::FILE* stream, bool showProgress)
    : m_stream(stream), m_showProgress(showProgress) {}

ConsoleOutput::~ConsoleOutput() {
  std::lock_guard lock(m_mutex);
  ClearBar();
}

void ConsoleOutput::ClearBar() {
  if (!m_barShown) return;
  std::fputs("\r\033[K", m_stream);
  m_barShown = false;
}

void ConsoleOutput::Line(const char* prefix, const std::string& utf8Text) {
  std::lock_guard lock(m_mutex);
  ClearBar();
  // Every line of a multi-line text carries the prefix, so that a script reading the
  // output line by line never takes part of a message for something else.
  std::size_t from = 0;
  for (;;) {
    const std::size_t newline = utf8Text.find('\n', from);
    std::string line = utf8Text.substr(from, newline == std::string::npos ? newline : newline - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::fprintf(m_stream, "%s%s\n", prefix, line.c_str());
    if (newline == std::string::npos || newline + 1 == utf8Text.size()) break;
    from = newline + 1;
  }
  std::fflush(m_stream);
}

void ConsoleOutput::Progress(int position) {
  if (!m_showProgress) return;
  std::lock_guard lock(m_mutex);
  constexpr int kWidth = 40;
  const int clamped = std::clamp(position, 0, 100);
  const int filled = clamped * kWidth / 100;
  std::fprintf(m_stream, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(),
               std::string(kWidth - filled, ' ').c_str(), clamped);
  std::fflush(m_stream);
  m_barShown = true;
}

}  // namespace varnola::cli
