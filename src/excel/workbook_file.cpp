#include "excel/workbook_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "excel/text_table_reader.h"
#include "excel/xls_reader.h"
#include "excel/xlsx_reader.h"
#include "http/local_text.h"

namespace varnola {
namespace {

constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::string_view kEmptyZipMagic = "PK\x05\x06";
constexpr std::string_view kCompoundMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

std::string Extension(const std::string& path) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return LowerAscii(path.substr(dot + 1));
}

// The first bytes of a regular file; never blocks on a pipe or a device.
ExcelStatus ReadMagic(const std::string& path, std::string& magic) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ExcelStatus(ErrorFromErrno(errno, false));
  struct stat info {};
  ExcelStatus status;
  if (::fstat(fd, &info) != 0) {
    status = ExcelStatus(ErrorFromErrno(errno, false));
  } else if (S_ISDIR(info.st_mode)) {
    status = ExcelStatus(ExcelError::IsFolder);
  } else if (!S_ISREG(info.st_mode)) {
    status = ExcelStatus(ExcelError::NotAWorkbook);
  } else {
    magic.resize(kCompoundMagic.size());
    const ssize_t got = ::read(fd, magic.data(), magic.size());
    magic.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  ::close(fd);
  return status;
}

}  // namespace

ExcelStatus ReadWorkbookFile(const std::string& utf8Path, Sheets& sheets) {
  if (utf8Path.empty()) return ExcelStatus(ExcelError::NotFound);
  std::string magic;
  const ExcelStatus status = ReadMagic(utf8Path, magic);
  if (!status.ok()) return status;
  const std::string_view head(magic);
  if (head.substr(0, 4) == kZipMagic || head.substr(0, 4) == kEmptyZipMagic) {
    return ReadXlsx(utf8Path, sheets);
  }
  if (head == kCompoundMagic) return ReadXls(utf8Path, sheets);
  const std::string extension = Extension(utf8Path);
  if (extension == "csv") return ReadTextTable(utf8Path, ',', sheets);
  if (extension == "txt") return ReadTextTable(utf8Path, '\t', sheets);
  return ExcelStatus(ExcelError::NotAWorkbook);
}

}  // namespace varnola
