#include "regex/pattern_dialect.h"

#include <cstddef>
#include <string>

namespace varnola {
namespace {

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool IsOctal(char16_t c) {
  return c >= u'0' && c <= u'7';
}
bool IsHex(char16_t c) {
  return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
unsigned HexValue(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  return (c | 0x20) - u'a' + 10;
}
bool IsClassShorthand(char16_t c) {
  return c == u'd' || c == u'D' || c == u's' || c == u'S' || c == u'w' || c == u'W';
}

// Capturing groups: every "(" outside a class that is not followed by "?".
int CountGroups(std::u16string_view p) {
  int groups = 0;
  bool inClass = false;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char16_t c = p[i];
    if (c == u'\\') {
      ++i;
    } else if (inClass) {
      inClass = c != u']';
    } else if (c == u'[') {
      inClass = true;
      if (i + 1 < p.size() && p[i + 1] == u'^') ++i;
    } else if (c == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
      ++groups;
    }
  }
  return groups;
}

class Translator {
 public:
  Translator(std::u16string_view pattern, bool multiline)
      : m_p(pattern), m_multiline(multiline), m_groups(CountGroups(pattern)) {}

  std::optional<std::u16string> Run() {
    for (std::size_t i = 0; i < m_p.size(); ++i) {
      const char16_t c = m_p[i];
      if (c == u'\\') {
        i = Escape(i);
      } else if (m_inClass) {
        ClassCharacter(i);
      } else if (!Character(i)) {
        return std::nullopt;
      }
    }
    return m_out;
  }

 private:
  // What the last item emitted outside a class was; it decides whether a quantifier may
  // follow.
  enum class Last { Atom, Anchor, Quantifier, LazyQuantifier };

  bool At(std::size_t i, char16_t c) const { return i < m_p.size() && m_p[i] == c; }

  bool HexRunAt(std::size_t i, std::size_t count) const {
    if (i + count > m_p.size()) return false;
    for (std::size_t k = i; k < i + count; ++k) {
      if (!IsHex(m_p[k])) return false;
    }
    return true;
  }

  void AppendCodeUnit(unsigned value) {
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    m_out += u"\\x{";
    for (int shift = 12; shift >= 0; shift -= 4) m_out += kHex[(value >> shift) & 0xF];
    m_out += u'}';
  }

  // One character outside a class; false when the dialect refuses it.
  bool Character(std::size_t& i) {
    const char16_t c = m_p[i];
    switch (c) {
      case u'[':
        m_out += u'[';
        m_inClass = true;
        if (At(i + 1, u'^')) m_out += m_p[++i];
        m_last = Last::Atom;
        return true;
      case u'(':
        if (At(i + 1, u'*')) return false;
        if (At(i + 1, u'?')) {
          if (!At(i + 2, u':') && !At(i + 2, u'=') && !At(i + 2, u'!')) return false;
          m_out += m_p.substr(i, 3);
          i += 2;
        } else {
          m_out += u'(';
        }
        m_last = Last::Atom;
        return true;
      case u'^':
        m_out += m_multiline ? u"(?:^|(?<=\\r))" : u"^";
        m_last = Last::Anchor;
        return true;
      case u'$':
        m_out += m_multiline ? u"(?:$|(?=\\r))" : u"$";
        m_last = Last::Anchor;
        return true;
      case u'*':
      case u'+':
      case u'?':
        m_out += c;
        return Quantified(c == u'?');
      case u'{':
        if (const std::size_t length = BraceQuantifierLength(i)) {
          m_out += m_p.substr(i, length);
          i += length - 1;
          return Quantified(false);
        }
        m_out += u"\\{";
        m_last = Last::Atom;
        return true;
      default:
        m_out += c;
        m_last = Last::Atom;
        return true;
    }
  }

  // A quantifier follows an atom; only "?" may follow a quantifier, making it lazy.
  bool Quantified(bool isQuestionMark) {
    if (m_last == Last::Quantifier && isQuestionMark) {
      m_last = Last::LazyQuantifier;
      return true;
    }
    if (m_last != Last::Atom) return false;
    m_last = Last::Quantifier;
    return true;
  }

  // Length of "{n}", "{n,}" or "{n,m}" at i, or 0.
  std::size_t BraceQuantifierLength(std::size_t i) const {
    std::size_t j = i + 1;
    const std::size_t firstDigit = j;
    while (j < m_p.size() && IsDigit(m_p[j])) ++j;
    if (j == firstDigit) return 0;
    if (At(j, u',')) {
      ++j;
      while (j < m_p.size() && IsDigit(m_p[j])) ++j;
    }
    return At(j, u'}') ? j - i + 1 : 0;
  }

