#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "excel/excel_status.h"

struct XML_ParserStruct;

namespace varnola {

// The attributes of one element, looked up by local name (namespace prefixes dropped).
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** pairs) : m_pairs(pairs) {}
  // Empty when the attribute is missing.
  std::string_view Get(std::string_view localName) const;
  bool Has(std::string_view localName) const;

 private:
  const char** m_pairs;
};

// Receives the elements of a document by local name. A handler that meets something it
// cannot accept sets `failure`; the parse then stops.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void StartElement(std::string_view name, const XmlAttributes& attributes) = 0;
  virtual void EndElement(std::string_view name) = 0;
  virtual void Text(std::string_view) {}

  ExcelError failure = ExcelError::None;
};

// A streaming XML parser that refuses any document type declaration, and with it
// external entities and entity expansion, and any tag longer than kMaxMarkupBytes.
class XmlParser {
 public:
  explicit XmlParser(XmlHandler& handler);
  ~XmlParser();
  XmlParser(const XmlParser&) = delete;
  XmlParser& operator=(const XmlParser&) = delete;

  // Feeds the next piece of the document; false once it failed.
  bool Feed(const char* data, std::size_t size, bool last);
  ExcelError Error() const { return m_error; }

 private:
  static void OnStart(void* self, const char* name, const char** attributes);
  static void OnEnd(void* self, const char* name);
  static void OnText(void* self, const char* text, int length);
  static void OnDoctype(void* self, const char*, const char*, const char*, int);
  void Fail(ExcelError error);

  XML_ParserStruct* m_parser;
  XmlHandler& m_handler;
  ExcelError m_error = ExcelError::None;
  std::uint64_t m_fed = 0;  // bytes handed to the parser so far
};

}  // namespace varnola
