#include "cli_frontend.h"

#include "http/encodings.h"

namespace varnola::cli {

void ConsoleAnnouncer::Announce(const std::string& localText) {
  m_out.Line("say: ", LocalToUtf8(localText));
}

void ConsoleMessageBox::Show(const std::string& localText) {
  m_out.Line("message: ", LocalToUtf8(localText));
}

void HeadlessWindow::SetLabelText(Label label, const std::string& text) {
  std::lock_guard lock(m_mutex);
  m_labels[label] = text;
}

std::string HeadlessWindow::LabelText(Label label) {
  std::lock_guard lock(m_mutex);
  const auto it = m_labels.find(label);
  return it == m_labels.end() ? std::string() : it->second;
}

}  // namespace varnola::cli
