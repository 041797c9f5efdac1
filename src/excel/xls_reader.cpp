#include "excel/xls_reader.h"

#include <freexl.h>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "excel/child_process.h"
#include "excel/read_limits.h"
#include "excel/workbook.h"

namespace varnola {
namespace {

// The BIFF reader is a third-party library that hostile files have been seen to make read
// past its buffers and loop for minutes, so it runs in a child process of its own: the
// child sends the first sheet's cells back, and whatever happens to it, the import ends
// with a reason within these limits.
constexpr ChildLimits kReaderLimits{.wallTime = std::chrono::milliseconds(8'000),
                                    .cpuSeconds = 8,
                                    .extraAddressSpace = 2ull << 30,
                                    .maxOutput = kMaxInflatedBytes};

// What the child sends, in this order: the sheet's name when there is a sheet, one record
// per cell that holds something, and always, last, the outcome.
constexpr char kSheetRecord = 'S';
constexpr char kCellRecord = 'C';
constexpr char kEndRecord = 'E';

ExcelError FromFreexlError(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND:
      return ExcelError::NotFound;
    case FREEXL_INSUFFICIENT_MEMORY:
      return ExcelError::TooLarge;
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
      return ExcelError::NotAWorkbook;
    default:
      return ExcelError::Damaged;
  }
}

template <typename T>
void Put(ChildWriter& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.Write(std::string_view(bytes, sizeof(T)));
}

void PutText(ChildWriter& out, const char* text) {
  const std::string_view view = text ? std::string_view(text) : std::string_view();
  Put(out, static_cast<std::uint32_t>(view.size()));
  out.Write(view);
}

int End(ChildWriter& out, ExcelError error) {
  out.Write(std::string_view(&kEndRecord, 1));
  Put(out, static_cast<std::uint8_t>(error));
  return 0;
}

bool IsTextType(unsigned char type) {
  return type == FREEXL_CELL_TEXT || type == FREEXL_CELL_SST_TEXT || type == FREEXL_CELL_DATE ||
         type == FREEXL_CELL_DATETIME || type == FREEXL_CELL_TIME;
}

// Runs in the child: the library's view of the first worksheet, as records.
int SendFirstSheet(const std::string& utf8Path, ChildWriter& out) {
  const void* handle = nullptr;  // the child's end frees it
  const int opened = freexl_open(utf8Path.c_str(), &handle);
  if (opened != FREEXL_OK) return End(out, FromFreexlError(opened));

  unsigned int info = 0;
  if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
      info == FREEXL_BIFF_OBFUSCATED) {
    return End(out, ExcelError::Encrypted);
  }
  unsigned int sheetCount = 0;
  if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK) {
    return End(out, ExcelError::Damaged);
  }
  if (sheetCount == 0) return End(out, ExcelError::None);

  const char* name = nullptr;
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_get_worksheet_name(handle, 0, &name) != FREEXL_OK ||
      freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
      freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
    return End(out, ExcelError::Damaged);
  }
  out.Write(std::string_view(&kSheetRecord, 1));
  PutText(out, name);
  std::size_t cells = 0;
  for (unsigned int row = 0; row < rows && row < kMaxSheetRows; ++row) {
    for (unsigned short column = 0; column < columns; ++column) {
      FreeXL_CellValue cell{};
      if (freexl_get_cell_value(handle, row, column, &cell) != FREEXL_OK) continue;
      if (cell.type == FREEXL_CELL_NULL) continue;
      if (IsTextType(cell.type) && !(cell.value.text_value && *cell.value.text_value)) continue;
      if (++cells > kMaxCells) return End(out, ExcelError::TooLarge);
      out.Write(std::string_view(&kCellRecord, 1));
      Put(out, static_cast<std::uint32_t>(row));
      Put(out, static_cast<std::uint16_t>(column));
      Put(out, static_cast<std::uint8_t>(cell.type));
      if (cell.type == FREEXL_CELL_INT) {
        Put(out, static_cast<std::int32_t>(cell.value.int_value));
      } else if (cell.type == FREEXL_CELL_DOUBLE) {
        Put(out, cell.value.double_value);
      } else {
        PutText(out, IsTextType(cell.type) ? cell.value.text_value : nullptr);
      }
    }
  }
  return End(out, ExcelError::None);
}

