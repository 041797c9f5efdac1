#pragma once

#include <string>

#include "app/seams/frontend.h"
#include "backend/config.h"

namespace varnola {

// Asks the tracking service for the parcel of the selected row (column "快递单号") and
// shows its answer in a message box. `lastTrackingText` holds the service's latest answer.
void TrackParcel(Frontend& ui, const AppConfig& config, std::string& lastTrackingText);

// A random number as the script engine's Math.random() prints it, drawn until it is
// "0." and fifteen digits (17 characters).
std::string ScriptRandom();

// `count` random decimal digits, each TscRandom(0, 9).
std::string RandomDigits(int count);

// 0 when hi < lo; otherwise ((t x 23 + 7) mod 2^32) mod (hi - lo + 1) + lo over the low
// 32 bits t of the processor's time-stamp counter, in unsigned 32-bit arithmetic.
int TscRandom(int lo, int hi);

}  // namespace varnola
