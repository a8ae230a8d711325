// HTTPS certificates are verified: a server whose certificate no trusted authority signed gets no
// request. The fixture is a self-signed certificate for 127.0.0.1 made for this test only
// (openssl req -x509 -newkey rsa:2048 -nodes -days 36500 -subj /CN=127.0.0.1
//  -addext subjectAltName=IP:127.0.0.1).

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <httplib.h>

#include "http/one_answer_server.h"
#include "http/web_access.h"
#include "text/encoding.h"

namespace gedan {
namespace {

using testing::OneAnswerServer;

TEST(WebAccessTls, UntrustedCertificateFailsTheSend) {
  httplib::SSLServer server(GEDAN_HTTP_TEST_DATA "/loopback.crt",
                            GEDAN_HTTP_TEST_DATA "/loopback.key");
  ASSERT_TRUE(server.is_valid());
  std::atomic<int> served{0};
  server.Get(".*", [&served](const httplib::Request&, httplib::Response& response) {
    ++served;
    response.set_content("secret", "text/plain");
  });
  int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&server] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  Text status;
  Text result =
      WebAccess({.url = "https://127.0.0.1:" + std::to_string(port) + "/", .timeoutSeconds = 5},
                {.status = &status});
  server.stop();
  thread.join();

  EXPECT_EQ(result, "");
  EXPECT_EQ(status, Utf8ToAnsi("711 发送请求失败!"));
  EXPECT_EQ(served, 0);
}

TEST(WebAccessTls, TunnelWithoutAServerBehindItIsAFailedSend) {
  // The proxy grants the tunnel, then hangs up instead of relaying: the TLS handshake never
  // reaches a server.
  OneAnswerServer proxy("HTTP/1.1 200 Connection established\r\n\r\n");
  Text status, headers = "keep";
  Text result =
      WebAccess({.url = "https://gedan.invalid/", .proxy = proxy.Address(), .timeoutSeconds = 5},
                {.returnedHeaders = &headers, .status = &status});
  EXPECT_EQ(result, "");
  // The proxy's "200 Connection established" is no answer of the server.
  EXPECT_EQ(status, Utf8ToAnsi("711 发送请求失败!"));
  EXPECT_EQ(headers, "keep");
}

}  // namespace
}  // namespace gedan
