#pragma once

#include <string>

#include "app/seams/frontend.h"
#include "backend/config.h"
#include "regex/regex_object.h"

namespace varnola {

// Completes columns 9..21 of every row from its order page, one request per row in
// order. `pageText` keeps the page of the row handled last.
void OrderDetailFetch(Frontend& ui, const AppConfig& config, RegexObject& regex,
                      std::string& pageText);

}  // namespace varnola
