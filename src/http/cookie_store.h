#pragma once

#include <curl/curl.h>

namespace varnola {

// The process-wide store that every exchange without a cookie text of its own uses: one
// libcurl share object holding the cookies and the resolved host names, kept in memory
// only. Connections are deliberately not shared: libcurl cannot share its connection
// cache between threads that run transfers at the same time.
CURLSH* SharedCookieStore();

}  // namespace varnola
