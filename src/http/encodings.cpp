#include "http/encodings.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "http/local_text.h"

namespace varnola {
namespace {

static_assert(std::endian::native == std::endian::little, "UTF-16 units are handled as LE");

enum class Encoding { Local, Utf8, Utf16 };

const char* IconvName(Encoding e) {
  switch (e) {
    case Encoding::Local: return "GB18030";
    case Encoding::Utf8: return "UTF-8";
    case Encoding::Utf16: return "UTF-16LE";
  }
  return "UTF-8";
}

std::size_t UnitSize(Encoding e) { return e == Encoding::Utf16 ? 2 : 1; }

Encoding FromCodePage(int codePage) {
  return codePage == kCodePageUtf8 ? Encoding::Utf8 : Encoding::Local;
}

struct IconvCloser {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// iconv descriptors carry conversion state, so each thread keeps its own, opened on first
// use; opening one costs far more than a conversion of a typical page.
iconv_t Converter(Encoding from, Encoding to) {
  thread_local std::map<std::pair<Encoding, Encoding>, IconvHandle> converters;
  IconvHandle& slot = converters[{from, to}];
  if (!slot) {
    iconv_t cd = iconv_open(IconvName(to), IconvName(from));
    if (cd == reinterpret_cast<iconv_t>(-1)) return cd;
    slot.reset(cd);
  }
  iconv(slot.get(), nullptr, nullptr, nullptr, nullptr);  // reset the shift state
  return slot.get();
}

void AppendQuestionMark(std::string& out, Encoding to) {
  out.push_back('?');
  if (to == Encoding::Utf16) out.push_back('\0');
}

// Converts one run of non-ASCII input with iconv; an input unit it cannot convert
// becomes "?" and the conversion goes on after it.
void ConvertRun(std::string_view run, Encoding from, Encoding to, std::string& out) {
  iconv_t cd = Converter(from, to);
  const std::size_t unit = UnitSize(from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (std::size_t i = 0; i < run.size(); i += unit) AppendQuestionMark(out, to);
    return;
  }
  char* in = const_cast<char*>(run.data());
  std::size_t inLeft = run.size();
  while (inLeft > 0) {
    const std::size_t start = out.size();
    const std::size_t room = inLeft * 4 + 8;
    out.resize(start + room);
    char* dst = out.data() + start;
    std::size_t outLeft = room;
    const std::size_t rc = iconv(cd, &in, &inLeft, &dst, &outLeft);
    out.resize(start + (room - outLeft));
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip one input unit.
    AppendQuestionMark(out, to);
    const std::size_t skip = std::min(unit, inLeft);
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
}

bool IsAsciiUnit(std::string_view in, std::size_t pos, Encoding from) {
  if (from == Encoding::Utf16) {
    return static_cast<unsigned char>(in[pos]) < 0x80 && in[pos + 1] == '\0';
  }
  return static_cast<unsigned char>(in[pos]) < 0x80;
}

std::size_t UnitLength(std::string_view in, std::size_t pos, Encoding from) {
  // Trail bytes of a multi-byte local character may look like ASCII; step over whole
  // characters so a run is never cut inside one.
  if (from == Encoding::Local) return CharLengthAt(in, pos);
  return UnitSize(from);
}

// The end of the run of ASCII units that starts at `pos`; bytes are tested eight at a
// time while they can be.
std::size_t AsciiRunEnd(std::string_view in, std::size_t pos, Encoding from) {
  if (from == Encoding::Utf16) {
    while (pos < in.size() && IsAsciiUnit(in, pos, from)) pos += 2;
    return pos;
  }
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  while (pos + 8 <= in.size()) {
    std::uint64_t word = 0;
    std::memcpy(&word, in.data() + pos, 8);
    if (word & kHighBits) break;
    pos += 8;
  }
  while (pos < in.size() && static_cast<unsigned char>(in[pos]) < 0x80) ++pos;
  return pos;
}

// Appends a run of ASCII units in the target encoding.
void AppendAscii(std::string_view run, Encoding from, Encoding to, std::string& out) {
  const bool wideIn = from == Encoding::Utf16;
  const bool wideOut = to == Encoding::Utf16;
  if (wideIn == wideOut) {
    out.append(run);
    return;
  }
  const std::size_t start = out.size();
  if (wideOut) {
    out.resize(start + run.size() * 2, '\0');
    for (std::size_t i = 0; i < run.size(); ++i) out[start + 2 * i] = run[i];
  } else {
    out.resize(start + run.size() / 2);
    for (std::size_t i = 0; i < run.size() / 2; ++i) out[start + i] = run[2 * i];
  }
}

// ASCII is the same in all three encodings, and pages are mostly ASCII: copy it directly
// and hand only the runs between to iconv.
std::string Transcode(std::string_view in, Encoding from, Encoding to) {
  const std::size_t unit = UnitSize(from);
  in = in.substr(0, in.size() - in.size() % unit);
  std::string out;
  out.reserve(in.size() * UnitSize(to) / unit + 16);
  std::size_t pos = 0;
  while (pos < in.size()) {
    if (IsAsciiUnit(in, pos, from)) {
      const std::size_t end = AsciiRunEnd(in, pos, from);
      AppendAscii(in.substr(pos, end - pos), from, to, out);
      pos = end;
      continue;
    }
    std::size_t end = pos;
    while (end < in.size() && !IsAsciiUnit(in, end, from)) end += UnitLength(in, end, from);
    ConvertRun(in.substr(pos, end - pos), from, to, out);
    pos = end;
  }
  return out;
}

}  // namespace

std::string UrlDecode(std::string_view text, bool toLocal) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
        HexDigitValue(text[i + 2]) >= 0) {
      const char byte = static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
      if (byte != '\0') decoded.push_back(byte);
      i += 2;
      continue;
    }
    decoded.push_back(text[i]);
  }
  return toLocal ? Utf8ToLocal(decoded) : decoded;
}

std::string Utf8ToLocal(std::string_view utf8) {
  return Transcode(utf8, Encoding::Utf8, Encoding::Local);
}

std::string LocalToUtf8(std::string_view local) {
  return Transcode(local, Encoding::Local, Encoding::Utf8);
}

std::u16string ToWideText(std::string_view text, int codePage) {
  const std::string bytes = Transcode(text, FromCodePage(codePage), Encoding::Utf16);
  std::u16string wide(bytes.size() / 2, u'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * 2);
  return wide;
}

std::string FromWideText(std::u16string_view wide, int codePage) {
  const std::string_view bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  return Transcode(bytes, Encoding::Utf16, FromCodePage(codePage));
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t len = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      len = 2, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      len = 3, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      len = 4, cp = lead & 0x07;
    } else {
      return false;
    }
    if (i + len > text.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const unsigned char c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

}  // namespace varnola
