#pragma once

#include <string>
#include <string_view>

#include "http/encodings.h"

namespace varnola::test {

// Test sources are UTF-8; the core speaks local text.
inline std::string L(std::string_view utf8) { return Utf8ToLocal(utf8); }

}  // namespace varnola::test
