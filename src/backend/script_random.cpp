#include <charconv>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

#include "backend/parcel_tracking.h"

namespace varnola {
namespace {

// How a script engine prints a number: the shortest digits that read back as the same
// double, in fixed notation for decimal exponents from -6 to 21, else in exponent form.
std::string ScriptNumberText(double value) {
  if (value == 0) return "0";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string scientific(buffer, result.ptr);  // "d.ddde-05"
  const std::size_t e = scientific.find('e');
  std::string digits = scientific.substr(0, e);
  if (digits.size() > 1) digits.erase(1, 1);  // drop the point
  const int exponent = std::stoi(scientific.substr(e + 1));
  const int k = static_cast<int>(digits.size());
  const int n = exponent + 1;  // the number is 0.digits x 10^n

  if (k <= n && n <= 21) return digits + std::string(n - k, '0');
  if (0 < n && n <= 21) return digits.substr(0, n) + "." + digits.substr(n);
  if (-6 < n && n <= 0) return "0." + std::string(-n, '0') + digits;
  const std::string sign = exponent < 0 ? "-" : "+";
  const std::string mantissa = k == 1 ? digits : digits.substr(0, 1) + "." + digits.substr(1);
  return mantissa + "e" + sign + std::to_string(exponent < 0 ? -exponent : exponent);
}

double UniformDraw() {
  thread_local std::mt19937_64 engine{std::random_device{}()};
  // 53 random bits, as a script engine's generator gives them.
  return static_cast<double>(engine() >> 11) * 0x1.0p-53;
}

std::uint32_t TimeStampLow32() {
#if defined(__x86_64__) || defined(__i386__)
  return static_cast<std::uint32_t>(__rdtsc());
#else
  return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

}  // namespace

std::string ScriptRandom() {
  // About one draw in twenty prints with exactly fifteen decimals. The draws are bounded
  // so that the loop can never spin forever; the last draw is then cut or padded.
  constexpr int kMaxDraws = 500;
  constexpr std::size_t kLength = 17;
  std::string text;
  for (int draw = 0; draw < kMaxDraws; ++draw) {
    text = ScriptNumberText(UniformDraw());
    if (text.empty() || text[0] != '0') text.insert(0, "0");
    if (text.size() == kLength) return text;
  }
  text.resize(kLength, '0');
  return text;
}

std::string RandomDigits(int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) digits.push_back(static_cast<char>('0' + TscRandom(0, 9)));
  return digits;
}

int TscRandom(int lo, int hi) {
  if (hi < lo) return 0;
  const std::uint32_t t = TimeStampLow32();
  const std::uint32_t span = static_cast<std::uint32_t>(hi) - static_cast<std::uint32_t>(lo) + 1u;
  const std::uint32_t mixed = t * 23u + 7u;
  // The whole int range has 2^32 values: the span wraps to 0 and "mod 2^32" is the identity.
  const std::uint32_t offset = span == 0 ? mixed : mixed % span;
  return static_cast<int>(offset + static_cast<std::uint32_t>(lo));
}

}  // namespace varnola
