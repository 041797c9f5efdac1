#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "excel/excel_status.h"

namespace varnola {

class ZipPackage;

struct Relationship {
  std::string id;
  std::string type;
  std::string targetPart;  // resolved to a part name; empty for external targets
};

// The relationships of a part; none when the part has no relationships part.
ExcelStatus ReadRelationships(ZipPackage& package, const std::string& sourcePart,
                              std::vector<Relationship>& relationships);

// The target of the first relationship whose type ends with "/" + kind.
std::string FindTarget(const std::vector<Relationship>& relationships, const std::string& kind);

struct SheetEntry {
  std::string name;
  std::string relationshipId;
};

struct WorkbookPart {
  bool date1904 = false;
  std::vector<SheetEntry> sheets;  // in the workbook's order
};

ExcelStatus ReadWorkbookPart(ZipPackage& package, const std::string& partName,
                             WorkbookPart& workbook);

// The number format of one cell style, by the style's index.
struct StyleFormat {
  std::string code;
  bool isDate = false;
};

ExcelStatus ReadStyles(ZipPackage& package, const std::string& partName,
                       std::vector<StyleFormat>& styles);

ExcelStatus ReadSharedStrings(ZipPackage& package, const std::string& partName,
                              std::vector<std::string>& strings);

}  // namespace varnola
