#pragma once

// The one HTTP server every networked test talks to: it binds 127.0.0.1 on a port the system picks,
// answers each path from a table of canned responses (or a handler of the test's own), and records
// every request it received.
//
//   LoopbackServer server;
//   server.Serve("/page", {.body = "hello"});
//   server.Serve("/old", {.status = 302, .headers = {{"Location", "/page"}}});
//   Text page = WebAccess({.url = server.Url("/old")});
//   EXPECT_EQ(server.Requests().back().path, "/page");
//
// Paths are matched without their query. Unknown paths get 404. The server stops in the
// destructor, and responses that stall give up at once when it does.

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <httplib.h>

namespace gedan::testing {

struct CannedResponse {
  int status = 200;
  // Sent in this order; a name may repeat (several Set-Cookie lines).
  std::vector<std::pair<std::string, std::string>> headers{};
  std::string body{};
  std::string contentType = "text/html";
  // Waits this long before answering at all (to test time-outs).
  int delayMs = 0;
  // When set, only this many body bytes are sent, then the response stalls for stallMs (if any) and
  // the connection is closed although Content-Length promised the whole body.
  std::size_t truncateAfter = static_cast<std::size_t>(-1);
  int stallMs = 0;
};

struct RecordedRequest {
  std::string method;
  std::string path;   // without the query
  std::string query;  // as sent, without "?"
  std::multimap<std::string, std::string, httplib::detail::ci> headers;
  std::string body;

  // The first value of a header, "" when absent (names compare without letter case).
  std::string Header(const std::string& name) const;
};

class LoopbackServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `pathAndQuery`.
  std::string Url(const std::string& pathAndQuery) const;

  void Serve(const std::string& path, CannedResponse response);
  void Handle(const std::string& path, Handler handler);

  std::vector<RecordedRequest> Requests() const;
  // Whether the server is stopping; long-running handlers of a test poll it.
  bool stopping() const { return stopping_; }

 private:
  void Dispatch(const httplib::Request& request, httplib::Response& response);
  void Answer(const CannedResponse& canned, httplib::Response& response);
  // Sleeps up to `ms`, returning early when the server stops.
  void Pause(int ms) const;

  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, CannedResponse> canned_;
  std::map<std::string, Handler> handlers_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace gedan::testing
