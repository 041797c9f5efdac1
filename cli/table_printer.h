#pragma once

#include <cstdio>

#include "app/seams/order_table.h"

namespace varnola::cli {

// The table as UTF-8 tab-separated text: a header line of titles, then a line per row.
// Tabs, line breaks and backslashes inside a cell are written as "\t", "\n", "\r" and "\\".
void PrintTable(const TableSnapshot& table, std::FILE* out);

}  // namespace varnola::cli
