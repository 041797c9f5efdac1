#pragma once

#include <string>

namespace varnola {

// Why the workbook engine could not open or save a file.
enum class ExcelError {
  None,
  NotStarted,    // no engine instance or no workbook in use
  SeveralFiles,  // more than one path in the dropped text
  NotFound,
  NoPermission,
  IsFolder,
  NotAWorkbook,  // a file of another kind
  Damaged,       // truncated or malformed
  Encrypted,
  Unsafe,    // XML with a document type declaration
  TooLarge,  // over the engine's byte or cell budget
  FolderMissing,
  ReadOnlyFile,
  DiskFull,
  BeyondSheetLimits,
  TextTooLong,
  WriteFailed,
};

// Outcome of opening or saving a workbook; the reason is for the merchant to read.
class ExcelStatus {
 public:
  ExcelStatus() = default;
  explicit ExcelStatus(ExcelError error) : m_error(error) {}

  bool ok() const { return m_error == ExcelError::None; }
  ExcelError error() const { return m_error; }

  // The reason in plain words, as local text; empty when the operation succeeded.
  std::string Reason() const;

 private:
  ExcelError m_error = ExcelError::None;
};

// Maps an errno value of a failed file operation to the merchant's words for it.
ExcelError ErrorFromErrno(int errnoValue, bool writing);

}  // namespace varnola
