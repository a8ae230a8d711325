#include "http/curl_setup.h"

#include <mutex>

namespace gedan {
namespace {

int OnProgress(void* guard, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
  return static_cast<StallGuard*>(guard)->Expired(downloaded, uploaded) ? 1 : 0;
}

}  // namespace

bool InitCurlOnce() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ready;
}

void StallGuard::Start(int stallTimeoutMs) {
  limit_ = std::chrono::milliseconds(stallTimeoutMs);
  lastProgress_ = std::chrono::steady_clock::now();
  lastDownloaded_ = -1;
  lastUploaded_ = -1;
  fired_ = false;
}

bool StallGuard::Expired(curl_off_t downloaded, curl_off_t uploaded) {
  auto now = std::chrono::steady_clock::now();
  if (downloaded != lastDownloaded_ || uploaded != lastUploaded_) {
    lastDownloaded_ = downloaded;
    lastUploaded_ = uploaded;
    lastProgress_ = now;
    return false;
  }
  if (now - lastProgress_ < limit_) return false;
  fired_ = true;
  return true;
}

void ApplyCommonOptions(CURL* easy, const TransferOptions& options, StallGuard* guard) {
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
  // curl's own low-speed check averages over several seconds, so a transfer that stops after a
  // burst would hang on for that long; the progress callback watches for the last moved byte
  // instead. It runs at least once a second, which is the resolution of the stall time-out.
  guard->Start(options.stallTimeoutMs);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, guard);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);

  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, options.followRedirects ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(options.maxRedirects));
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
}

}  // namespace gedan
