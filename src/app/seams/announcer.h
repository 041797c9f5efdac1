#pragma once

#include <string>

namespace varnola {

// Speaks status texts. Texts queue in call order, are never cut off and never waited
// for; safe to call from any thread.
class Announcer {
 public:
  virtual ~Announcer() = default;
  virtual void Announce(const std::string& localText) = 0;
};

}  // namespace varnola
