#pragma once

#include <algorithm>

namespace varnola {

// position / count x 100 in double precision, division first, truncated toward zero:
// 29 of 100 gives 28, since 29 / 100 x 100 comes out just below 29. A table that shrank
// during a run can put the position past the count; the bar never goes past 100.
inline int ProgressPercent(int position, int count) {
  if (count <= 0) return 100;
  const double fraction = static_cast<double>(position) / static_cast<double>(count);
  return std::min(static_cast<int>(fraction * 100.0), 100);
}

}  // namespace varnola
