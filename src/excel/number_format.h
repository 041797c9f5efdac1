#pragma once

#include <string>
#include <string_view>

namespace varnola {

// True when a number format shows a number as a date or a time: it holds a y, m, d, h
// or s outside quoted text, escapes and bracketed colour or locale codes.
bool IsDateFormatCode(std::string_view code);

// The built-in formats that spreadsheet files refer to by number alone.
bool IsBuiltInDateFormat(int id);
std::string BuiltInFormatCode(int id);

}  // namespace varnola
