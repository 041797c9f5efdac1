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
  std::fprintf(m_stream, "%s%s\n", prefix, utf8Text.c_str());
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
