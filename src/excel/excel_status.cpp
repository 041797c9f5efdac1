#include "excel/excel_status.h"

#include <cerrno>

#include "http/encodings.h"

namespace varnola {

std::string ExcelStatus::Reason() const {
  const char* utf8 = "";
  switch (m_error) {
    case ExcelError::None:
      break;
    case ExcelError::NotStarted:
      utf8 = "表格程序没有准备好工作簿。";
      break;
    case ExcelError::SeveralFiles:
      utf8 = "一次只能拖入一个文件。";
      break;
    case ExcelError::NotFound:
      utf8 = "找不到这个文件。";
      break;
    case ExcelError::NoPermission:
      utf8 = "没有权限访问这个文件或文件夹。";
      break;
    case ExcelError::IsFolder:
      utf8 = "这是一个文件夹，不是文件。";
      break;
    case ExcelError::NotAWorkbook:
      utf8 = "这不是表格文件（可以导入 .xlsx、.xls、.csv 和 .txt 文件）。";
      break;
    case ExcelError::Damaged:
      utf8 = "文件已损坏或格式不正确。";
      break;
    case ExcelError::Encrypted:
      utf8 = "文件设置了密码，请先取消密码再导入。";
      break;
    case ExcelError::Unsafe:
      utf8 = "文件中含有不安全的内容，已拒绝读取。";
      break;
    case ExcelError::TooLarge:
      utf8 = "文件太大，超出了可以读取的范围。";
      break;
    case ExcelError::FolderMissing:
      utf8 = "保存的文件夹不存在。";
      break;
    case ExcelError::ReadOnlyFile:
      utf8 = "原文件是只读的，不能覆盖。";
      break;
    case ExcelError::DiskFull:
      utf8 = "磁盘空间不足。";
      break;
    case ExcelError::BeyondSheetLimits:
      utf8 = "表格的行数或列数超出了工作表的上限。";
      break;
    case ExcelError::TextTooLong:
      utf8 = "有单元格的文字超过了32767个字符。";
      break;
    case ExcelError::WriteFailed:
      utf8 = "写入文件时出错。";
      break;
  }
  return Utf8ToLocal(utf8);
}

ExcelError ErrorFromErrno(int errnoValue, bool writing) {
  switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
      return writing ? ExcelError::FolderMissing : ExcelError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return ExcelError::NoPermission;
    case EISDIR:
      return ExcelError::IsFolder;
    case ENOSPC:
    case EDQUOT:
      return ExcelError::DiskFull;
    case EFBIG:
      return ExcelError::TooLarge;
    default:
      return writing ? ExcelError::WriteFailed : ExcelError::Damaged;
  }
}

}  // namespace varnola
