#include "excel/xml_reader.h"

#include <expat.h>
#include <cstring>

#include "excel/read_limits.h"

namespace varnola {
namespace {

constexpr char kNamespaceSeparator = '|';

std::string_view LocalName(const char* name) {
  const char* separator = std::strrchr(name, kNamespaceSeparator);
  return separator ? std::string_view(separator + 1) : std::string_view(name);
}

}  // namespace

std::string_view XmlAttributes::Get(std::string_view localName) const {
  for (const char** pair = m_pairs; pair && pair[0]; pair += 2) {
    if (LocalName(pair[0]) == localName) return pair[1];
  }
  return {};
}

bool XmlAttributes::Has(std::string_view localName) const {
  for (const char** pair = m_pairs; pair && pair[0]; pair += 2) {
    if (LocalName(pair[0]) == localName) return true;
  }
  return false;
}

XmlParser::XmlParser(XmlHandler& handler)
    : m_parser(XML_ParserCreateNS(nullptr, kNamespaceSeparator)), m_handler(handler) {
  if (!m_parser) {
    m_error = ExcelError::TooLarge;
    return;
  }
  XML_SetUserData(m_parser, this);
  XML_SetElementHandler(m_parser, &XmlParser::OnStart, &XmlParser::OnEnd);
  XML_SetCharacterDataHandler(m_parser, &XmlParser::OnText);
  XML_SetStartDoctypeDeclHandler(m_parser, &XmlParser::OnDoctype);
  XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlParser::~XmlParser() {
  if (m_parser) XML_ParserFree(m_parser);
}

void XmlParser::Fail(ExcelError error) {
  if (m_error == ExcelError::None) m_error = error;
  XML_StopParser(m_parser, XML_FALSE);
}

void XmlParser::OnStart(void* self, const char* name, const char** attributes) {
  auto* parser = static_cast<XmlParser*>(self);
  parser->m_handler.StartElement(LocalName(name), XmlAttributes(attributes));
  if (parser->m_handler.failure != ExcelError::None) parser->Fail(parser->m_handler.failure);
}

void XmlParser::OnEnd(void* self, const char* name) {
  auto* parser = static_cast<XmlParser*>(self);
  parser->m_handler.EndElement(LocalName(name));
  if (parser->m_handler.failure != ExcelError::None) parser->Fail(parser->m_handler.failure);
}

void XmlParser::OnText(void* self, const char* text, int length) {
  auto* parser = static_cast<XmlParser*>(self);
  parser->m_handler.Text(std::string_view(text, static_cast<std::size_t>(length)));
  if (parser->m_handler.failure != ExcelError::None) parser->Fail(parser->m_handler.failure);
}

// Spreadsheet parts never carry a document type; one here can only be an attempt to
// reach outside files or to expand entities without bound.
void XmlParser::OnDoctype(void* self, const char*, const char*, const char*, int) {
  static_cast<XmlParser*>(self)->Fail(ExcelError::Unsafe);
}

bool XmlParser::Feed(const char* data, std::size_t size, bool last) {
  if (m_error != ExcelError::None) return false;
  const XML_Status status =
      XML_Parse(m_parser, data, static_cast<int>(size), last ? XML_TRUE : XML_FALSE);
  if (status != XML_STATUS_OK && m_error == ExcelError::None) m_error = ExcelError::Damaged;
  // What the parser has not consumed yet is the start of one unfinished tag (text is
  // handed on as it comes).
  m_fed += size;
  const XML_Index consumed = XML_GetCurrentByteIndex(m_parser);
  if (m_error == ExcelError::None && consumed >= 0 &&
      m_fed - static_cast<std::uint64_t>(consumed) > kMaxMarkupBytes) {
    m_error = ExcelError::TooLarge;
  }
  return m_error == ExcelError::None;
}

}  // namespace varnola
