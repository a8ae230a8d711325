#pragma once

// An HttpTransport for tests that writes every call, with its arguments, into one log, and fails
// the calls a test names. On its own it answers from a script (raw headers and body pieces); given
// another transport it passes every call on to it and logs the outcome, so a test can watch the
// real libcurl transport step by step.
//
//   RecordingTransport fake;
//   fake.failing = {"Connect"};
//   WebAccess({.url = "http://h/"}, {.status = &status}, fake);
//   // fake.log: "CheckPlatform", "CrackUrl http://h/", "Open 1 ", "Connect h 80", ...
//
// With a RecordingPump installed, ProcessEvents() calls show in the log as "ProcessEvents".

#include <set>
#include <string>
#include <vector>

#include "http/transport.h"
#include "text/window_side.h"

namespace gedan::testing {

class RecordingTransport : public HttpTransport {
 public:
  explicit RecordingTransport(HttpTransport* inner = nullptr) : inner_(inner) {}

  // A call fails when its log entry begins with one of these.
  std::set<std::string> failing;
  // The script used without an inner transport.
  Text rawHeaders = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
  std::vector<Bytes> bodyPieces;
  // Every body read after the pieces fails (a connection that broke off).
  bool breakAfterPieces = false;
  // When positive, the body never ends: this many bytes are always available.
  int endlessPieceSize = 0;

  std::vector<std::string> log;
  Text sentHeaders;  // the text of the last AddRequestHeaders
  Bytes sentBody;    // the body of the last SendRequest

  // The log entries that begin with `prefix`.
  std::vector<std::string> Calls(const std::string& prefix) const;

  bool CheckPlatform() override;
  bool CrackUrl(TextView url, UrlParts* parts) override;
  TransportHandle Open(AccessType accessType, TextView proxyName) override;
  TransportHandle Connect(TransportHandle session, TextView hostName, int port) override;
  TransportHandle OpenRequest(TransportHandle connection, TextView verb, TextView objectName,
                              bool secure) override;
  bool SetTimeouts(TransportHandle request, int resolveMs, int connectMs, int sendMs,
                   int receiveMs) override;
  bool SetCredentials(TransportHandle request, CredentialTarget target, TextView userName,
                      TextView password) override;
  bool SetOption(TransportHandle request, int option, std::uint32_t value) override;
  bool AddRequestHeaders(TransportHandle request, TextView headers) override;
  bool SendRequest(TransportHandle request, const Bytes& body) override;
  bool ReceiveResponse(TransportHandle request) override;
  bool QueryDataAvailable(TransportHandle request, int* count) override;
  bool ReadData(TransportHandle request, unsigned char* buffer, int size, int* read) override;
  bool QueryRawHeaders(TransportHandle request, Text* headers) override;
  void CloseHandle(TransportHandle handle) override;

 private:
  // Logs the call and tells whether the test wants it to fail.
  bool Record(const std::string& entry);

  HttpTransport* inner_;
  std::size_t nextPiece_ = 0;
  std::size_t pieceOffset_ = 0;
};

// An event pump that notes each ProcessEvents() in a log.
class RecordingPump : public EventPump {
 public:
  explicit RecordingPump(std::vector<std::string>* log) : log_(log) { InstallEventPump(this); }
  ~RecordingPump() override { InstallEventPump(nullptr); }
  RecordingPump(const RecordingPump&) = delete;
  RecordingPump& operator=(const RecordingPump&) = delete;

  void ProcessEvents() override { log_->push_back("ProcessEvents"); }
  void DelayWithEvents(int) override {}

 private:
  std::vector<std::string>* log_;
};

}  // namespace gedan::testing
