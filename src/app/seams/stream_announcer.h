#pragma once

#include <mutex>
#include <ostream>
#include <string>

#include "app/seams/announcer.h"
#include "http/encodings.h"

namespace varnola {

// The headless tool's voice: every text becomes one UTF-8 line on the stream.
class StreamAnnouncer final : public Announcer {
 public:
  explicit StreamAnnouncer(std::ostream& out) : m_out(out) {}

  void Announce(const std::string& localText) override {
    const std::string line = LocalToUtf8(localText);
    std::lock_guard lock(m_mutex);
    m_out << line << '\n' << std::flush;
  }

 private:
  std::mutex m_mutex;
  std::ostream& m_out;
};

}  // namespace varnola
