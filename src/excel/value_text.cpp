#include "excel/cell_value.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace varnola {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

constexpr double kLastSerial = 2958466;  // 10000-01-01
constexpr int kFakeLeapDay = 60;         // 1900-02-29, which the 1900 date system counts

// Day 1 is 1900-01-01; from day 61 on the fake leap day shifts the count by one.
sys_days SerialBase(long long serialDay) {
  return sys_days{year{1899} / 12 / (serialDay < kFakeLeapDay ? 31 : 30)};
}

std::string ShortestText(double number, std::chars_format format) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, format);
  std::string text(buffer, result.ptr);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text;
}

}  // namespace

std::string NumberText(double number) {
  if (!std::isfinite(number)) return "#NUM!";
  if (number == 0) return "0";
  const double magnitude = std::fabs(number);
  if (magnitude < 1e15 && number == std::trunc(number)) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.0f", number);
    return buffer;
  }
  if (magnitude >= 1e-5 && magnitude < 1e15) return ShortestText(number, std::chars_format::fixed);
  return ShortestText(number, std::chars_format::general);
}

std::string DateText(double serial) {
  if (!(serial >= 0 && serial < kLastSerial)) return {};
  const long long total = std::llround(serial * 86400.0);
  const long long serialDay = total / 86400;
  const long long second = total % 86400;
  char time[32];
  std::snprintf(time, sizeof time, "%lld:%02lld:%02lld", second / 3600, second / 60 % 60,
                second % 60);
  if (serialDay == 0) return time;
  char date[32];
  if (serialDay == kFakeLeapDay) {
    std::snprintf(date, sizeof date, "1900/2/29");
  } else {
    const year_month_day ymd{SerialBase(serialDay) + days{serialDay}};
    std::snprintf(date, sizeof date, "%d/%u/%u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  }
  return second == 0 ? std::string(date) : std::string(date) + " " + time;
}

double DateSerial(int y, int m, int d, int hour, int minute, int second) {
  const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  if (y == 0 && m == 0 && d == 0) return time;  // a bare time
  if (y == 1900 && m == 2 && d == 29) return kFakeLeapDay + time;
  const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!ymd.ok() || y < 1900 || y > 9999) return -1;
  long long serialDay = (sys_days{ymd} - SerialBase(kFakeLeapDay + 1)).count();
  if (serialDay <= kFakeLeapDay) serialDay = (sys_days{ymd} - SerialBase(1)).count();
  return static_cast<double>(serialDay) + time;
}

std::string ValueToText(const CellValue& value) {
  switch (value.kind) {
    case ValueKind::Empty:
      return {};
    case ValueKind::Text:
    case ValueKind::Error:
      return value.text;
    case ValueKind::Number:
      return NumberText(value.number);
    case ValueKind::Boolean:
      return value.number != 0 ? "True" : "False";
    case ValueKind::Date: {
      std::string text = DateText(value.number);
      return text.empty() ? NumberText(value.number) : text;
    }
  }
  return {};
}

}  // namespace varnola
