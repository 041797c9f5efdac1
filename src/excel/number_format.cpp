#include "excel/number_format.h"

namespace varnola {
namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsElapsedTime(std::string_view bracketed) {
  if (bracketed.empty()) return false;
  const char first = LowerAscii(bracketed.front());
  if (first != 'h' && first != 'm' && first != 's') return false;
  for (char c : bracketed) {
    if (LowerAscii(c) != first) return false;
  }
  return true;
}

}  // namespace

bool IsDateFormatCode(std::string_view code) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    switch (c) {
      case ';':
        return false;  // only the first section decides
      case '"': {
        const auto close = code.find('"', i + 1);
        if (close == std::string_view::npos) return false;
        i = close;
        break;
      }
      case '\\':
      case '_':
      case '*':
        ++i;
        break;
      case '[': {
        const auto close = code.find(']', i + 1);
        if (close == std::string_view::npos) return false;
        if (IsElapsedTime(code.substr(i + 1, close - i - 1))) return true;
        i = close;
        break;
      }
      default:
        switch (LowerAscii(c)) {
          case 'y':
          case 'm':
          case 'd':
          case 'h':
          case 's':
            return true;
          default:
            break;
        }
    }
  }
  return false;
}

bool IsBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
         (id >= 50 && id <= 58);
}

std::string BuiltInFormatCode(int id) {
  switch (id) {
    case 1:
      return "0";
    case 2:
      return "0.00";
    case 3:
      return "#,##0";
    case 4:
      return "#,##0.00";
    case 9:
      return "0%";
    case 10:
      return "0.00%";
    case 11:
      return "0.00E+00";
    case 12:
      return "# ?/?";
    case 13:
      return "# ?\?/??";
    case 14:
      return "yyyy/m/d";
    case 15:
      return "d-mmm-yy";
    case 16:
      return "d-mmm";
    case 17:
      return "mmm-yy";
    case 18:
      return "h:mm AM/PM";
    case 19:
      return "h:mm:ss AM/PM";
    case 20:
      return "h:mm";
    case 21:
      return "h:mm:ss";
    case 22:
      return "yyyy/m/d h:mm";
    case 45:
      return "mm:ss";
    case 46:
      return "[h]:mm:ss";
    case 47:
      return "mm:ss.0";
    case 48:
      return "##0.0E+0";
    case 49:
      return "@";
    default:
      break;
  }
  return IsBuiltInDateFormat(id) ? "yyyy/m/d" : "General";
}

}  // namespace varnola
