#include "sim/session_store.h"

#include <string_view>

namespace varnola::sim {
namespace {

// The URL-safe alphabet: tokens travel unescaped in the login form.
constexpr std::string_view kTokenAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

}  // namespace

SessionStore::SessionStore(std::size_t capacity)
    : m_capacity(capacity == 0 ? 1 : capacity), m_random(std::random_device{}()) {}

std::string SessionStore::NewToken(std::size_t length) {
  std::string token;
  for (std::size_t i = 0; i < length; ++i) {
    token += kTokenAlphabet[m_random() % kTokenAlphabet.size()];
  }
  return token;
}

std::string SessionStore::InsertLocked(Session session) {
  std::string id;
  do {
    id = NewToken(26);
  } while (m_sessions.contains(id));
  session.csrf = NewToken(56);
  const std::uint64_t serial = m_nextSerial++;
  m_sessions.emplace(id, Entry{std::move(session), serial});
  m_byAge.emplace(serial, id);
  while (m_sessions.size() > m_capacity) {
    const std::string oldest = m_byAge.begin()->second;
    DropLocked(oldest);
  }
  return id;
}

void SessionStore::DropLocked(const std::string& id) {
  const auto it = m_sessions.find(id);
  if (it == m_sessions.end()) return;
  m_byAge.erase(it->second.serial);
  m_sessions.erase(it);
}

std::pair<std::string, Session> SessionStore::Create() {
  std::lock_guard lock(m_mutex);
  std::string id = InsertLocked(Session{});
  return {id, m_sessions.at(id).session};
}

std::optional<Session> SessionStore::Touch(const std::string& id, int expireAfter) {
  std::lock_guard lock(m_mutex);
  const auto it = m_sessions.find(id);
  if (it == m_sessions.end()) return std::nullopt;
  Session& session = it->second.session;
  ++session.requests;
  if (expireAfter > 0 && session.requests > expireAfter) {
    DropLocked(id);
    return std::nullopt;
  }
  return session;
}

std::string SessionStore::SignIn(const std::string& oldId) {
  std::lock_guard lock(m_mutex);
  DropLocked(oldId);
  Session session;
  session.signedIn = true;
  return InsertLocked(std::move(session));
}

void SessionStore::Drop(const std::string& id) {
  std::lock_guard lock(m_mutex);
  DropLocked(id);
}

std::size_t SessionStore::size() const {
  std::lock_guard lock(m_mutex);
  return m_sessions.size();
}

}  // namespace varnola::sim
