#pragma once

#include <cstdint>
#include <mutex>

#include "sim/sim_options.h"
#include "sim/sim_random.h"

namespace varnola::sim {

// The faults in force, changeable while the simulator serves; thread-safe.
class FaultSwitch {
 public:
  FaultSwitch(const SimFaults& faults, std::uint64_t seed) : m_faults(faults), m_random(seed) {}

  void Set(const SimFaults& faults) {
    std::lock_guard lock(m_mutex);
    m_faults = faults;
  }

  SimFaults Get() const {
    std::lock_guard lock(m_mutex);
    return m_faults;
  }

  // True with the probability `rate`: never at 0 or below, always at 1 or above.
  bool Roll(double rate) {
    if (rate <= 0) return false;
    if (rate >= 1) return true;
    std::lock_guard lock(m_mutex);
    return static_cast<double>(m_random.Next() >> 11) * 0x1.0p-53 < rate;
  }

 private:
  mutable std::mutex m_mutex;
  SimFaults m_faults;
  SplitMix64 m_random;
};

}  // namespace varnola::sim
