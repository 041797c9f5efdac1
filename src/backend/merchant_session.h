#pragma once

#include <string>

namespace varnola {

// What a sign-in leaves behind besides the back-end's session cookie, which lives in the
// web layer's process-wide cookie store. Each sign-in replaces every text.
struct MerchantSession {
  std::string pageText;       // the sign-in page, then the page the form post led to
  std::string csrfToken;
  std::string loginFormText;  // holds the password: never printed or logged
  std::string logoPath;
  std::string statusText;     // the failure text or the success summary
};

}  // namespace varnola
