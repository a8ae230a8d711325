// WebAccess over libcurl against a loopback HTTP server: what goes on the wire and what comes back.

#include <chrono>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "http/curl_transport.h"
#include "http/one_answer_server.h"
#include "http/recording_transport.h"
#include "http/web_access.h"
#include "support/loopback_server.h"
#include "text/bytes.h"
#include "text/encoding.h"

namespace gedan {
namespace {

using testing::CannedResponse;
using testing::LoopbackServer;
using testing::OneAnswerServer;
using testing::RecordingTransport;

const Text kNiHao = "\xC4\xE3\xBA\xC3";  // GB18030 你好
const std::string kNiHaoUtf8 = "\xE4\xBD\xA0\xE5\xA5\xBD";

class WebAccessLoopback : public ::testing::Test {
 protected:
  LoopbackServer server;
  Text status = "unset";
};

TEST_F(WebAccessLoopback, GetSendsTheDefaultHeadersAndNothingOfLibcurlsOwn) {
  server.Serve("/page", {.body = "hello"});
  Text headers;
  EXPECT_EQ(
      WebAccess({.url = server.Url("/page?x=1")}, {.returnedHeaders = &headers, .status = &status}),
      "hello");
  EXPECT_EQ(status, "200 OK");
  EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n")) << headers;
  EXPECT_TRUE(headers.ends_with("\r\n\r\n")) << headers;

  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const auto& r = requests[0];
  EXPECT_EQ(r.method, "GET");
  EXPECT_EQ(r.query, "x=1");
  EXPECT_EQ(r.Header("User-Agent"),
            "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)");
  EXPECT_EQ(r.headers.count("Accept"), 1u);
  EXPECT_EQ(r.Header("Accept"), "text/html, application/xhtml+xml, */*");
  EXPECT_EQ(r.Header("Accept-Encoding"), "gbk, GB2312");
  EXPECT_EQ(r.Header("Accept-Language"), "zh-cn");
  EXPECT_EQ(r.Header("Cache-Control"), "no-cache");
  EXPECT_EQ(r.headers.count("Cookie"), 0u);
  EXPECT_EQ(r.headers.count("Content-Type"), 0u);
}

TEST_F(WebAccessLoopback, CallerLinesReplaceDefaultsAndCookiesGoInTheCookieLine) {
  server.Serve("/page", {.body = "ok"});
  WebAccess({.url = server.Url("/page"),
             .cookies = "a=0; z=9",
             .headers = "Accept: text/plain\r\nReferer: http://r.example/"});
  const auto r = server.Requests().at(0);
  EXPECT_EQ(r.headers.count("Accept"), 1u);
  EXPECT_EQ(r.Header("Accept"), "text/plain");
  EXPECT_EQ(r.Header("Referer"), "http://r.example/");
  EXPECT_EQ(r.Header("Cookie"), "a=0; z=9");
}

TEST_F(WebAccessLoopback, PostPutAndHeadCarryTheirBodies) {
  server.Serve("/form", {.body = "posted"});
  EXPECT_EQ(WebAccess({.url = server.Url("/form"), .method = 1, .postData = "a=1&b=2"}), "posted");
  WebAccess({.url = server.Url("/form"), .method = 1});
  WebAccess({.url = server.Url("/form"), .method = 3, .postData = "put body"});
  EXPECT_EQ(WebAccess({.url = server.Url("/form"), .method = 2}, {.status = &status}), "");
  EXPECT_EQ(status, "200 OK");

  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "a=1&b=2");
  EXPECT_EQ(requests[0].Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[0].Header("Expect"), "");
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].Header("Content-Length"), "0");
  EXPECT_EQ(requests[2].method, "PUT");
  EXPECT_EQ(requests[2].body, "put body");
  EXPECT_EQ(requests[2].headers.count("Content-Type"), 0u);
  EXPECT_EQ(requests[3].method, "HEAD");
}

