#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "sim/sim_options.h"
#include "sim/sim_random.h"

namespace varnola::sim {

// The faults in force, changeable while the simulator serves; thread-safe.
class FaultSwitch {
 public:
  FaultSwitch(const SimFaults& faults, std::uint64_t seed) : m_faults(faults), m_random(seed) {}

  void Set(const SimFaults& faults) {
    {
      std::lock_guard lock(m_mutex);
      m_faults = faults;
    }
    m_changed.notify_all();
  }

  SimFaults Get() const {
    std::lock_guard lock(m_mutex);
    return m_faults;
  }

  // Whether the faults of `faults` hit a request for `path`.
  static bool Hits(const SimFaults& faults, std::string_view path) {
    return faults.pathPrefix.empty() || path.starts_with(faults.pathPrefix);
  }

  // Holds the calling thread while the stall fault hits `path`, until the fault is switched
  // off or the simulator stops. True when the request is to be answered after all.
  bool HoldWhileStalled(std::string_view path) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stopping || !m_faults.stall || !Hits(m_faults, path); });
    return !m_stopping;
  }

  // Stopping lets every held request go; the server cannot stop while one is held.
  void SetStopping(bool stopping) {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = stopping;
    }
    m_changed.notify_all();
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
  std::condition_variable m_changed;
  SimFaults m_faults;
  bool m_stopping = false;
  SplitMix64 m_random;
};

}  // namespace varnola::sim
