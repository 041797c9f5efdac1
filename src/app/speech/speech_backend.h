#pragma once

#include <string>
#include <vector>

#include "app/speech/voice_choice.h"

namespace varnola {

// The speech service as the announcer uses it. All calls come from the announcer's own
// thread, one at a time; any of them may take long or fail.
class SpeechBackend {
 public:
  virtual ~SpeechBackend() = default;
  // False when there is no service to speak with.
  virtual bool Open() = 0;
  virtual std::vector<VoiceDescription> ListVoices() = 0;
  virtual void SelectVoice(const VoiceDescription& voice) = 0;
  // Queues the text behind what is being spoken; never cuts anything off.
  virtual void Say(const std::string& utf8Text) = 0;
  virtual void Close() = 0;
};

}  // namespace varnola
