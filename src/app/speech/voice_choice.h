#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace varnola {

// One voice as the speech service lists it; the texts are UTF-8.
struct VoiceDescription {
  std::string name;
  std::string language;
  std::string variant;
};

// The voice to speak Chinese status texts with: the first voice whose description (name,
// language and variant together), lower-cased, holds "chinese" or "中文". Among those, a
// Mandarin voice that reads Chinese characters as Chinese comes first: espeak-ng lists
// "Chinese (Mandarin, latin as English)" before "latin as Pinyin", and the former spells
// the characters out as English pinyin with tone numbers. Nothing when no voice matches:
// the service's default voice stays.
std::optional<std::size_t> ChooseVoice(const std::vector<VoiceDescription>& voices);

}  // namespace varnola