TEST_F(WebAccessLoopback, RedirectsAreFollowedUnlessNoRedirect) {
  server.Serve("/page", {.body = "target"});
  server.Serve("/old", {.status = 302, .headers = {{"Location", "/page"}}, .body = "moved"});
  Text location = "keep";
  EXPECT_EQ(WebAccess({.url = server.Url("/old")}, {.location = &location, .status = &status}),
            "target");
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(location, "keep");  // the final response has none
  EXPECT_EQ(server.Requests().size(), 2u);

  EXPECT_EQ(WebAccess({.url = server.Url("/old"), .noRedirect = true},
                      {.location = &location, .status = &status}),
            "moved");
  EXPECT_EQ(status, "302 Found");
  EXPECT_EQ(location, "/page");
  EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(WebAccessLoopback, EndlessRedirectsStopAfterTenAsAMissingResponse) {
  server.Serve("/loop", {.status = 302, .headers = {{"Location", "/loop"}}});
  EXPECT_EQ(WebAccess({.url = server.Url("/loop")}, {.status = &status}), "");
  EXPECT_EQ(status, Utf8ToAnsi("712 服务器未响应!"));
  EXPECT_EQ(server.Requests().size(), 11u);
}

TEST_F(WebAccessLoopback, RedirectToAnUnreachableTargetIsAMissingResponse) {
  Text deadUrl;
  {
    LoopbackServer gone;
    deadUrl = gone.Url("/x");
  }
  server.Serve("/old", {.status = 302, .headers = {{"Location", deadUrl}}, .body = "moved"});
  Text headers = "keep", location = "keep";
  EXPECT_EQ(WebAccess({.url = server.Url("/old"), .timeoutSeconds = 2},
                      {.returnedHeaders = &headers, .location = &location, .status = &status}),
            "");
  // The redirect was passed over: its headers are not the answer.
  EXPECT_EQ(status, Utf8ToAnsi("712 服务器未响应!"));
  EXPECT_EQ(headers, "keep");
  EXPECT_EQ(location, "keep");
}

TEST_F(WebAccessLoopback, HeaderLinesEndedByALoneLineFeedAreHandedOutWithCrLf) {
  OneAnswerServer sloppy(
      "HTTP/1.1 302 Found\nSet-Cookie: a=1; path=/\nLocation: /next\nContent-Length: 2\n\nok");
  Text headers, cookies, location;
  EXPECT_EQ(WebAccess({.url = sloppy.Url("/"), .noRedirect = true}, {.returnedCookies = &cookies,
                                                                     .returnedHeaders = &headers,
                                                                     .location = &location,
                                                                     .status = &status}),
            "ok");
  EXPECT_EQ(headers,
            "HTTP/1.1 302 Found\r\nSet-Cookie: a=1; path=/\r\nLocation: /next\r\n"
            "Content-Length: 2\r\n\r\n");
  EXPECT_EQ(status, "302 Found");
  EXPECT_EQ(cookies, "a=1");
  EXPECT_EQ(location, "/next");
}

TEST_F(WebAccessLoopback, SetCookieLinesAreCollectedAndMerged) {
  server.Serve(
      "/c",
      {.headers = {{"Set-Cookie", "a=1; path=/"}, {"set-cookie", "c=3"}, {"Set-Cookie", "b=2"}}});
  server.Serve("/gone", {.headers = {{"Set-Cookie", "z=deleted; path=/"}}});
  Text cookies;
  WebAccess({.url = server.Url("/c")}, {.returnedCookies = &cookies});
  EXPECT_EQ(cookies, "a=1; b=2");
  cookies.clear();
  WebAccess({.url = server.Url("/c"), .cookies = "a=0; z=9"}, {.returnedCookies = &cookies});
  EXPECT_EQ(cookies, "a=1;  b=2;  z=9");
  cookies.clear();
  WebAccess({.url = server.Url("/c"), .cookies = "a=0; z=9", .mergeCookies = false},
            {.returnedCookies = &cookies});
  EXPECT_EQ(cookies, "a=1; b=2");
  cookies.clear();
  WebAccess({.url = server.Url("/gone"), .cookies = "a=0; z=9"}, {.returnedCookies = &cookies});
  EXPECT_EQ(cookies, "a=0");
}

TEST_F(WebAccessLoopback, PagesAreDecodedInTheCharsetTheyDeclare) {
  const std::string head = "<html><head><meta charset=\"utf-8\"></head>";
  const std::string late = std::string(1100, ' ') + "<meta charset=\"utf-8\">";
  server.Serve("/utf8", {.body = head + kNiHaoUtf8});
  server.Serve("/late", {.body = late + kNiHaoUtf8});
  server.Serve("/gbk", {.body = "<meta content=\"text/html; charset=gbk\">\x81\x40" + kNiHao});
  EXPECT_EQ(WebAccess({.url = server.Url("/utf8")}), head + kNiHao);
  EXPECT_EQ(WebAccess({.url = server.Url("/late")}), late + kNiHaoUtf8);
  EXPECT_EQ(WebAccess({.url = server.Url("/gbk")}),
            "<meta content=\"text/html; charset=gbk\">\x81\x40" + kNiHao);
}

TEST_F(WebAccessLoopback, ZeroByteEndsTheTextButNotTheBytes) {
  const std::string body("ab\0cd", 5);
  server.Serve("/zero", {.body = body, .contentType = "application/octet-stream"});
  Bytes bytes;
  EXPECT_EQ(WebAccess({.url = server.Url("/zero")}, {.responseBytes = &bytes}), "ab");
  EXPECT_EQ(bytes, ToBytes(body));
}

TEST_F(WebAccessLoopback, BasicCredentialsReachTheServer) {
  server.Handle("/private", [](const httplib::Request& request, httplib::Response& response) {
    if (request.get_header_value("Authorization") == "Basic dTpwdw==") {  // u:pw
      response.set_content("secret", "text/plain");
    } else {
      response.status = 401;
      response.set_header("WWW-Authenticate", "Basic realm=\"gedan\"");
    }
  });
  EXPECT_EQ(WebAccess({.url = server.Url("/private"), .userName = "u", .password = "pw"},
                      {.status = &status}),
            "secret");
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(WebAccess({.url = server.Url("/private"), .userName = "u"}, {.status = &status}), "");
  EXPECT_EQ(status, "401 Unauthorized");
}

TEST_F(WebAccessLoopback, PlainRequestsGoThroughTheNamedProxyWithItsCredentials) {
  server.Serve("/", {.body = "via proxy"});
  std::string proxy = "127.0.0.1:" + std::to_string(server.port());
  WebAccess({.url = "http://gedan.invalid/x?y=1",
             .proxy = proxy,
             .proxyUser = "pu",
             .proxyPassword = "pp"});
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("Host"), "gedan.invalid");
  EXPECT_EQ(requests[0].Header("Proxy-Authorization"), "Basic cHU6cHA=");  // pu:pp
}

