#include "excel/xlsx_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <xlsxwriter.h>
#include <cerrno>
#include <map>

#include "excel/workbook.h"
#include "excel/xml_text.h"

namespace varnola {
namespace {

ExcelError FromWriterError(lxw_error error) {
  switch (error) {
    case LXW_NO_ERROR:
      return ExcelError::None;
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
      return ExcelError::TextTooLong;
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
      return ExcelError::BeyondSheetLimits;
    default:
      break;
  }
  return (errno == ENOSPC || errno == EDQUOT) ? ExcelError::DiskFull : ExcelError::WriteFailed;
}

// One libxlsxwriter format per number format of the workbook, made when first needed.
class FormatCache {
 public:
  explicit FormatCache(lxw_workbook* book) : m_book(book) {}
  lxw_format* For(const NumberFormats& formats, std::uint32_t index) {
    if (index == 0) return nullptr;
    auto& format = m_formats[index];
    if (!format) {
      format = workbook_add_format(m_book);
      format_set_num_format(format, formats.Code(index).c_str());
    }
    return format;
  }

 private:
  lxw_workbook* m_book;
  std::map<std::uint32_t, lxw_format*> m_formats;
};

lxw_error WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const Cell& cell,
                    lxw_format* format) {
  const CellValue& value = cell.value;
  switch (value.kind) {
    case ValueKind::Text:
    case ValueKind::Error:
      if (value.text.find("_x") != std::string::npos) {
        return worksheet_write_string(sheet, row, column, EscapeLiteralEscapes(value.text).c_str(),
                                      format);
      }
      return worksheet_write_string(sheet, row, column, value.text.c_str(), format);
    case ValueKind::Number:
    case ValueKind::Date:
      return worksheet_write_number(sheet, row, column, value.number, format);
    case ValueKind::Boolean:
      return worksheet_write_boolean(sheet, row, column, value.number != 0, format);
    case ValueKind::Empty:
      return format ? worksheet_write_blank(sheet, row, column, format) : LXW_NO_ERROR;
  }
  return LXW_NO_ERROR;
}

ExcelStatus WriteWorkbook(const Sheets& sheets, const std::string& path) {
  // Constant-memory mode stays off: it drops cells written out of row order.
  lxw_workbook_options options{};
  options.constant_memory = LXW_FALSE;
  lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
  if (!book) return ExcelStatus(ExcelError::WriteFailed);
  FormatCache formats(book);
  for (int index = 1; index <= sheets.Count(); ++index) {
    const auto sheet = sheets.Item(index);
    lxw_worksheet* target = workbook_add_worksheet(book, sheet->Name().c_str());
    if (!target) {
      lxw_workbook_free(book);
      return ExcelStatus(ExcelError::WriteFailed);
    }
    for (const SheetRow& row : sheet->Rows()) {
      for (const Cell& cell : row.cells) {
        if (row.number > kMaxSheetRows || cell.column > kMaxSheetColumns) {
          lxw_workbook_free(book);
          return ExcelStatus(ExcelError::BeyondSheetLimits);
        }
        const lxw_error error =
            WriteCell(target, row.number - 1, static_cast<lxw_col_t>(cell.column - 1), cell,
                      formats.For(sheet->Formats(), cell.format));
        if (error != LXW_NO_ERROR) {
          lxw_workbook_free(book);
          return ExcelStatus(FromWriterError(error));
        }
      }
    }
  }
  errno = 0;
  return ExcelStatus(FromWriterError(workbook_close(book)));
}

// Makes sure the bytes reached the disk, so a full disk is noticed before the rename.
ExcelStatus Flush(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ExcelStatus(ErrorFromErrno(errno, true));
  const bool synced = ::fsync(fd) == 0;
  const int syncError = errno;
  ::close(fd);
  return synced ? ExcelStatus() : ExcelStatus(ErrorFromErrno(syncError, true));
}

}  // namespace

std::string WithDefaultExtension(std::string utf8Path) {
  const auto slash = utf8Path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (nameStart < utf8Path.size() && utf8Path.find('.', nameStart + 1) == std::string::npos) {
    utf8Path += ".xlsx";
  }
  return utf8Path;
}

std::string EscapeLiteralEscapes(const std::string& utf8) {
  if (utf8.find("_x") == std::string::npos) return utf8;
  std::string escaped;
  escaped.reserve(utf8.size() + 8);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (IsEscapeAt(utf8, i)) escaped += "_x005F";
    escaped += utf8[i];
  }
  return escaped;
}

ExcelStatus SaveXlsx(const Sheets& sheets, const std::string& utf8Path) {
  const auto slash = utf8Path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : utf8Path.substr(0, slash);
  if (utf8Path.empty() || slash + 1 == utf8Path.size()) return ExcelStatus(ExcelError::IsFolder);

  struct stat existing {};
  const bool exists = ::stat(utf8Path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return ExcelStatus(ExcelError::IsFolder);
  if (exists && ::access(utf8Path.c_str(), W_OK) != 0) {
    return ExcelStatus(ExcelError::ReadOnlyFile);
  }

  std::string temporary = folder + "/.~export-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return ExcelStatus(ErrorFromErrno(errno, true));
  ::fchmod(fd, exists ? (existing.st_mode & 07777) : 0644);
  ::close(fd);

  ExcelStatus status = WriteWorkbook(sheets, temporary);
  if (status.ok()) status = Flush(temporary);
  if (status.ok() && ::rename(temporary.c_str(), utf8Path.c_str()) != 0) {
    status = ExcelStatus(ErrorFromErrno(errno, true));
  }
  if (!status.ok()) ::unlink(temporary.c_str());
  return status;
}

}  // namespace varnola
