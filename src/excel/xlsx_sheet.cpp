#include "excel/xlsx_sheet.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "excel/read_limits.h"
#include "excel/worksheet.h"
#include "excel/xml_text.h"
#include "excel/zip_package.h"

namespace varnola {
namespace {

constexpr double kDays1904To1900 = 1462;

std::optional<std::uint32_t> ToIndex(std::string_view text) {
  std::uint32_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ToNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\n')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.remove_suffix(1);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

// "2017-01-04T12:30:00" and its shorter forms, as the ISO dates of t="d" cells.
CellValue IsoDateValue(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  double serial = -1;
  if (std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s) >= 3) {
    serial = DateSerial(y, mo, d, h, mi, s);
  } else if (std::sscanf(text.c_str(), "%d:%d:%d", &h, &mi, &s) >= 2) {
    serial = DateSerial(0, 0, 0, h, mi, s);
  }
  return serial >= 0 ? CellValue::FromDate(serial) : CellValue::FromText(text);
}

class SheetHandler final : public XmlHandler {
 public:
  SheetHandler(const SheetContext& context, Worksheet& sheet)
      : m_context(context), m_sheet(sheet), m_formatOfStyle(context.styles.size(), -1) {}

  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "row") {
      StartRow(attributes.Get("r"));
    } else if (name == "c") {
      StartCell(attributes);
    } else if (!m_inCell) {
      return;
    } else if (name == "v") {
      m_collect = &m_value;
    } else if (name == "is") {
      m_inInlineString = true;
    } else if (name == "rPh") {
      ++m_phoneticDepth;
    } else if (name == "t" && m_inInlineString && m_phoneticDepth == 0) {
      m_collect = &m_inlineText;
    }
  }

  void EndElement(std::string_view name) override {
    if (name == "v" || name == "t") {
      m_collect = nullptr;
    } else if (name == "rPh") {
      --m_phoneticDepth;
    } else if (name == "is") {
      m_inInlineString = false;
    } else if (name == "c" && m_inCell) {
      FinishCell();
    }
  }

  void Text(std::string_view text) override {
    if (!m_collect) return;
    if (m_collect->size() + text.size() > kMaxTextBytes) {
      failure = ExcelError::TooLarge;
      return;
    }
    m_collect->append(text);
  }

  // The cells that came out of order, placed once the part has been read.
  void PlaceLateCells() { m_sheet.PlaceAll(std::move(m_late)); }

 private:
  void StartRow(std::string_view reference) {
    if (reference.empty()) {
      ++m_row;
    } else if (auto row = ToIndex(reference); row && *row >= 1 && *row <= kMaxSheetRows) {
      m_row = *row;
    } else {
      failure = ExcelError::Damaged;
    }
    m_column = 0;
  }

  // The cell reference is optional: without one a cell follows the one before it.
  void StartCell(const XmlAttributes& attributes) {
    const auto reference = attributes.Get("r");
    if (reference.empty()) {
      m_position = {m_row == 0 ? 1 : m_row, m_column + 1};
    } else if (auto position = ParseCellReference(reference)) {
      m_position = *position;
    } else {
      failure = ExcelError::Damaged;
      return;
    }
    if (m_position.column > kMaxSheetColumns || m_position.row > kMaxSheetRows) {
      failure = ExcelError::Damaged;
      return;
    }
    m_row = m_position.row;
    m_column = m_position.column;
    m_type = attributes.Get("t");
    m_style = ToIndex(attributes.Get("s")).value_or(0);
    m_value.clear();
    m_inlineText.clear();
    m_inCell = true;
  }

  // Cells after the last one placed, as writers put them, go straight into the sheet; any
  // other is kept aside and placed at the end, so that a sheet in descending order cannot
  // cost a move of every cell behind each new one.
  void FinishCell() {
    m_inCell = false;
    m_collect = nullptr;
    CellValue value = CellValueOf();
    const std::uint32_t format = FormatOfStyle();
    if (value.kind == ValueKind::Empty && format == 0) return;
    m_textBytes += value.text.size();
    if (m_textBytes > kMaxSheetTextBytes) {
      failure = ExcelError::TooLarge;
      return;
    }
    if (m_placedAny && !Follows(m_position, m_lastPlaced)) {
      m_late.push_back({m_position, Cell{m_position.column, format, std::move(value)}});
    } else {
      Cell& cell = m_sheet.At(m_position);
      cell.value = std::move(value);
      cell.format = format;
      m_lastPlaced = m_position;
      m_placedAny = true;
    }
    if (m_sheet.CellCount() + m_late.size() > kMaxCells) failure = ExcelError::TooLarge;
  }

  static bool Follows(CellPosition a, CellPosition b) {
    return a.row != b.row ? a.row > b.row : a.column > b.column;
  }

  CellValue CellValueOf() {
    if (m_type == "s") {
      const auto index = ToIndex(m_value);
      if (!index || *index >= m_context.sharedStrings.size()) return {};
      const std::string& text = m_context.sharedStrings[*index];
      return text.empty() ? CellValue{} : CellValue::FromText(text);
    }
    if (m_type == "inlineStr") {
      return m_inlineText.empty() ? CellValue{} : CellValue::FromText(DecodeEscapes(m_inlineText));
    }
    if (m_value.empty()) return {};
    if (m_type == "str") return CellValue::FromText(DecodeEscapes(m_value));
    if (m_type == "b") return CellValue::FromBoolean(m_value == "1" || m_value == "true");
    if (m_type == "e") return CellValue::FromError(m_value);
    if (m_type == "d") return IsoDateValue(m_value);
    const auto number = ToNumber(m_value);
    if (!number) return CellValue::FromText(m_value);
    if (m_style < m_context.styles.size() && m_context.styles[m_style].isDate) {
      return CellValue::FromDate(*number + (m_context.date1904 ? kDays1904To1900 : 0));
    }
    return CellValue::FromNumber(*number);
  }

  std::uint32_t FormatOfStyle() {
    if (m_style >= m_formatOfStyle.size()) return 0;
    auto& format = m_formatOfStyle[m_style];
    if (format < 0) format = m_sheet.Formats().Intern(m_context.styles[m_style].code);
    return static_cast<std::uint32_t>(format);
  }

  const SheetContext& m_context;
  Worksheet& m_sheet;
  std::vector<std::int64_t> m_formatOfStyle;  // workbook format index per style, -1 unknown
  std::uint32_t m_row = 0;
  std::uint32_t m_column = 0;
  CellPosition m_position;
  bool m_inCell = false;
  bool m_inInlineString = false;
  int m_phoneticDepth = 0;
  std::string m_type;
  std::uint32_t m_style = 0;
  std::string m_value;
  std::string m_inlineText;
  std::string* m_collect = nullptr;
  std::uint64_t m_textBytes = 0;
  CellPosition m_lastPlaced;
  bool m_placedAny = false;
  std::vector<PlacedCell> m_late;
};

}  // namespace

ExcelStatus ReadSheetPart(ZipPackage& package, const std::string& partName,
                          const SheetContext& context, Worksheet& sheet) {
  SheetHandler handler(context, sheet);
  const ExcelStatus status = package.ParsePart(partName, handler);
  if (status.ok()) handler.PlaceLateCells();
  return status;
}

}  // namespace varnola
