#pragma once

#include <optional>
#include <string>

class QMimeData;

namespace varnola {

// The window takes dropped files only: a drag that carries anything else (text, links,
// HTML, files of another machine) is refused, so the cursor shows that it cannot drop.
bool CarriesOnlyLocalFiles(const QMimeData& data);

// The text of one drop, as local text: the full path of a single file, or every path
// followed by "\r\n" when several were dropped together. Nothing for a refused drop.
std::optional<std::string> DroppedFilesText(const QMimeData& data);

}  // namespace varnola
