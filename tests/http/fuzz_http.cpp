// Hostile answers for the response stage: the input up to its first zero byte is the raw header
// block, the rest the body. Also feeds the header text to the URL splitter. Must never crash,
// hang or leak.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "http/recording_transport.h"
#include "http/url_parts.h"
#include "http/web_access.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t zero = input.find('\0');
  gedan::testing::RecordingTransport fake;
  fake.rawHeaders = gedan::Text(input.substr(0, zero));
  if (zero != std::string_view::npos) {
    std::string_view body = input.substr(zero + 1);
    fake.bodyPieces = {gedan::Bytes(body.begin(), body.end())};
  }
  gedan::UrlParts parts;
  gedan::CrackUrl(fake.rawHeaders, &parts);

  gedan::Text cookies, headers, location, status;
  gedan::Bytes bytes;
  gedan::WebAccess({.url = "http://h/", .cookies = "a=0; z=9"},
                   {.returnedCookies = &cookies,
                    .returnedHeaders = &headers,
                    .location = &location,
                    .status = &status,
                    .responseBytes = &bytes},
                   fake);
  return 0;
}
