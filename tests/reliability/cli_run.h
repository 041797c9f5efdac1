#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "reliability/child_process.h"
#include "reliability/reliability_support.h"

namespace varnola::test {

// The headless tool run in a home of its own: HOME, the XDG folders, TMPDIR and the
// working folder all lie inside `home`, so whatever it writes can be found there.
ProcessResult RunCli(const TempDir& home, const std::vector<std::string>& args,
                     std::chrono::milliseconds timeout, const std::string& input = {});

// The table that "--print" wrote: the titles, then one row per line, as local text.
Cells PrintedTable(const std::string& out);

}  // namespace varnola::test
