#include "excel/text_table_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "excel/read_limits.h"
#include "excel/workbook.h"
#include "http/encodings.h"

namespace varnola {
namespace {

bool StartsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

ExcelStatus ReadWholeFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ExcelStatus(ErrorFromErrno(errno, false));
  struct stat info {};
  ExcelStatus status;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    status = ExcelStatus(ExcelError::NotAWorkbook);
  } else if (static_cast<std::uint64_t>(info.st_size) > kMaxTextFileBytes) {
    status = ExcelStatus(ExcelError::TooLarge);
  } else {
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);  // a file that shrank meanwhile is read as far as it goes
  }
  ::close(fd);
  return status;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  return FromWideText(units, kCodePageUtf8);
}

}  // namespace

std::string DecodeTextFile(std::string bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return bytes.substr(3);
  if (StartsWith(bytes, "\xFF\xFE")) return Utf16ToUtf8(std::string_view(bytes).substr(2), false);
  if (StartsWith(bytes, "\xFE\xFF")) return Utf16ToUtf8(std::string_view(bytes).substr(2), true);
  if (IsValidUtf8(bytes)) return bytes;
  return LocalToUtf8(bytes);  // local text is GB18030
}

ExcelStatus ParseDelimitedText(std::string_view text, char delimiter, Worksheet& sheet) {
  std::uint32_t row = 1;
  std::uint32_t column = 1;
  std::string field;
  bool quoted = false;
  bool fieldStarted = false;

  auto endField = [&]() -> bool {
    if (!field.empty()) {
      if (row > kMaxSheetRows || column > kMaxSheetColumns) return false;
      sheet.At({row, column}).value = CellValue::FromText(std::move(field));
      if (sheet.CellCount() > kMaxCells) return false;
    }
    field.clear();
    fieldStarted = false;
    ++column;
    return true;
  };

  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
      continue;
    }
    if (c == '"' && !fieldStarted) {
      quoted = fieldStarted = true;
    } else if (c == delimiter) {
      if (!endField()) return ExcelStatus(ExcelError::TooLarge);
    } else if (c == '\r' || c == '\n') {
      if (!endField()) return ExcelStatus(ExcelError::TooLarge);
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++row;
      column = 1;
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (!endField()) return ExcelStatus(ExcelError::TooLarge);
  return ExcelStatus();
}

ExcelStatus ReadTextTable(const std::string& utf8Path, char delimiter, Sheets& sheets) {
  std::string bytes;
  const ExcelStatus status = ReadWholeFile(utf8Path, bytes);
  if (!status.ok()) return status;
  return ParseDelimitedText(DecodeTextFile(std::move(bytes)), delimiter, sheets.Add("Sheet1"));
}

}  // namespace varnola
