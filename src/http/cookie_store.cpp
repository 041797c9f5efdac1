#include "http/cookie_store.h"

#include <array>
#include <mutex>

#include "http/curl_handle_pool.h"
#include "http/web_request.h"

namespace varnola {
namespace {

// One lock for each kind of data that libcurl may ask to lock; never destroyed, as the
// share itself is not.
std::array<std::mutex, CURL_LOCK_DATA_LAST>& ShareLocks() {
  static auto& locks = *new std::array<std::mutex, CURL_LOCK_DATA_LAST>;
  return locks;
}

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
  if (data >= 0 && data < CURL_LOCK_DATA_LAST) ShareLocks()[data].lock();
}

void UnlockShare(CURL*, curl_lock_data data, void*) {
  if (data >= 0 && data < CURL_LOCK_DATA_LAST) ShareLocks()[data].unlock();
}

CURLSH* MakeShare() {
  EnsureCurlInitialised();
  CURLSH* share = curl_share_init();
  if (share == nullptr) return nullptr;
  curl_share_setopt(share, CURLSHOPT_LOCKFUNC, LockShare);
  curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, UnlockShare);
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  return share;
}

}  // namespace

CURLSH* SharedCookieStore() {
  static CURLSH* const share = MakeShare();
  return share;
}

void ClearCookieStore() {
  CURLSH* share = SharedCookieStore();
  if (share == nullptr) return;
  // The store is reached through an easy handle attached to it.
  CURL* easy = curl_easy_init();
  if (easy == nullptr) return;
  curl_easy_setopt(easy, CURLOPT_SHARE, share);
  curl_easy_setopt(easy, CURLOPT_COOKIELIST, "ALL");
  curl_easy_cleanup(easy);
}

}  // namespace varnola
