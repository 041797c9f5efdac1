#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varnola::sim {

// A small generator whose sequence is fixed by its seed on every platform (the standard
// distributions are not), so the same seed always gives the same data.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // A number in [lo, hi].
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }

  bool Percent(int chance) { return Between(0, 99) < chance; }

  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Next() % N];
  }

 private:
  std::uint64_t m_state;
};

// FNV-1a: a stable number for a text, to derive answers from what a client sent.
inline std::uint64_t HashText(std::string_view text) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ULL;
  }
  return hash;
}

}  // namespace varnola::sim
