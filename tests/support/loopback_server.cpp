#include "support/loopback_server.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace gedan::testing {

std::string RecordedRequest::Header(const std::string& name) const {
  auto it = headers.find(name);
  return it == headers.end() ? std::string() : it->second;
}

LoopbackServer::LoopbackServer() {
  auto any = [this](const httplib::Request& request, httplib::Response& response) {
    Dispatch(request, response);
  };
  const char* everything = ".*";
  server_.Get(everything, any);
  server_.Post(everything, any);
  server_.Put(everything, any);
  server_.Delete(everything, any);
  server_.Options(everything, any);
  server_.Patch(everything, any);
  // cpp-httplib answers HEAD from the GET handler and leaves the body out.
  port_ = server_.bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  server_.stop();
  thread_.join();
}

std::string LoopbackServer::Url(const std::string& pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

void LoopbackServer::Serve(const std::string& path, CannedResponse response) {
  std::lock_guard lock(mutex_);
  canned_[path] = std::move(response);
}

void LoopbackServer::Handle(const std::string& path, Handler handler) {
  std::lock_guard lock(mutex_);
  handlers_[path] = std::move(handler);
}

std::vector<RecordedRequest> LoopbackServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackServer::Pause(int ms) const {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stopping_ && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void LoopbackServer::Dispatch(const httplib::Request& request, httplib::Response& response) {
  RecordedRequest record;
  record.method = request.method;
  record.path = request.path;
  auto question = request.target.find('?');
  if (question != std::string::npos) record.query = request.target.substr(question + 1);
  for (const auto& [name, value] : request.headers) record.headers.emplace(name, value);
  record.body = request.body;

  Handler handler;
  CannedResponse canned;
  bool found = false;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(record));
    if (auto it = handlers_.find(request.path); it != handlers_.end()) {
      handler = it->second;
    } else if (auto jt = canned_.find(request.path); jt != canned_.end()) {
      canned = jt->second;
      found = true;
    }
  }
  if (handler) {
    handler(request, response);
  } else if (found) {
    Answer(canned, response);
  } else {
    response.status = 404;
    response.set_content("not found", "text/plain");
  }
}

void LoopbackServer::Answer(const CannedResponse& canned, httplib::Response& response) {
  Pause(canned.delayMs);
  response.status = canned.status;
  for (const auto& [name, value] : canned.headers) response.set_header(name, value);
  if (canned.truncateAfter >= canned.body.size()) {
    response.set_content(canned.body, canned.contentType);
    return;
  }
  // Promise the whole body, send part of it, then break the connection.
  auto body = std::make_shared<std::string>(canned.body);
  std::size_t sendable = canned.truncateAfter;
  int stallMs = canned.stallMs;
  response.set_content_provider(
      body->size(), canned.contentType,
      [this, body, sendable, stallMs](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (offset < sendable) {
          sink.write(body->data() + offset, sendable - offset);
          return true;
        }
        Pause(stallMs);
        return false;
      });
}

}  // namespace gedan::testing
