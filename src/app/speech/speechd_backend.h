#pragma once

#include <memory>

#include "app/speech/speech_backend.h"

namespace varnola {

// The speech-dispatcher service; starts the service when it is not running yet.
std::unique_ptr<SpeechBackend> MakeSpeechDispatcherBackend();

}  // namespace varnola
