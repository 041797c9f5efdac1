#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varnola::sim {

using TemplateValues = std::vector<std::pair<std::string_view, std::string_view>>;

// &, <, >, " and ' as character references, everything else as it stands.
std::string HtmlEscape(std::string_view text);

// Fills a page template: "{{name}}" takes the value HTML-escaped, "{{{name}}}" takes it as
// it stands (markup made by another template). A name without a value gives nothing.
void RenderTemplate(std::string_view page, const TemplateValues& values, std::string& out);
std::string RenderTemplate(std::string_view page, const TemplateValues& values);

}  // namespace varnola::sim
