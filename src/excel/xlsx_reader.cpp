#include "excel/xlsx_reader.h"

#include "excel/read_limits.h"
#include "excel/workbook.h"
#include "excel/xlsx_parts.h"
#include "excel/xlsx_sheet.h"
#include "excel/zip_package.h"

namespace varnola {
namespace {

constexpr const char* kDefaultWorkbookPart = "xl/workbook.xml";

// The first sheet in the workbook's own order that is a worksheet (not a chart sheet).
const SheetEntry* FirstWorksheet(const WorkbookPart& workbook,
                                 const std::vector<Relationship>& relationships,
                                 std::string& partName) {
  for (const auto& sheet : workbook.sheets) {
    for (const auto& relationship : relationships) {
      if (relationship.id != sheet.relationshipId || relationship.targetPart.empty()) continue;
      const auto& type = relationship.type;
      if (type.size() >= 10 && type.compare(type.size() - 10, 10, "/worksheet") == 0) {
        partName = relationship.targetPart;
        return &sheet;
      }
    }
  }
  return nullptr;
}

}  // namespace

ExcelStatus ReadXlsx(const std::string& utf8Path, Sheets& sheets) {
  ZipPackage package;
  ExcelStatus status = package.Open(utf8Path, kMaxInflatedBytes);
  if (!status.ok()) return status;

  std::vector<Relationship> packageRelationships;
  status = ReadRelationships(package, "", packageRelationships);
  if (!status.ok()) return status;
  std::string workbookPart = FindTarget(packageRelationships, "officeDocument");
  if (workbookPart.empty()) workbookPart = kDefaultWorkbookPart;
  // A zip archive without a workbook is some other kind of document.
  if (!package.Has(workbookPart)) return ExcelStatus(ExcelError::NotAWorkbook);

  WorkbookPart workbook;
  status = ReadWorkbookPart(package, workbookPart, workbook);
  if (!status.ok()) return status;
  std::vector<Relationship> relationships;
  status = ReadRelationships(package, workbookPart, relationships);
  if (!status.ok()) return status;

  std::string sheetPart;
  const SheetEntry* first = FirstWorksheet(workbook, relationships, sheetPart);
  if (!first || !package.Has(sheetPart)) return ExcelStatus(ExcelError::Damaged);

  std::vector<StyleFormat> styles;
  if (const auto part = FindTarget(relationships, "styles"); !part.empty() && package.Has(part)) {
    status = ReadStyles(package, part, styles);
    if (!status.ok()) return status;
  }
  std::vector<std::string> sharedStrings;
  if (const auto part = FindTarget(relationships, "sharedStrings");
      !part.empty() && package.Has(part)) {
    status = ReadSharedStrings(package, part, sharedStrings);
    if (!status.ok()) return status;
  }
  const SheetContext context{sharedStrings, styles, workbook.date1904};
  return ReadSheetPart(package, sheetPart, context, sheets.Add(first->name));
}

}  // namespace varnola
