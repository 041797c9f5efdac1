#include "table_printer.h"

#include <string>

#include "http/encodings.h"

namespace varnola::cli {
namespace {

std::string EscapeCell(const std::string& localText) {
  std::string escaped;
  for (const char c : LocalToUtf8(localText)) {
    switch (c) {
      case '\t': escaped += "\\t"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\\': escaped += "\\\\"; break;
      default: escaped.push_back(c);
    }
  }
  return escaped;
}

void PrintLine(const std::vector<std::string>& cells, std::FILE* out) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line.push_back('\t');
    line += EscapeCell(cells[i]);
  }
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), out);
}

}  // namespace

void PrintTable(const TableSnapshot& table, std::FILE* out) {
  PrintLine(table.titles, out);
  for (const auto& row : table.rows) PrintLine(row, out);
}

}  // namespace varnola::cli
