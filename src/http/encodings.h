#pragma once

#include <string>
#include <string_view>

namespace varnola {

// Code page numbers as callers name them. Code page 936 and the active code page both
// mean the local text encoding, GB18030.
inline constexpr int kCodePageActive = 0;
inline constexpr int kCodePageLocal = 936;
inline constexpr int kCodePageUtf8 = 65001;

// Resolves the percent escapes of a whole page ("+" stays "+"); with `toLocal` the result
// is then converted from UTF-8 to local text. A "%" that is not followed by two
// hexadecimal digits stays as it stands, so a literal "width:100%" survives; "%00" adds
// nothing.
std::string UrlDecode(std::string_view text, bool toLocal = false);

// UTF-8 to local text; bytes that are not valid UTF-8 become "?".
std::string Utf8ToLocal(std::string_view utf8);

// Local text to UTF-8, for everything that leaves the core: the window, speech, files.
std::string LocalToUtf8(std::string_view local);

// Text in the given code page to UTF-16 (without a terminating zero unit).
std::u16string ToWideText(std::string_view text, int codePage = kCodePageUtf8);

// UTF-16 to text in the given code page; unpaired surrogates become "?".
std::string FromWideText(std::u16string_view wide, int codePage = kCodePageActive);

bool IsValidUtf8(std::string_view text);

// The value of a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char c);

}  // namespace varnola
