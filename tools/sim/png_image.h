#pragma once

#include <string>

namespace varnola::sim {

// The store logo as the bytes of a PNG file: a blue rounded square with a white "V".
std::string StoreLogoPng();

}  // namespace varnola::sim
