#pragma once

// A server for answers no well-behaved HTTP server would give: it accepts one connection on
// 127.0.0.1, reads the request head, sends the given bytes as they are and hangs up.
//
//   OneAnswerServer server("HTTP/1.1 200 OK\nContent-Length: 2\n\nok");
//   WebAccess({.url = server.Url("/")});

#include <cstddef>
#include <string>
#include <thread>
#include <utility>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace gedan::testing {

class OneAnswerServer {
 public:
  explicit OneAnswerServer(std::string answer) : answer_(std::move(answer)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(listener_, 1);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { ServeOne(); });
  }
  ~OneAnswerServer() {
    ::shutdown(listener_, SHUT_RDWR);  // wakes an accept that is still waiting
    thread_.join();
    ::close(listener_);
  }
  OneAnswerServer(const OneAnswerServer&) = delete;
  OneAnswerServer& operator=(const OneAnswerServer&) = delete;

  // "127.0.0.1:<port>", as a proxy address.
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const std::string& path) const { return "http://" + Address() + path; }

 private:
  void ServeOne() {
    int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    std::string request;
    char buffer[512];
    while (request.find("\r\n\r\n") == std::string::npos) {
      auto n = ::recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<std::size_t>(n));
    }
    ::send(client, answer_.data(), answer_.size(), MSG_NOSIGNAL);
    ::close(client);
  }

  std::string answer_;
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace gedan::testing
