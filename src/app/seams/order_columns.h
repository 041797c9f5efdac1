#pragma once

#include <string>
#include <vector>

namespace varnola {

// The 23 columns of the order table.
inline constexpr int kOrderColumnCount = 23;
inline constexpr int kDefaultColumnWidth = 50;

inline constexpr int kColumnNumber = 0;           // 1-based position when the row was added
inline constexpr int kColumnOrderNumber = 1;
inline constexpr int kColumnOrderId = 8;          // the back-end's id, key of the edit page
inline constexpr int kColumnFirstDetail = 9;      // first of the 13 detail columns
inline constexpr int kDetailFieldCount = 13;
inline constexpr int kColumnTrackingNumber = 21;

// Column titles as local text, in column order.
const std::vector<std::string>& OrderColumnTitles();

}  // namespace varnola
