#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace varnola::sim {

// Times of the generated data are seconds since 1970-01-01 00:00 in the mall's own
// time zone; they are formatted by calendar arithmetic, never by the host's clock.
struct CivilTime {
  int year, month, day, hour, minute, second;
};

inline CivilTime ToCivil(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  const int secondOfDay = static_cast<int>(seconds % 86400);
  days += 719468;  // days from 0000-03-01 to 1970-01-01
  const std::int64_t era = days / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

// "2019-07-15 12:34:56"
inline std::string FormatDateTime(std::int64_t seconds) {
  const CivilTime t = ToCivil(seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

// "20190715123456"
inline std::string CompactDateTime(std::int64_t seconds) {
  const CivilTime t = ToCivil(seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

inline constexpr std::int64_t kFirstOrderTime = 1559376000;  // 2019-06-01 08:00:00

}  // namespace varnola::sim
