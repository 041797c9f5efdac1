#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "app/seams/order_table.h"
#include "sim/order_data.h"

namespace varnola::test {

// A folder of its own under the system's temporary folder, removed with all it holds.
void WriteTextFile(const std::string& path, const std::string& bytes);
std::string ReadTextFile(const std::string& path);

// The first sheet of a workbook as python's openpyxl reads it, every row as wide as the
// sheet, texts as local text; no rows for an empty sheet. The test fails when openpyxl
// cannot read the file.
using Cells = std::vector<std::vector<std::string>>;
Cells ReadWorkbook(const std::string& path);
// The same for several workbooks at once, in the order given.
std::vector<Cells> ReadWorkbooks(const std::vector<std::string>& paths);

// The table's titles, then its rows, the way the export lays them out.
Cells TableCells(const TableSnapshot& table);

// What an order's row holds, as local text: columns 1..8 from the order list, 9..21 from
// the order page.
std::vector<std::string> ListedCells(const sim::SimOrder& order);
std::vector<std::string> DetailCells(const sim::SimOrder& order);

// Why a row of the order table is not consistent with the back-end's data, or empty when
// it is: columns 1..8 must be exactly its order's (found by the id in column 8), and
// columns 9..21 either all empty or exactly that order's details.
std::string RowProblem(const std::vector<std::string>& row, const sim::SimData& data);

// Every problem of every row, one line each; empty when the whole table is consistent.
std::string TableProblems(const std::vector<std::vector<std::string>>& rows,
                          const sim::SimData& data);

// Whether columns 9..21 of a row hold anything.
bool HasDetails(const std::vector<std::string>& row);

}  // namespace varnola::test
