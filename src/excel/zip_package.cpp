#include "excel/zip_package.h"

#include <zip.h>

#include <cerrno>

namespace varnola {
namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

ExcelError FromZipError(int code, int systemErrno) {
  switch (code) {
    case ZIP_ER_NOENT:
      return ExcelError::NotFound;
    case ZIP_ER_NOZIP:
      return ExcelError::Damaged;  // it began like one: a truncated archive
    case ZIP_ER_OPEN:
      return ErrorFromErrno(systemErrno, false);
    case ZIP_ER_MEMORY:
      return ExcelError::TooLarge;
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_ENCRNOTSUPP:
      return ExcelError::Encrypted;
    default:
      return ExcelError::Damaged;
  }
}

std::string FolderOf(const std::string& partName) {
  const auto slash = partName.rfind('/');
  return slash == std::string::npos ? std::string() : partName.substr(0, slash + 1);
}

}  // namespace

ZipPackage::~ZipPackage() {
  if (m_archive) zip_discard(m_archive);
}

ExcelStatus ZipPackage::Open(const std::string& utf8Path, std::uint64_t byteBudget) {
  int code = 0;
  m_archive = zip_open(utf8Path.c_str(), ZIP_RDONLY, &code);
  m_budget = byteBudget;
  if (m_archive) return ExcelStatus();
  return ExcelStatus(FromZipError(code, errno));
}

bool ZipPackage::Has(const std::string& partName) const {
  return m_archive && zip_name_locate(m_archive, partName.c_str(), ZIP_FL_NOCASE) >= 0;
}

ExcelStatus ZipPackage::ParsePart(const std::string& partName, XmlHandler& handler) {
  const zip_int64_t index =
      m_archive ? zip_name_locate(m_archive, partName.c_str(), ZIP_FL_NOCASE) : -1;
  if (index < 0) return ExcelStatus(ExcelError::Damaged);
  zip_file_t* file = zip_fopen_index(m_archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) {
    zip_error_t* error = zip_get_error(m_archive);
    return ExcelStatus(FromZipError(zip_error_code_zip(error), zip_error_code_system(error)));
  }
  m_buffer.resize(kChunkSize);
  XmlParser parser(handler);
  ExcelError failure = ExcelError::None;
  for (;;) {
    // The archive's declared sizes are not trusted: only this count stops a bomb.
    const zip_int64_t read = zip_fread(file, m_buffer.data(), m_buffer.size());
    if (read < 0) {
      failure = ExcelError::Damaged;
      break;
    }
    if (static_cast<std::uint64_t>(read) > m_budget) {
      failure = ExcelError::TooLarge;
      break;
    }
    m_budget -= static_cast<std::uint64_t>(read);
    if (!parser.Feed(m_buffer.data(), static_cast<std::size_t>(read), read == 0)) {
      failure = parser.Error();
      break;
    }
    if (read == 0) break;
  }
  zip_fclose(file);
  return ExcelStatus(failure);
}

std::string ResolvePartName(const std::string& sourcePart, const std::string& target) {
  std::string path =
      (!target.empty() && target[0] == '/') ? target.substr(1) : FolderOf(sourcePart) + target;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    auto end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string resolved;
  for (const auto& segment : segments) {
    if (!resolved.empty()) resolved += '/';
    resolved += segment;
  }
  return resolved;
}

std::string RelationshipsPartOf(const std::string& partName) {
  const std::string folder = FolderOf(partName);
  return folder + "_rels/" + partName.substr(folder.size()) + ".rels";
}

}  // namespace varnola
