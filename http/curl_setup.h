#pragma once

// The libcurl set-up every transfer of gedan shares (page requests and song downloads): one global
// initialisation, and the options that make a transfer behave the same everywhere.
//
//   if (!InitCurlOnce()) return Failure();
//   StallGuard guard;
//   ApplyCommonOptions(easy, {.connectTimeoutMs = 30000, .stallTimeoutMs = 30000}, &guard);
//
// Time-outs bound what a user would call "hanging", not the length of the transfer: name
// resolution plus connecting, and any stretch in which no byte moves in either direction. A large
// file on a slow but steady link therefore always arrives.

#include <chrono>

#include <curl/curl.h>

namespace gedan {

// curl_global_init, once per process and thread-safe; false when it failed (then no transfer can
// run).
bool InitCurlOnce();

struct TransferOptions {
  int connectTimeoutMs = 30000;
  int stallTimeoutMs = 30000;
  bool followRedirects = true;
  int maxRedirects = 10;
};

// The clock of the stall time-out. It lives as long as the transfer and is read by curl's progress
// callback; fired() tells afterwards whether it ended the transfer.
class StallGuard {
 public:
  void Start(int stallTimeoutMs);
  // Whether the transfer has to stop now, given the byte counts so far.
  bool Expired(curl_off_t downloaded, curl_off_t uploaded);
  bool fired() const { return fired_; }

 private:
  std::chrono::milliseconds limit_{0};
  std::chrono::steady_clock::time_point lastProgress_{};
  curl_off_t lastDownloaded_ = -1;
  curl_off_t lastUploaded_ = -1;
  bool fired_ = false;
};

// Time-outs, redirects (at most maxRedirects, http and https only), HTTP/1.1, verified TLS
// certificates and host names, no signals, and no content decoding: the body arrives as the server
// sent it. `guard` must outlive the transfer.
void ApplyCommonOptions(CURL* easy, const TransferOptions& options, StallGuard* guard);

}  // namespace gedan
