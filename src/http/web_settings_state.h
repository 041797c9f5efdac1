#pragma once

#include <cstdint>

#include "http/web_request.h"

namespace varnola {

// The settings together with a number that grows with every change, so that handles made
// under older settings can be told apart and dropped.
struct WebSettingsSnapshot {
  WebSettings settings;
  std::uint64_t generation = 0;
};

WebSettingsSnapshot CurrentWebSettingsSnapshot();

}  // namespace varnola
