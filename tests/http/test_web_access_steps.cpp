// WebAccess step by step over the recording transport: which calls happen with which arguments,
// what each failure writes, and where window events are let through.

#include <algorithm>
#include <cctype>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "http/recording_transport.h"
#include "http/web_access.h"
#include "text/bytes.h"
#include "text/encoding.h"

namespace gedan {
namespace {

using testing::RecordingPump;
using testing::RecordingTransport;

const Text kDefaultHeaders =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
    "Accept: text/html, application/xhtml+xml, */*\r\n"
    "Accept-Encoding: gbk, GB2312\r\n"
    "Accept-Language: zh-cn\r\n"
    "Cache-Control: no-cache\r\n";

// A request that reaches every step.
WebRequest EveryStep() {
  return {.url = "http://h.example/p",
          .method = 1,
          .postData = "a=1",
          .cookies = "c=1",
          .headers = "Referer: r",
          .noRedirect = true,
          .userName = "u",
          .password = "p",
          .proxy = "px:8080",
          .proxyUser = "pu",
          .proxyPassword = "pp",
          .timeoutSeconds = 5};
}

const std::vector<std::string> kEverySteps = {
    "CheckPlatform",        "CrackUrl http://h.example/p", "Open 3 http=px:8080",
    "Connect h.example 80", "OpenRequest POST /p plain",   "SetTimeouts 5000 5000 5000 5000",
    "SetCredentials 0 u p", "SetCredentials 1 pu pp",      "SetOption 79 1",
    "SetOption 63 2",       "AddRequestHeaders",           "SendRequest 3",
    "ReceiveResponse"};

struct FailureCase {
  const char* failing;  // prefix of the step that fails
  const char* status;   // UTF-8
  bool eventsBeforeClose;
};

class WebAccessFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WebAccessFailure, WritesItsTextClosesWhatWasOpenedAndTouchesNothingElse) {
  const FailureCase& c = GetParam();
  RecordingTransport fake;
  RecordingPump pump(&fake.log);
  fake.failing = {c.failing};
  fake.bodyPieces = {ToBytes("body")};

  Text status = "old", cookies = "keep", headers = "keep", location = "keep";
  Bytes bytes = ToBytes("keep");
  Text result = WebAccess(EveryStep(),
                          {.returnedCookies = &cookies,
                           .returnedHeaders = &headers,
                           .location = &location,
                           .status = &status,
                           .responseBytes = &bytes},
                          fake);

  EXPECT_EQ(result, "");
  EXPECT_EQ(status, Utf8ToAnsi(c.status));
  EXPECT_EQ(cookies, "keep");
  EXPECT_EQ(headers, "keep");
  EXPECT_EQ(location, "keep");
  EXPECT_EQ(bytes, ToBytes("keep"));

