#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "excel/excel_status.h"
#include "excel/xml_reader.h"

struct zip;

namespace varnola {

// The parts of an .xlsx package, read through one byte budget: every inflated byte of
// every part counts, whatever sizes the archive declares.
class ZipPackage {
 public:
  ZipPackage() = default;
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  ExcelStatus Open(const std::string& utf8Path, std::uint64_t byteBudget);
  bool Has(const std::string& partName) const;

  // Streams one part through an XML parser into the handler.
  ExcelStatus ParsePart(const std::string& partName, XmlHandler& handler);

 private:
  zip* m_archive = nullptr;
  std::uint64_t m_budget = 0;
  std::vector<char> m_buffer;
};

// Part names as the package's relationships give them: a target relative to the part
// that refers to it, or absolute from the package root.
std::string ResolvePartName(const std::string& sourcePart, const std::string& target);

// The relationships part that belongs to a part: "xl/workbook.xml" ->
// "xl/_rels/workbook.xml.rels".
std::string RelationshipsPartOf(const std::string& partName);

}  // namespace varnola
