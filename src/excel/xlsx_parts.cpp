#include "excel/xlsx_parts.h"

#include <charconv>
#include <map>

#include "excel/number_format.h"
#include "excel/read_limits.h"
#include "excel/xml_text.h"
#include "excel/zip_package.h"

namespace varnola {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

int ToInt(std::string_view text, int fallback = -1) {
  int value = fallback;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return (result.ec == std::errc() && result.ptr == text.data() + text.size()) ? value : fallback;
}

class RelationshipsHandler final : public XmlHandler {
 public:
  RelationshipsHandler(const std::string& sourcePart, std::vector<Relationship>& out)
      : m_sourcePart(sourcePart), m_out(out) {}
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name != "Relationship") return;
    if (m_out.size() >= kMaxPackageEntries) {
      failure = ExcelError::TooLarge;
      return;
    }
    const bool external = attributes.Get("TargetMode") == "External";
    const std::string target(attributes.Get("Target"));
    m_out.push_back({std::string(attributes.Get("Id")), std::string(attributes.Get("Type")),
                     external ? std::string() : ResolvePartName(m_sourcePart, target)});
  }
  void EndElement(std::string_view) override {}

 private:
  const std::string& m_sourcePart;
  std::vector<Relationship>& m_out;
};

class WorkbookHandler final : public XmlHandler {
 public:
  explicit WorkbookHandler(WorkbookPart& out) : m_out(out) {}
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "workbookPr") {
      const auto flag = attributes.Get("date1904");
      m_out.date1904 = flag == "1" || flag == "true";
    } else if (name == "sheet") {
      if (m_out.sheets.size() >= kMaxPackageEntries) {
        failure = ExcelError::TooLarge;
        return;
      }
      m_out.sheets.push_back(
          {std::string(attributes.Get("name")), std::string(attributes.Get("id"))});
    }
  }
  void EndElement(std::string_view) override {}

 private:
  WorkbookPart& m_out;
};

// Number formats by id, then the cell styles (cellXfs) that refer to them.
class StylesHandler final : public XmlHandler {
 public:
  explicit StylesHandler(std::vector<StyleFormat>& out) : m_out(out) {}
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "numFmt") {
      if (m_custom.size() >= kMaxPackageEntries) {
        failure = ExcelError::TooLarge;
        return;
      }
      m_custom[ToInt(attributes.Get("numFmtId"))] = std::string(attributes.Get("formatCode"));
    } else if (name == "cellXfs") {
      m_inCellStyles = true;
    } else if (name == "xf" && m_inCellStyles) {
      if (m_out.size() >= kMaxPackageEntries) {
        failure = ExcelError::TooLarge;
        return;
      }
      const int id = ToInt(attributes.Get("numFmtId"), 0);
      const auto custom = m_custom.find(id);
      if (custom != m_custom.end()) {
        m_out.push_back({custom->second, IsDateFormatCode(custom->second)});
      } else {
        m_out.push_back({BuiltInFormatCode(id), IsBuiltInDateFormat(id)});
      }
    }
  }
  void EndElement(std::string_view name) override {
    if (name == "cellXfs") m_inCellStyles = false;
  }

 private:
  std::vector<StyleFormat>& m_out;
  std::map<int, std::string> m_custom;
  bool m_inCellStyles = false;
};

// Each <si> is the text of its <t> elements, rich-text runs joined, phonetic runs left out.
class SharedStringsHandler final : public XmlHandler {
 public:
  explicit SharedStringsHandler(std::vector<std::string>& out) : m_out(out) {}
  void StartElement(std::string_view name, const XmlAttributes&) override {
    if (name == "si") {
      m_text.clear();
    } else if (name == "rPh") {
      ++m_phoneticDepth;
    } else if (name == "t" && m_phoneticDepth == 0) {
      m_collecting = true;
    }
  }
  void EndElement(std::string_view name) override {
    if (name == "t") {
      m_collecting = false;
    } else if (name == "rPh") {
      --m_phoneticDepth;
    } else if (name == "si") {
      if (m_out.size() >= kMaxCells) {
        failure = ExcelError::TooLarge;
        return;
      }
      m_out.push_back(DecodeEscapes(std::move(m_text)));
      m_text.clear();
    }
  }
  void Text(std::string_view text) override {
    if (!m_collecting) return;
    if (m_text.size() + text.size() > kMaxTextBytes) {
      failure = ExcelError::TooLarge;
      return;
    }
    m_text.append(text);
  }

 private:
  std::vector<std::string>& m_out;
  std::string m_text;
  int m_phoneticDepth = 0;
  bool m_collecting = false;
};

}  // namespace

ExcelStatus ReadRelationships(ZipPackage& package, const std::string& sourcePart,
                              std::vector<Relationship>& relationships) {
  const std::string relsPart = RelationshipsPartOf(sourcePart);
  if (!package.Has(relsPart)) return ExcelStatus();
  RelationshipsHandler handler(sourcePart, relationships);
  return package.ParsePart(relsPart, handler);
}

std::string FindTarget(const std::vector<Relationship>& relationships, const std::string& kind) {
  for (const auto& relationship : relationships) {
    if (EndsWith(relationship.type, "/" + kind) && !relationship.targetPart.empty()) {
      return relationship.targetPart;
    }
  }
  return {};
}

ExcelStatus ReadWorkbookPart(ZipPackage& package, const std::string& partName,
                             WorkbookPart& workbook) {
  WorkbookHandler handler(workbook);
  return package.ParsePart(partName, handler);
}

ExcelStatus ReadStyles(ZipPackage& package, const std::string& partName,
                       std::vector<StyleFormat>& styles) {
  StylesHandler handler(styles);
  return package.ParsePart(partName, handler);
}

ExcelStatus ReadSharedStrings(ZipPackage& package, const std::string& partName,
                              std::vector<std::string>& strings) {
  SharedStringsHandler handler(strings);
  return package.ParsePart(partName, handler);
}

}  // namespace varnola