TEST_F(WebAccessLoopback, NamedProxyIsUsedWhateverTheEnvironmentExempts) {
  std::string proxy = "127.0.0.1:" + std::to_string(server.port());
  ::setenv("no_proxy", "*", 1);
  WebAccess({.url = "http://gedan.invalid/", .proxy = proxy, .timeoutSeconds = 5});
  ::unsetenv("no_proxy");
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("Host"), "gedan.invalid");
}

TEST_F(WebAccessLoopback, StalledServerEndsWithinTheTimeout) {
  server.Serve("/silent", {.body = "late", .delayMs = 20000});
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WebAccess({.url = server.Url("/silent"), .timeoutSeconds = 1}, {.status = &status}),
            "");
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(status, Utf8ToAnsi("712 服务器未响应!"));
  // The stall clock ticks at least once a second; far below the server's 20 seconds.
  EXPECT_LT(elapsed, std::chrono::seconds(4));
}

TEST_F(WebAccessLoopback, InterimAnswerAloneIsNoResponse) {
  // The server grants "100 Continue", then never sends the final answer.
  server.Serve("/slow", {.body = "late", .delayMs = 20000});
  Text headers = "keep";
  EXPECT_EQ(WebAccess({.url = server.Url("/slow"),
                       .method = 1,
                       .postData = "a=1",
                       .headers = "Expect: 100-continue",
                       .timeoutSeconds = 1},
                      {.returnedHeaders = &headers, .status = &status}),
            "");
  EXPECT_EQ(status, Utf8ToAnsi("712 服务器未响应!"));
  EXPECT_EQ(headers, "keep");
}

