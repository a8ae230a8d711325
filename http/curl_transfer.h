#pragma once

// One blocking libcurl transfer whose answer is kept in memory: the raw headers of the final
// response (those of redirects passed over are dropped) and the body, in the pieces it arrived in,
// up to a cap.
//
//   BufferedTransfer transfer(kMaxBodyBytes);
//   transfer.Perform(easy);                      // easy prepared by the caller
//   if (transfer.HeadersComplete()) use(transfer.RawHeaders(), transfer.TakeBody());
//
// A body beyond the cap stops the transfer as a failed one, with the bytes up to the cap kept.

#include <cstddef>
#include <deque>

#include <curl/curl.h>

#include "text/value.h"

namespace gedan {

inline constexpr std::size_t kMaxBodyBytes = std::size_t{64} << 20;

class BufferedTransfer {
 public:
  explicit BufferedTransfer(std::size_t maxBodyBytes = kMaxBodyBytes);

  // Installs the header and body callbacks on `easy` and runs the transfer to its end.
  void Perform(CURL* easy);

  CURLcode result() const { return result_; }
  bool succeeded() const { return result_ == CURLE_OK; }
  // Whether the final response's header block arrived in full (its empty line was seen).
  bool HeadersComplete() const { return headersComplete_; }
  // Whether the last header block is a redirect (a 3xx status with a Location target): after a
  // failed transfer that follows redirects, it was passed over and no final response came.
  bool EndedOnRedirect() const { return statusCode_ >= 300 && statusCode_ < 400 && hasLocation_; }
  // Whether the request went out (a connection stood ready for it).
  bool RequestSent() const { return requestSent_; }
  const Text& RawHeaders() const { return rawHeaders_; }

  // The body pieces not yet taken, oldest first; a consumer pops them as it reads.
  std::deque<Bytes>& BodyPieces() { return pieces_; }
  // The whole remaining body in one byte set.
  Bytes TakeBody();

 private:
  static int OnRequestReady(void* self, char* primaryIp, char* localIp, int primaryPort,
                            int localPort);
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);

  std::size_t maxBodyBytes_;
  std::size_t bodyBytes_ = 0;
  CURLcode result_ = CURLE_FAILED_INIT;
  bool headersComplete_ = false;
  bool requestSent_ = false;
  long statusCode_ = 0;  // of the last header block
  bool hasLocation_ = false;
  Text rawHeaders_;
  std::deque<Bytes> pieces_;
};

}  // namespace gedan
