#include "app/speech/voice_choice.h"

#include <algorithm>

namespace varnola {
namespace {

// Only the ASCII letters fold; the bytes of "中文" stay as they are.
std::string LowerDescription(const VoiceDescription& voice) {
  std::string text = voice.name + ' ' + voice.language + ' ' + voice.variant;
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

bool Holds(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

bool IsChinese(const std::string& description) {
  return Holds(description, "chinese") || Holds(description, "中文");
}

bool ReadsCharactersAsMandarin(const std::string& description) {
  return Holds(description, "mandarin") && !Holds(description, "latin as english");
}

}  // namespace

std::optional<std::size_t> ChooseVoice(const std::vector<VoiceDescription>& voices) {
  std::optional<std::size_t> firstChinese;
  for (std::size_t i = 0; i < voices.size(); ++i) {
    const std::string description = LowerDescription(voices[i]);
    if (!IsChinese(description)) continue;
    if (ReadsCharactersAsMandarin(description)) return i;
    if (!firstChinese) firstChinese = i;
  }
  return firstChinese;
}

}  // namespace varnola