  void ClassCharacter(std::size_t i) {
    const char16_t c = m_p[i];
    if (c == u']') {
      m_inClass = false;
      m_out += c;
    } else if (c == u'[') {
      m_out += u"\\[";
    } else if (c == u'-' && At(i + 1, u'\\') && i + 2 < m_p.size() &&
               IsClassShorthand(m_p[i + 2])) {
      m_out += u"\\-";
    } else {
      m_out += c;
    }
  }

  // i indexes a backslash; returns the index of the last character consumed.
  std::size_t Escape(std::size_t i) {
    if (!m_inClass) m_last = Last::Atom;
    if (i + 1 >= m_p.size()) {
      m_out += u'\\';  // PCRE2 refuses a trailing backslash, as the dialect does
      return i;
    }
    const char16_t c = m_p[i + 1];
    if (IsClassShorthand(c)) {
      m_out += u'\\';
      m_out += c;
      if (m_inClass && At(i + 2, u'-') && i + 3 < m_p.size() && m_p[i + 3] != u']') {
        m_out += u"\\-";  // no range can start at a class shorthand
        return i + 2;
      }
      return i + 1;
    }
    switch (c) {
      case u'b':
      case u'B':
        if (m_inClass) {
          m_out += c == u'b' ? u"\\x{0008}" : u"B";
        } else {
          m_out += u'\\';
          m_out += c;
          m_last = Last::Anchor;
        }
        return i + 1;
      case u'f':
      case u'n':
      case u'r':
      case u't':
        m_out += u'\\';
        m_out += c;
        return i + 1;
      case u'v':
        AppendCodeUnit(0x0B);
        return i + 1;
      case u'c':
        if (i + 2 < m_p.size() && IsAsciiLetter(m_p[i + 2])) {
          AppendCodeUnit(m_p[i + 2] % 32);
          return i + 2;
        }
        m_out += u"\\\\";  // a backslash of its own; the "c" follows as itself
        return i;
      case u'x':
      case u'u': {
        const std::size_t digits = c == u'x' ? 2 : 4;
        if (!HexRunAt(i + 2, digits)) break;
        unsigned value = 0;
        for (std::size_t k = i + 2; k < i + 2 + digits; ++k) value = value * 16 + HexValue(m_p[k]);
        AppendCodeUnit(value);
        return i + 1 + digits;
      }
      default:
        if (IsDigit(c)) return DigitEscape(i);
        break;
    }
    if (IsAsciiLetter(c) || IsDigit(c)) {
      m_out += c;  // a letter without a meaning of its own stands for itself
    } else {
      m_out += u'\\';
      m_out += c;
    }
    return i + 1;
  }

  // "\" and digits: a back-reference when the pattern has that many groups (two digits
  // before one), otherwise an octal escape of up to three digits, or the digit itself.
  std::size_t DigitEscape(std::size_t i) {
    const int first = m_p[i + 1] - u'0';
    if (!m_inClass && first != 0) {
      if (i + 2 < m_p.size() && IsDigit(m_p[i + 2])) {
        const int both = first * 10 + (m_p[i + 2] - u'0');
        if (both <= m_groups) return BackReference(both, i + 2);
      }
      if (first <= m_groups) return BackReference(first, i + 1);
    }
    if (!IsOctal(m_p[i + 1])) {
      m_out += m_p[i + 1];
      return i + 1;
    }
    unsigned value = 0;
    std::size_t j = i + 1;
    while (j < m_p.size() && j < i + 4 && IsOctal(m_p[j]) && value * 8 + (m_p[j] - u'0') <= 0377) {
      value = value * 8 + (m_p[j] - u'0');
      ++j;
    }
    AppendCodeUnit(value);
    return j - 1;
  }

  std::size_t BackReference(int group, std::size_t last) {
    m_out += u"\\g{";
    for (char c : std::to_string(group)) m_out += static_cast<char16_t>(c);
    m_out += u'}';
    return last;
  }

  std::u16string_view m_p;
  bool m_multiline;
  int m_groups;
  std::u16string m_out;
  bool m_inClass = false;
  Last m_last = Last::Atom;
};

}  // namespace

std::optional<std::u16string> TranslatePattern(std::u16string_view pattern, bool multiline) {
  return Translator(pattern, multiline).Run();
}

}  // namespace varnola
