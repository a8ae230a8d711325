// HTTPS certificates are verified: a server whose certificate no trusted authority signed gets no
// request. The fixture is a self-signed certificate for 127.0.0.1 made for this test only
// (openssl req -x509 -newkey rsa:2048 -nodes -days 36500 -subj /CN=127.0.0.1
//  -addext subjectAltName=IP:127.0.0.1).

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "http/web_access.h"
#include "text/encoding.h"

namespace gedan {
namespace {

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

// A proxy that grants one CONNECT tunnel and then hangs up instead of relaying: the client's TLS
// handshake never reaches a server.
class HangUpTunnelProxy {
 public:
  HangUpTunnelProxy() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(listener_, 1);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      int client = ::accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      std::string request;
      char buffer[512];
      while (request.find("\r\n\r\n") == std::string::npos) {
        auto n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
      }
      const std::string answer = "HTTP/1.1 200 Connection established\r\n\r\n";
      ::send(client, answer.data(), answer.size(), 0);
      ::close(client);
    });
  }
  ~HangUpTunnelProxy() {
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
  }
  HangUpTunnelProxy(const HangUpTunnelProxy&) = delete;
  HangUpTunnelProxy& operator=(const HangUpTunnelProxy&) = delete;

  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

TEST(WebAccessTls, TunnelWithoutAServerBehindItIsAFailedSend) {
  HangUpTunnelProxy proxy;
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
