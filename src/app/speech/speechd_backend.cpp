#include "app/speech/speechd_backend.h"

#include <cstdlib>

#include <libspeechd.h>

namespace varnola {
namespace {

class SpeechDispatcherBackend final : public SpeechBackend {
 public:
  ~SpeechDispatcherBackend() override { Close(); }

  bool Open() override {
    char* error = nullptr;
    m_connection = spd_open2("varnola-orders", "status", nullptr, SPD_MODE_SINGLE, nullptr,
                             /*autospawn=*/1, &error);
    std::free(error);  // no service means silence, not a message
    return m_connection != nullptr;
  }

  std::vector<VoiceDescription> ListVoices() override {
    std::vector<VoiceDescription> voices;
    if (!m_connection) return voices;
    SPDVoice** list = spd_list_synthesis_voices(m_connection);
    for (SPDVoice** v = list; v && *v; ++v) {
      voices.push_back({Text((*v)->name), Text((*v)->language), Text((*v)->variant)});
    }
    if (list) free_spd_voices(list);
    return voices;
  }

  void SelectVoice(const VoiceDescription& voice) override {
    if (m_connection) spd_set_synthesis_voice(m_connection, voice.name.c_str());
  }

  // SPD_MESSAGE queues behind the texts being spoken; SPD_TEXT would cut them off.
  void Say(const std::string& utf8Text) override {
    if (m_connection) spd_say(m_connection, SPD_MESSAGE, utf8Text.c_str());
  }

  void Close() override {
    if (m_connection) spd_close(m_connection);
    m_connection = nullptr;
  }

 private:
  static std::string Text(const char* text) { return text ? text : ""; }

  SPDConnection* m_connection = nullptr;
};

}  // namespace

std::unique_ptr<SpeechBackend> MakeSpeechDispatcherBackend() {
  return std::make_unique<SpeechDispatcherBackend>();
}

}  // namespace varnola
