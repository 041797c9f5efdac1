#pragma once

#include <string>
#include <string_view>

namespace varnola {

// Resolves the character references that the back-end prints for what it escapes:
// "&amp;", "&lt;", "&gt;", "&quot;", "&#39;", "&apos;" and numeric references
// ("&#20013;", "&#x4E2D;"). Anything else, a lone "&" included, stays as it is. Local text
// in, local text out.
std::string DecodeHtmlEntities(std::string_view localText);

}  // namespace varnola
