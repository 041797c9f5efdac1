#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/seams/announcer.h"
#include "app/speech/speech_backend.h"

namespace varnola {

// Speaks the status texts through the speech service. A thread of its own connects to the
// service, chooses the voice (listing the voices takes seconds) and hands the texts over in
// call order; `Announce` only queues, so it never waits, from whatever thread it is called,
// and texts announced before the voice was chosen are spoken once it is. Without a service
// or a voice the program stays silent and says nothing about it.
class SpeechAnnouncer final : public Announcer {
 public:
  // Over speech-dispatcher.
  static std::unique_ptr<SpeechAnnouncer> Create();

  // `exitGrace` bounds how long the destructor waits for a service that does not answer;
  // after it, the announcer's thread is left to end on its own.
  explicit SpeechAnnouncer(std::unique_ptr<SpeechBackend> backend,
                           std::chrono::milliseconds exitGrace = std::chrono::milliseconds(500));
  SpeechAnnouncer(const SpeechAnnouncer&) = delete;
  SpeechAnnouncer& operator=(const SpeechAnnouncer&) = delete;
  ~SpeechAnnouncer() override;

  void Announce(const std::string& localText) override;

 private:
  struct State;
  static void Speak(const std::shared_ptr<State>& state);
  static void Finish(State& state, bool silent);

  std::shared_ptr<State> m_state;  // shared with the thread, which may outlive the announcer
  std::thread m_thread;
  std::chrono::milliseconds m_exitGrace;
};

}  // namespace varnola
