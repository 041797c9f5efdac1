#pragma once

#include <string>

namespace varnola::sim {

// Writes the text to a temporary file beside `path` and renames it over `path`, so a
// reader sees either no file or the whole text. Makes missing parent folders. Returns
// the reason on failure, else empty.
std::string WriteFileAtomically(const std::string& path, const std::string& text);

}  // namespace varnola::sim