  // The steps up to the failing one, then the closes: request, connection and session, each
  // handle 0 when its step was not passed (the fake numbers them 3, 2 and 1).
  std::vector<std::string> expected;
  std::size_t failed = 0;
  while (!kEverySteps[failed].starts_with(c.failing)) expected.push_back(kEverySteps[failed++]);
  expected.push_back(kEverySteps[failed]);
  if (c.eventsBeforeClose) expected.push_back("ProcessEvents");
  constexpr std::size_t kOpenStep = 2, kConnectStep = 3, kRequestStep = 4;
  expected.push_back(failed > kRequestStep ? "CloseHandle 3" : "CloseHandle 0");
  expected.push_back(failed > kConnectStep ? "CloseHandle 2" : "CloseHandle 0");
  expected.push_back(failed > kOpenStep ? "CloseHandle 1" : "CloseHandle 0");
  EXPECT_EQ(fake.log, expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryNumberedFailure, WebAccessFailure,
    ::testing::Values(FailureCase{"CheckPlatform", "700 当前系统不支持WinHttp服务!", false},
                      FailureCase{"CrackUrl", "701 解析URL地址失败!", true},
                      FailureCase{"Open ", "702 创建WinHttp会话失败!", true},
                      FailureCase{"Connect", "703 创建WinHttp连接失败!", true},
                      FailureCase{"OpenRequest", "704 创建WinHttp请求失败!", true},
                      FailureCase{"SetTimeouts", "705 设置超时时间失败!", true},
                      FailureCase{"SetCredentials 0", "707 设置代理凭证失败!", false},
                      FailureCase{"SetCredentials 1", "707 设置代理凭证失败!", false},
                      FailureCase{"SetOption 79", "708 禁止自动设置Cookies失败!", false},
                      FailureCase{"SetOption 63 2", "709 重定向设置失败!", false},
                      FailureCase{"AddRequestHeaders", "710 设置协议头失败!", true},
                      FailureCase{"SendRequest", "711 发送请求失败!", true},
                      FailureCase{"ReceiveResponse", "712 服务器未响应!", true}),
    [](const ::testing::TestParamInfo<FailureCase>& param) {
      std::string name;
      for (char ch : std::string(param.param.failing))
        if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
      return name;
    });

TEST(WebAccessSteps, SuccessfulGetRunsEveryStepInOrder) {
  RecordingTransport fake;
  RecordingPump pump(&fake.log);
  fake.rawHeaders = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";
  fake.bodyPieces = {ToBytes("hel"), ToBytes("lo")};
  Text status;
  EXPECT_EQ(WebAccess({.url = "http://h/"}, {.status = &status}, fake), "hello");
  EXPECT_EQ(status, "200 OK");
  std::vector<std::string> expected = {
      "CheckPlatform", "CrackUrl http://h/", "Open 1 ", "Connect h 80", "OpenRequest GET / plain",
      "SetTimeouts 30000 30000 30000 30000", "SetOption 63 1", "AddRequestHeaders", "SendRequest 0",
      "ReceiveResponse", "QueryDataAvailable", "ReadData 3", "QueryDataAvailable", "ReadData 2",
      "QueryDataAvailable", "QueryRawHeaders",
      // one per header line (status line, Content-Length, the empty last line), then the one
      // before closing
      "ProcessEvents", "ProcessEvents", "ProcessEvents", "ProcessEvents", "CloseHandle 3",
      "CloseHandle 2", "CloseHandle 1"};
  EXPECT_EQ(fake.log, expected);
}

TEST(WebAccessSteps, ReadFailureKeepsTheBytesAndTheResponseStageReplacesTheStatus) {
  RecordingTransport fake;
  fake.bodyPieces = {ToBytes("par"), ToBytes("tial")};
  fake.breakAfterPieces = true;
  Text status;
  Bytes bytes;
  EXPECT_EQ(WebAccess({.url = "http://h/"}, {.status = &status, .responseBytes = &bytes}, fake),
            "partial");
  EXPECT_EQ(bytes, ToBytes("partial"));
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(fake.Calls("ReadData failed").size(), 1u);
}

TEST(WebAccessSteps, ReadFailureStaysInStatusWhenTheHeadersCannotBeRead) {
  RecordingTransport fake;
  RecordingPump pump(&fake.log);
  fake.bodyPieces = {ToBytes("body")};
  fake.breakAfterPieces = true;
  fake.failing = {"QueryRawHeaders"};
  Text status = "old", headers = "keep";
  Bytes bytes = ToBytes("keep");
  EXPECT_EQ(
      WebAccess({.url = "http://h/"},
                {.returnedHeaders = &headers, .status = &status, .responseBytes = &bytes}, fake),
      "");
  EXPECT_EQ(status, Utf8ToAnsi("713 读取数据失败!"));
  EXPECT_EQ(headers, "keep");
  EXPECT_EQ(bytes, ToBytes("keep"));
  EXPECT_EQ(fake.Calls("ProcessEvents").size(), 1u);
  EXPECT_EQ(fake.Calls("CloseHandle").size(), 3u);
}

TEST(WebAccessSteps, UnreadableHeadersLeaveTheStatusAsTheCallerHadIt) {
  RecordingTransport fake;
  fake.bodyPieces = {ToBytes("body")};
  fake.failing = {"QueryRawHeaders"};
  Text status = "old";
  EXPECT_EQ(WebAccess({.url = "http://h/"}, {.status = &status}, fake), "");
  EXPECT_EQ(status, "old");
}

TEST(WebAccessSteps, BodyStopsAtTheMemoryCapAsAReadFailure) {
  RecordingTransport fake;
  fake.endlessPieceSize = 1 << 20;
  fake.failing = {"QueryRawHeaders"};  // keeps the 713 text visible
  Text status;
  EXPECT_EQ(WebAccess({.url = "http://h/"}, {.status = &status}, fake), "");
  EXPECT_EQ(status, Utf8ToAnsi("713 读取数据失败!"));
  EXPECT_EQ(fake.Calls("ReadData").size(), 64u);
}

struct UrlCase {
  const char* url;
  const char* connect;
  const char* request;
};

TEST(WebAccessSteps, UrlGivesHostPortObjectAndSecureFlag) {
  const UrlCase cases[] = {
      {"http://h", "Connect h 80", "OpenRequest GET / plain"},
      {"http://h/", "Connect h 80", "OpenRequest GET / plain"},
      {"http://h/a/b?x=1&y=2", "Connect h 80", "OpenRequest GET /a/b?x=1&y=2 plain"},
      {"https://h/a", "Connect h 443", "OpenRequest GET /a secure"},
      {"https://h:8443/a?q", "Connect h 8443", "OpenRequest GET /a?q secure"},
      {"HTTP://user:pw@h:81/x#part", "Connect h 81", "OpenRequest GET /x plain"},
      // Without a path the object is "/", and the query is kept after it.
      {"http://h?x=1", "Connect h 80", "OpenRequest GET /?x=1 plain"},
      {"http://[::1]:8080/v6", "Connect ::1 8080", "OpenRequest GET /v6 plain"},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(c.url);
    RecordingTransport fake;
    WebAccess({.url = c.url}, {}, fake);
    EXPECT_EQ(fake.Calls("Connect"), std::vector<std::string>{c.connect});
    EXPECT_EQ(fake.Calls("OpenRequest"), std::vector<std::string>{c.request});
  }
}

TEST(WebAccessSteps, MalformedUrlsEndWith701) {
  for (const char* url :
       {"", "h.example/x", "ftp://h/", "http://", "http:///x", "http://:80/", "http://h:0/",
        "http://h:65536/", "http://h:8x/", "http://h:/", "http://h h/", "http://[::1/"}) {
    SCOPED_TRACE(url);
    RecordingTransport fake;
    Text status;
    EXPECT_EQ(WebAccess({.url = url}, {.status = &status}, fake), "");
    EXPECT_EQ(status, Utf8ToAnsi("701 解析URL地址失败!"));
    EXPECT_TRUE(fake.Calls("Open").empty());
  }
}

TEST(WebAccessSteps, ProxyIsNamedForPlainRequestsOnlyUnlessTheUrlIsSecure) {
  RecordingTransport plain, secure;
  WebAccess({.url = "http://h/", .proxy = "px:3128"}, {}, plain);
  WebAccess({.url = "https://h/", .proxy = "px:3128"}, {}, secure);
  EXPECT_EQ(plain.Calls("Open "), std::vector<std::string>{"Open 3 http=px:3128"});
  EXPECT_EQ(secure.Calls("Open "), std::vector<std::string>{"Open 3 px:3128"});
}

struct HeaderCase {
  const char* name;
  int method;
  Text headers;
  Text cookies;
  Text expected;
};

TEST(WebAccessSteps, RequestHeaderTextPutsCallerLinesFirstThenMissingDefaults) {
  const Text ua =
      "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
  const Text accept = "Accept: text/html, application/xhtml+xml, */*\r\n";
  const Text rest = "Accept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn\r\n";
  const Text form = "Content-Type: application/x-www-form-urlencoded\r\n";
  const Text cache = "Cache-Control: no-cache\r\n";
  const HeaderCase cases[] = {
      {"defaults only", 0, "", "", kDefaultHeaders},
      {"caller line first", 0, "Referer: x", "", "Referer: x\r\n" + kDefaultHeaders},
      {"no check for a final line break", 0, "Referer: x\r\n", "",
       "Referer: x\r\n\r\n" + kDefaultHeaders},
      {"user agent in any letter case", 0, "user-AGENT: me", "",
       "user-AGENT: me\r\n" + accept + rest + cache},
      {"Accept-Encoding is not Accept", 0, "Accept-Encoding: identity", "",
       "Accept-Encoding: identity\r\n" + ua + accept + "Accept-Language: zh-cn\r\n" + cache},
      {"POST adds the form type", 1, "", "", ua + accept + rest + form + cache},
      {"exact Content-Type suppresses it", 1, "Content-Type: text/plain", "",
       "Content-Type: text/plain\r\n" + ua + accept + rest + cache},
      {"lower-case content-type does not", 1, "content-type: text/plain", "",
       "content-type: text/plain\r\n" + ua + accept + rest + form + cache},
      {"form type only for POST", 3, "", "", kDefaultHeaders},
      {"cookie line last", 0, "", "a=1", kDefaultHeaders + "Cookie: a=1\r\n"},
      {"caller's cookie line wins", 0, "cookie: b=2", "a=1", "cookie: b=2\r\n" + kDefaultHeaders},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingTransport fake;
    WebAccess({.url = "http://h/", .method = c.method, .cookies = c.cookies, .headers = c.headers},
              {}, fake);
    EXPECT_EQ(fake.sentHeaders, c.expected);
  }
}

TEST(WebAccessSteps, CookieAndRedirectOptions) {
  struct Case {
    Text cookies;
    bool noRedirect;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"", false, {"SetOption 63 1"}},
      {"", true, {"SetOption 63 1", "SetOption 63 2"}},
      {"a=1", false, {"SetOption 79 1"}},
      {"a=1", true, {"SetOption 79 1", "SetOption 63 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cookies + (c.noRedirect ? " noRedirect" : ""));
    RecordingTransport fake;
    WebAccess({.url = "http://h/", .cookies = c.cookies, .noRedirect = c.noRedirect}, {}, fake);
    EXPECT_EQ(fake.Calls("SetOption"), c.options);
  }
}

TEST(WebAccessSteps, TimeoutSecondsBecomeOneValueForAllFourTimeouts) {
  const std::pair<int, const char*> cases[] = {
      {0, "SetTimeouts 30000 30000 30000 30000"},
      {-4, "SetTimeouts 30000 30000 30000 30000"},
      {5, "SetTimeouts 5000 5000 5000 5000"},
      {std::numeric_limits<int>::max(), "SetTimeouts 2147483000 2147483000 2147483000 2147483000"}};
  for (const auto& [seconds, expected] : cases) {
    RecordingTransport fake;
    WebAccess({.url = "http://h/", .timeoutSeconds = seconds}, {}, fake);
    EXPECT_EQ(fake.Calls("SetTimeouts"), std::vector<std::string>{expected}) << seconds;
  }
}

TEST(WebAccessSteps, MethodIndexChoosesTheVerb) {
  const std::pair<int, const char*> cases[] = {
      {-1, "GET"},    {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"},
      {4, "OPTIONS"}, {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}};
  for (const auto& [method, verb] : cases) {
    RecordingTransport fake;
    WebAccess({.url = "http://h/x", .method = method}, {}, fake);
    EXPECT_EQ(fake.Calls("OpenRequest"),
              std::vector<std::string>{"OpenRequest " + std::string(verb) + " /x plain"})
        << method;
  }
}

TEST(WebAccessSteps, PostDataIsSentAsItsBytes) {
  RecordingTransport fake;
  WebAccess({.url = "http://h/", .method = 1, .postData = "k=\xC4\xE3"}, {}, fake);
  EXPECT_EQ(fake.sentBody, ToBytes("k=\xC4\xE3"));
}

TEST(WebAccessSteps, CredentialsNeedBothHalves) {
  struct Case {
    WebRequest request;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {{.url = "http://h/", .userName = "u"}, {}},
      {{.url = "http://h/", .password = "p"}, {}},
      {{.url = "http://h/", .proxyUser = "pu"}, {}},
      {{.url = "http://h/", .userName = "u", .password = "p", .proxyPassword = "pp"},
       {"SetCredentials 0 u p"}},
      {{.url = "http://h/", .proxyUser = "pu", .proxyPassword = "pp"}, {"SetCredentials 1 pu pp"}},
  };
  for (const Case& c : cases) {
    RecordingTransport fake;
    Text status;
    WebAccess(c.request, {.status = &status}, fake);
    EXPECT_EQ(fake.Calls("SetCredentials"), c.calls);
    EXPECT_EQ(status, "200 OK");
  }
}

}  // namespace
}  // namespace gedan
