// The plain whole-document read used for the start-up notice.

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "http/read_url_bytes.h"
#include "support/loopback_server.h"
#include "text/bytes.h"

namespace gedan {
namespace {

using testing::LoopbackServer;

TEST(ReadUrlBytes, OnePlainHttp10GetWithItsOwnAgentAndAccept) {
  LoopbackServer server;
  std::string version;
  server.Handle("/", [&version](const httplib::Request& request, httplib::Response& response) {
    version = request.version;
    response.set_content("1\r\n", "text/plain");
  });
  EXPECT_EQ(ReadUrlBytes(server.Url("/?1.htm")), ToBytes("1\r\n"));
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].query, "1.htm");
  EXPECT_EQ(version, "HTTP/1.0");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(requests[0].headers.count("Accept"), 1u);
  EXPECT_EQ(requests[0].Header("Accept"), "*/*");
}

TEST(ReadUrlBytes, BodyComesBackWhateverTheStatusAfterRedirects) {
  LoopbackServer server;
  server.Serve("/flag", {.status = 404, .body = "<html>not here</html>"});
  server.Serve("/moved", {.status = 301, .headers = {{"Location", "/flag"}}});
  EXPECT_EQ(ReadUrlBytes(server.Url("/moved")), ToBytes("<html>not here</html>"));
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(ReadUrlBytes, BrokenOffBodyKeepsItsBytes) {
  LoopbackServer server;
  server.Serve("/cut", {.body = std::string(3000, 'q'), .truncateAfter = 700});
  EXPECT_EQ(ReadUrlBytes(server.Url("/cut")), ToBytes(std::string(700, 'q')));
}

TEST(ReadUrlBytes, NoAnswerGivesNothing) {
  std::string deadUrl;
  {
    LoopbackServer gone;
    deadUrl = gone.Url("/");
  }
  EXPECT_TRUE(ReadUrlBytes(deadUrl).empty());
  EXPECT_TRUE(ReadUrlBytes("").empty());
  EXPECT_TRUE(ReadUrlBytes("not a url").empty());
}

TEST(ReadUrlBytes, GoesDirectEvenWhenTheEnvironmentNamesAProxy) {
  LoopbackServer server;
  server.Serve("/", {.body = "direct"});
  ::setenv("http_proxy", "http://127.0.0.1:1", 1);
  Bytes body = ReadUrlBytes(server.Url("/"));
  ::unsetenv("http_proxy");
  EXPECT_EQ(body, ToBytes("direct"));
}

}  // namespace
}  // namespace gedan