TEST_F(WebAccessLoopback, TransferThatStallsMidBodyKeepsWhatArrived) {
  const std::string body(4000, 'x');
  server.Serve("/stall", {.body = body, .truncateAfter = 1000, .stallMs = 20000});
  CurlTransport curl;
  RecordingTransport watched(&curl);
  Bytes bytes;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WebAccess({.url = server.Url("/stall"), .timeoutSeconds = 1},
                      {.status = &status, .responseBytes = &bytes}, watched),
            body.substr(0, 1000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  EXPECT_EQ(bytes.size(), 1000u);
  EXPECT_EQ(watched.Calls("ReadData failed").size(), 1u);
  EXPECT_EQ(status, "200 OK");  // the response's status replaces the read failure
}

TEST_F(WebAccessLoopback, ServerThatDropsMidBodyGivesAReadFailureWithTheBytesRead) {
  const std::string body(5000, 'y');
  server.Serve("/drop", {.body = body, .truncateAfter = 1200});
  CurlTransport curl;
  RecordingTransport watched(&curl);
  watched.failing = {"QueryRawHeaders"};  // keeps the read failure in the status
  Text result = WebAccess({.url = server.Url("/drop")}, {.status = &status}, watched);
  EXPECT_EQ(result, "");
  EXPECT_EQ(status, Utf8ToAnsi("713 读取数据失败!"));
  EXPECT_EQ(watched.Calls("ReadData failed").size(), 1u);

  Bytes bytes;
  WebAccess({.url = server.Url("/drop")}, {.responseBytes = &bytes});
  EXPECT_EQ(bytes, ToBytes(body.substr(0, 1200)));
}

TEST_F(WebAccessLoopback, BodyBeyondTheCapIsCutAsAReadFailure) {
  server.Serve("/big", {.body = std::string(5000, 'z')});
  CurlTransport curl(/*maxBodyBytes=*/1000);
  RecordingTransport watched(&curl);
  Bytes bytes;
  WebAccess({.url = server.Url("/big")}, {.status = &status, .responseBytes = &bytes}, watched);
  EXPECT_EQ(bytes.size(), 1000u);
  EXPECT_EQ(watched.Calls("ReadData failed").size(), 1u);
}

TEST_F(WebAccessLoopback, OversizedHeaderBlockIsNoResponse) {
  server.Handle("/fat", [](const httplib::Request&, httplib::Response& response) {
    for (int i = 0; i < 1500; ++i)
      response.set_header("X-Pad-" + std::to_string(i), std::string(1000, 'p'));
    response.set_content("body", "text/plain");
  });
  EXPECT_EQ(WebAccess({.url = server.Url("/fat")}, {.status = &status}), "");
  EXPECT_EQ(status, Utf8ToAnsi("712 服务器未响应!"));
}

TEST_F(WebAccessLoopback, TransportFailuresOnTheWire) {
  Text deadUrl;
  {
    LoopbackServer gone;
    deadUrl = gone.Url("/x");
  }
  EXPECT_EQ(WebAccess({.url = deadUrl, .timeoutSeconds = 2}, {.status = &status}), "");
  EXPECT_EQ(status, Utf8ToAnsi("711 发送请求失败!"));

  server.Serve("/x", {.body = "x"});
  EXPECT_EQ(WebAccess({.url = server.Url("/x"), .headers = "no colon here"}, {.status = &status}),
            "");
  EXPECT_EQ(status, Utf8ToAnsi("710 设置协议头失败!"));
  EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace gedan