// The records as the parent reads them; any record that does not add up is damage.
class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : m_bytes(bytes) {}

  bool AtEnd() const { return m_bytes.empty(); }

  template <typename T>
  std::optional<T> Take() {
    if (m_bytes.size() < sizeof(T)) return std::nullopt;
    T value;
    std::memcpy(&value, m_bytes.data(), sizeof(T));
    m_bytes.remove_prefix(sizeof(T));
    return value;
  }

  std::optional<std::string_view> TakeText() {
    const auto size = Take<std::uint32_t>();
    if (!size || m_bytes.size() < *size) return std::nullopt;
    const std::string_view text = m_bytes.substr(0, *size);
    m_bytes.remove_prefix(*size);
    return text;
  }

 private:
  std::string_view m_bytes;
};

// The reader gives dates and times as "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS".
CellValue DateValue(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  double serial = -1;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) >= 3) {
    serial = DateSerial(y, mo, d, h, mi, s);
  } else if (std::sscanf(text.c_str(), "%d:%d:%d", &h, &mi, &s) == 3) {
    serial = DateSerial(0, 0, 0, h, mi, s);
  }
  return serial >= 0 ? CellValue::FromDate(serial) : CellValue::FromText(text);
}

// One cell record after its position; nothing when the record is cut short.
std::optional<CellValue> TakeValue(RecordReader& in) {
  const auto type = in.Take<std::uint8_t>();
  if (!type) return std::nullopt;
  if (*type == FREEXL_CELL_INT) {
    const auto number = in.Take<std::int32_t>();
    return number ? std::optional(CellValue::FromNumber(*number)) : std::nullopt;
  }
  if (*type == FREEXL_CELL_DOUBLE) {
    const auto number = in.Take<double>();
    return number ? std::optional(CellValue::FromNumber(*number)) : std::nullopt;
  }
  const auto text = in.TakeText();
  if (!text) return std::nullopt;
  if (*type == FREEXL_CELL_TEXT || *type == FREEXL_CELL_SST_TEXT) {
    return text->empty() ? CellValue{} : CellValue::FromText(std::string(*text));
  }
  if (IsTextType(*type)) return text->empty() ? CellValue{} : DateValue(std::string(*text));
  return CellValue{};
}

// The outcomes the child reports; anything else cannot have come from it.
std::optional<ExcelError> ReportedError(std::uint8_t code) {
  for (const ExcelError error :
       {ExcelError::None, ExcelError::NotFound, ExcelError::NotAWorkbook, ExcelError::Damaged,
        ExcelError::Encrypted, ExcelError::TooLarge}) {
    if (code == static_cast<std::uint8_t>(error)) return error;
  }
  return std::nullopt;
}

ExcelStatus AddSheet(std::string_view records, Sheets& sheets) {
  RecordReader in(records);
  Worksheet* sheet = nullptr;
  std::uint64_t textBytes = 0;
  while (!in.AtEnd()) {
    const auto kind = in.Take<char>();
    if (kind == kEndRecord) {
      const auto code = in.Take<std::uint8_t>();
      const auto error = code ? ReportedError(*code) : std::nullopt;
      if (!error || !in.AtEnd()) break;
      return ExcelStatus(*error);
    }
    if (kind == kSheetRecord && !sheet) {
      const auto name = in.TakeText();
      if (!name) break;
      sheet = &sheets.Add(name->empty() ? "Sheet1" : std::string(*name));
      continue;
    }
    if (kind != kCellRecord || !sheet) break;
    const auto row = in.Take<std::uint32_t>();
    const auto column = in.Take<std::uint16_t>();
    auto value = row && column ? TakeValue(in) : std::nullopt;
    if (!value) break;
    if (value->kind == ValueKind::Empty) continue;
    textBytes += value->text.size();
    if (textBytes > kMaxSheetTextBytes) return ExcelStatus(ExcelError::TooLarge);
    sheet->At({*row + 1, *column + 1u}).value = std::move(*value);
    if (sheet->CellCount() > kMaxCells) return ExcelStatus(ExcelError::TooLarge);
  }
  return ExcelStatus(ExcelError::Damaged);  // the child ended before its last record
}

}  // namespace

ExcelStatus ReadXls(const std::string& utf8Path, Sheets& sheets) {
  const ChildResult read = RunInChild(
      [&utf8Path](ChildWriter& out) { return SendFirstSheet(utf8Path, out); }, kReaderLimits);
  switch (read.outcome) {
    case ChildOutcome::Finished:
      return AddSheet(read.output, sheets);
    case ChildOutcome::OutputTooLarge:
    case ChildOutcome::NotStarted:
      return ExcelStatus(ExcelError::TooLarge);
    case ChildOutcome::Failed:
    case ChildOutcome::Crashed:
    case ChildOutcome::TimedOut:
      break;
  }
  return ExcelStatus(ExcelError::Damaged);
}

}  // namespace varnola
