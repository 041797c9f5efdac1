#pragma once

#include <cstdint>
#include <string>

namespace varnola {

// What a cell of the workbook engine holds. Texts are UTF-8, as inside the files.
enum class ValueKind : std::uint8_t { Empty, Text, Number, Boolean, Date, Error };

struct CellValue {
  ValueKind kind = ValueKind::Empty;
  // Number; Boolean as 0 or 1; Date as a serial day number of the 1900 date system.
  double number = 0;
  // Text; Error as its code ("#N/A").
  std::string text;

  static CellValue FromText(std::string utf8) {
    return CellValue{ValueKind::Text, 0, std::move(utf8)};
  }
  static CellValue FromNumber(double value) { return CellValue{ValueKind::Number, value, {}}; }
  static CellValue FromBoolean(bool value) {
    return CellValue{ValueKind::Boolean, value ? 1.0 : 0.0, {}};
  }
  static CellValue FromDate(double serial) { return CellValue{ValueKind::Date, serial, {}}; }
  static CellValue FromError(std::string code) {
    return CellValue{ValueKind::Error, 0, std::move(code)};
  }
};

// The value as text, the way the automation variant-to-string conversion shows it:
// numbers in their shortest round-trip form, dates as "yyyy/m/d h:mm:ss" (the time left
// out at midnight, the date left out for a bare time), booleans as "True" and "False",
// errors by their code.
std::string ValueToText(const CellValue& value);

// Integers below 10^15 in plain digits; other values as the shortest decimal that reads
// back to the same double, in plain notation from 1E-05 up and with an exponent else.
std::string NumberText(double number);

// Empty when the serial is outside 0 .. 9999-12-31.
std::string DateText(double serial);

// Serial day number of a calendar date and time (1900 date system, with its
// 29 February 1900), or a negative number when the date is not one.
double DateSerial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace varnola
