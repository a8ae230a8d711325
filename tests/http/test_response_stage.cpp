// The response stage over scripted responses: status text, cookies, Location, raw outputs and the
// charset re-decoding.

#include <string>

#include <gtest/gtest.h>

#include "http/recording_transport.h"
#include "http/web_access.h"
#include "text/bytes.h"
#include "text/encoding.h"

namespace gedan {
namespace {

using testing::RecordingPump;
using testing::RecordingTransport;

// GB18030 bytes of 你好, and the same characters in other encodings (from the encoding tables).
const Text kNiHao = "\xC4\xE3\xBA\xC3";
const std::string kNiHaoUtf8 = "\xE4\xBD\xA0\xE5\xA5\xBD";
const std::string kNiHaoBig5 = "\xA7\x41\xA6\x6E";

Text Fetch(RecordingTransport& fake, const WebRequest& request, const WebOutputs& outputs = {}) {
  return WebAccess(request, outputs, fake);
}

TEST(ResponseStage, StatusTextIsTheStatusLineAfterItsProtocol) {
  const std::pair<const char*, const char*> cases[] = {
      {"HTTP/1.1 200 OK\r\n\r\n", "200 OK"},
      {"HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n", "302 Found"},
      {"HTTP/1.0 404 Not Found\r\n\r\n", "404 Not Found"},
      {"HTTP/1.1 200 OK", ""},  // no line break at all
  };
  for (const auto& [headers, status] : cases) {
    RecordingTransport fake;
    fake.rawHeaders = headers;
    Text got = "old", raw;
    Fetch(fake, {.url = "http://h/"}, {.returnedHeaders = &raw, .status = &got});
    EXPECT_EQ(got, status) << headers;
    EXPECT_EQ(raw, headers);
  }
}

TEST(ResponseStage, CookiesCollectedAndMerged) {
  const Text twoCookies =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nset-cookie: c=3\r\nSet-Cookie: b=2\r\n\r\n";
  struct Case {
    const char* name;
    Text headers;
    Text requestCookies;
    bool merge;
    Text incoming;
    Text expected;
  };
  const Case cases[] = {
      {"exact spelling only, no merge", twoCookies, "", true, "", "a=1; b=2"},
      {"merge", twoCookies, "a=0; z=9", true, "", "a=1;  b=2;  z=9"},
      {"merge off", twoCookies, "a=0; z=9", false, "", "a=1; b=2"},
      {"deleted", "HTTP/1.1 200 OK\r\nSet-Cookie: z=deleted; path=/\r\n\r\n", "a=0; z=9", true, "",
       "a=0"},
      {"request only", "HTTP/1.1 200 OK\r\n\r\n", "a=0", true, "", "a=0"},
      {"none", "HTTP/1.1 200 OK\r\n\r\n", "", true, "", ""},
      {"piece without attributes", "HTTP/1.1 200 OK\r\nSet-Cookie:  tok \r\n\r\n", "", true, "",
       "tok"},
      {"appended to what the caller had", "HTTP/1.1 200 OK\r\nSet-Cookie: n=1\r\n\r\n", "", true,
       "old=0; ", "old=0; n=1"},
      // The last two characters go even when nothing was appended.
      {"caller's text cut", "HTTP/1.1 200 OK\r\n\r\n", "", true, "old=0", "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingTransport fake;
    fake.rawHeaders = c.headers;
    Text cookies = c.incoming;
    Fetch(fake, {.url = "http://h/", .cookies = c.requestCookies, .mergeCookies = c.merge},
          {.returnedCookies = &cookies});
    EXPECT_EQ(cookies, c.expected);
  }
}

TEST(ResponseStage, LocationIsTheLastLocationLineInAnyLetterCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"HTTP/1.1 302 Found\r\nlocation: /next\r\n\r\n", "/next"},
      {"HTTP/1.1 302 Found\r\nLocation: /a\r\nLOCATION: /b?x=1\r\n\r\n", "/b?x=1"},
      {"HTTP/1.1 200 OK\r\nContent-Location: /c\r\n\r\n", "keep"},
  };
  for (const auto& [headers, expected] : cases) {
    RecordingTransport fake;
    fake.rawHeaders = headers;
    Text location = "keep";
    Fetch(fake, {.url = "http://h/"}, {.location = &location});
    EXPECT_EQ(location, expected) << headers;
  }
}

TEST(ResponseStage, ResultEndsAtAZeroByteWhileResponseBytesKeepsAll) {
  RecordingTransport fake;
  fake.bodyPieces = {ToBytes(std::string("ab\0cd", 5))};
  Bytes bytes;
  EXPECT_EQ(Fetch(fake, {.url = "http://h/"}, {.responseBytes = &bytes}), "ab");
  EXPECT_EQ(bytes, ToBytes(std::string("ab\0cd", 5)));
}

TEST(ResponseStage, DeclaredCharsetDecidesTheResultText) {
  const std::string padding(1100, ' ');
  struct Case {
    const char* name;
    std::string body;
    Text expected;
  };
  const Case cases[] = {
      {"utf-8 in a quoted meta", "<meta charset=\"utf-8\">" + kNiHaoUtf8,
       "<meta charset=\"utf-8\">" + kNiHao},
      {"big5 at the end of a content value",
       "<meta http-equiv=Content-Type content=text/html;charset=big5>" + kNiHaoBig5,
       "<meta http-equiv=Content-Type content=text/html;charset=big5>" + kNiHao},
      {"declaration beyond the first 1024 bytes", padding + "<meta charset=utf-8>" + kNiHaoUtf8,
       padding + "<meta charset=utf-8>" + kNiHaoUtf8},
      // 丂 (81 40) exists in GBK but not in GB2312: the bytes pass through untouched.
      {"gb2312 family kept", "<meta charset=gb2312>\x81\x40" + kNiHao,
       "<meta charset=gb2312>\x81\x40" + kNiHao},
      {"GBK in capitals", "<META CHARSET=GBK>" + kNiHao, "<META CHARSET=GBK>" + kNiHao},
      {"unknown charset", "<meta charset=x-no-such-set>" + kNiHaoUtf8,
       "<meta charset=x-no-such-set>" + kNiHaoUtf8},
      {"no declaration", kNiHao, kNiHao},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingTransport fake;
    fake.bodyPieces = {ToBytes(c.body)};
    EXPECT_EQ(Fetch(fake, {.url = "http://h/"}), c.expected);
  }
}

TEST(ResponseStage, LetsEventsThroughAfterEachHeaderLineAndAfterADeclaredCharset) {
  RecordingTransport fake;
  RecordingPump pump(&fake.log);
  fake.rawHeaders = "HTTP/1.1 200 OK\r\nA: 1\r\nB: 2\r\n\r\n";
  fake.bodyPieces = {ToBytes("<meta charset=utf-8>")};
  Fetch(fake, {.url = "http://h/"});
  // 4 header lines, the charset, and the one before the handles close.
  EXPECT_EQ(fake.Calls("ProcessEvents").size(), 6u);
  EXPECT_EQ(fake.log[fake.log.size() - 4], "ProcessEvents");
}

}  // namespace
}  // namespace gedan
