// Writes the sample configuration that the package ships: the very template the window
// writes on its first start, so the two never drift apart.
//
// Usage: write_config_sample FILE

#include <cstdio>
#include <fstream>

#include "backend/config.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_config_sample FILE\n");
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << varnola::ConfigTemplateText();
  out.close();
  if (!out) {
    std::fprintf(stderr, "write_config_sample: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
