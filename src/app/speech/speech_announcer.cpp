#include "app/speech/speech_announcer.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <utility>

#include "app/speech/speechd_backend.h"
#include "http/encodings.h"

namespace varnola {

struct SpeechAnnouncer::State {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::string> texts;  // UTF-8, waiting to be handed to the service
  bool silent = false;            // no service: texts are dropped at once
  bool stopping = false;
  bool finished = false;
  std::unique_ptr<SpeechBackend> backend;
};

std::unique_ptr<SpeechAnnouncer> SpeechAnnouncer::Create() {
  return std::make_unique<SpeechAnnouncer>(MakeSpeechDispatcherBackend());
}

SpeechAnnouncer::SpeechAnnouncer(std::unique_ptr<SpeechBackend> backend,
                                 std::chrono::milliseconds exitGrace)
    : m_state(std::make_shared<State>()), m_exitGrace(exitGrace) {
  m_state->backend = std::move(backend);
  try {
    m_thread = std::thread([state = m_state] { Speak(state); });
  } catch (const std::system_error&) {
    m_state->silent = true;
    m_state->finished = true;
  }
}

SpeechAnnouncer::~SpeechAnnouncer() {
  std::unique_lock lock(m_state->mutex);
  m_state->stopping = true;
  m_state->changed.notify_all();
  const bool finished =
      m_state->changed.wait_for(lock, m_exitGrace, [this] { return m_state->finished; });
  lock.unlock();
  if (!m_thread.joinable()) return;
  // A service that never answers must not hold up the exit; the thread keeps its own
  // share of the state and ends when the service gives up.
  if (finished) {
    m_thread.join();
  } else {
    m_thread.detach();
  }
}

void SpeechAnnouncer::Announce(const std::string& localText) {
  std::string text = LocalToUtf8(localText);
  std::lock_guard lock(m_state->mutex);
  if (m_state->silent || m_state->stopping) return;
  m_state->texts.push_back(std::move(text));
  m_state->changed.notify_all();
}

void SpeechAnnouncer::Finish(State& state, bool silent) {
  std::lock_guard lock(state.mutex);
  state.silent = silent || state.silent;
  state.texts.clear();
  state.finished = true;
  state.changed.notify_all();
}

// The announcer's thread: connect, choose the voice, then hand over the texts in order.
void SpeechAnnouncer::Speak(const std::shared_ptr<State>& state) {
  SpeechBackend& backend = *state->backend;
  if (!backend.Open()) {
    Finish(*state, /*silent=*/true);
    return;
  }
  if (const std::vector<VoiceDescription> voices = backend.ListVoices(); !voices.empty()) {
    if (const auto chosen = ChooseVoice(voices)) backend.SelectVoice(voices[*chosen]);
  }
  for (;;) {
    std::deque<std::string> texts;
    {
      std::unique_lock lock(state->mutex);
      state->changed.wait(lock, [&] { return state->stopping || !state->texts.empty(); });
      if (state->stopping) break;
      texts.swap(state->texts);
    }
    for (const std::string& text : texts) backend.Say(text);
  }
  backend.Close();
  Finish(*state, /*silent=*/false);
}

}  // namespace varnola
