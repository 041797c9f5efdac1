#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <utility>

namespace varnola::sim {

struct Session {
  std::string csrf;  // the token the login form must return
  bool signedIn = false;
  int requests = 0;  // requests served since the session was made
};

// The back-end's sessions, keyed by the value of the session cookie. Thread-safe. The
// oldest sessions give way when more than `capacity` are alive, so a client that never
// returns its cookie cannot grow the store without end.
class SessionStore {
 public:
  explicit SessionStore(std::size_t capacity = 20000);

  // A new guest session with a fresh token, and its id.
  std::pair<std::string, Session> Create();

  // The session of `id`, counting this request against `expireAfter` (0 = no limit): the
  // request after the last one allowed finds the session gone.
  std::optional<Session> Touch(const std::string& id, int expireAfter);

  // Signs in by replacing the session with a new signed-in one, so an id seen before the
  // sign-in never carries the signed-in state; returns the new id.
  std::string SignIn(const std::string& oldId);

  void Drop(const std::string& id);

  std::size_t size() const;

 private:
  struct Entry {
    Session session;
    std::uint64_t serial;
  };

  std::string NewToken(std::size_t length);
  std::string InsertLocked(Session session);
  void DropLocked(const std::string& id);

  const std::size_t m_capacity;
  mutable std::mutex m_mutex;
  std::mt19937_64 m_random;
  std::uint64_t m_nextSerial = 0;
  std::unordered_map<std::string, Entry> m_sessions;
  std::map<std::uint64_t, std::string> m_byAge;
};

}  // namespace varnola::sim
