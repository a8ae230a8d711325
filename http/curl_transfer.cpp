#include "http/curl_transfer.h"

#include <algorithm>
#include <cctype>

namespace gedan {
namespace {

constexpr std::size_t kMaxHeaderBytes = std::size_t{1} << 20;

// "HTTP/1.1 302 Found" gives 302; 0 when no three-digit code follows the first blank.
long StatusCode(TextView statusLine) {
  auto blank = statusLine.find(' ');
  if (blank == TextView::npos || statusLine.size() < blank + 4) return 0;
  long code = 0;
  for (char c : statusLine.substr(blank + 1, 3)) {
    if (c < '0' || c > '9') return 0;
    code = code * 10 + (c - '0');
  }
  return code;
}

// A "Location:" line (any letter case) with a target after it.
bool IsLocationLine(TextView line) {
  constexpr TextView kName = "location:";
  if (line.size() < kName.size()) return false;
  for (std::size_t i = 0; i < kName.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) return false;
  return line.find_first_not_of(" \t\r\n", kName.size()) != TextView::npos;
}

}  // namespace

BufferedTransfer::BufferedTransfer(std::size_t maxBodyBytes) : maxBodyBytes_(maxBodyBytes) {}

void BufferedTransfer::Perform(CURL* easy) {
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &BufferedTransfer::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &BufferedTransfer::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &BufferedTransfer::OnRequestReady);
  curl_easy_setopt(easy, CURLOPT_PREREQDATA, this);
  result_ = curl_easy_perform(easy);
  // When the transfer broke off after an interim "1xx" answer, or after a proxy's answer that
  // opened a tunnel (curl never counts that one as the response code), no response came at all.
  long responseCode = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &responseCode);
  bool interim = statusCode_ >= 100 && statusCode_ < 200;
  bool tunnelOpened = statusCode_ != responseCode && statusCode_ >= 200 && statusCode_ < 300;
  if (result_ != CURLE_OK && (interim || tunnelOpened)) {
    rawHeaders_.clear();
    headersComplete_ = false;
  }
  requestSent_ = requestSent_ || !rawHeaders_.empty();
}

// Called once the connection (a proxy tunnel and TLS included) stands and the request goes out;
// the bytes of a CONNECT to a proxy are no request of ours.
int BufferedTransfer::OnRequestReady(void* self, char*, char*, int, int) {
  static_cast<BufferedTransfer*>(self)->requestSent_ = true;
  return CURL_PREREQFUNC_OK;
}

std::size_t BufferedTransfer::OnHeader(char* data, std::size_t size, std::size_t count,
                                       void* self) {
  auto* transfer = static_cast<BufferedTransfer*>(self);
  std::size_t length = size * count;
  TextView line(data, length);
  // Each response of a redirect chain (and an interim "100 Continue") starts with its status
  // line; only the last response's headers are wanted.
  if (line.starts_with("HTTP/")) {
    transfer->rawHeaders_.clear();
    transfer->headersComplete_ = false;
    transfer->statusCode_ = StatusCode(line);
    transfer->hasLocation_ = false;
  }
  // Lines after a complete block are trailers of a chunked body, not headers of the response.
  if (transfer->headersComplete_) return length;
  // A header block this large is no answer but an attack on memory.
  if (transfer->rawHeaders_.size() + length + 1 > kMaxHeaderBytes) return 0;
  // Some servers end their lines with a line feed alone; every line is handed on ended by CR LF.
  TextView content = line;
  if (content.ends_with('\n')) content.remove_suffix(1);
  if (content.ends_with('\r')) content.remove_suffix(1);
  // Texts never hold a zero byte.
  for (char c : content)
    if (c != '\0') transfer->rawHeaders_.push_back(c);
  transfer->rawHeaders_ += "\r\n";
  if (IsLocationLine(content)) transfer->hasLocation_ = true;
  if (content.empty()) transfer->headersComplete_ = true;
  return length;
}

std::size_t BufferedTransfer::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* transfer = static_cast<BufferedTransfer*>(self);
  std::size_t length = size * count;
  std::size_t room = transfer->maxBodyBytes_ - transfer->bodyBytes_;
  std::size_t kept = std::min(length, room);
  if (kept > 0) {
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    transfer->pieces_.emplace_back(bytes, bytes + kept);
    transfer->bodyBytes_ += kept;
  }
  // Returning less than was offered makes curl stop with a write error.
  return kept;
}

Bytes BufferedTransfer::TakeBody() {
  Bytes body;
  std::size_t total = 0;
  for (const Bytes& piece : pieces_) total += piece.size();
  body.reserve(total);
  for (const Bytes& piece : pieces_) body.insert(body.end(), piece.begin(), piece.end());
  pieces_.clear();
  return body;
}

}  // namespace gedan
