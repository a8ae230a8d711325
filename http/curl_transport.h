#pragma once

// HttpTransport over libcurl.
//
// CONCEPT: libcurl runs a whole exchange in one blocking call, while the transport's steps are
// finer. Session, connection and request only gather settings. SendRequest performs the whole
// transfer with BufferedTransfer: the raw headers of the final response and the body (up to a
// cap) are kept in memory. ReceiveResponse then reports whether a response arrived, and
// QueryDataAvailable / ReadData hand out the stored body piece by piece, freeing each piece as it
// is read. When the transfer broke off after the headers, the bytes that did arrive are handed
// out first and the read after them fails, as a network read would have.
//
//   CurlTransport transport;
//   Text page = WebAccess({.url = "https://example.org/"}, {}, transport);
//
// Options libcurl has no use for (the cookie feature switches, revocation checking) are accepted
// and recorded. One object serves one request at a time.

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "http/curl_transfer.h"
#include "http/transport.h"

namespace gedan {

class CurlTransport : public HttpTransport {
 public:
  explicit CurlTransport(std::size_t maxBodyBytes = kMaxBodyBytes);
  ~CurlTransport() override;
  CurlTransport(const CurlTransport&) = delete;
  CurlTransport& operator=(const CurlTransport&) = delete;

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

  // The SetOption calls a request received, in order (for tests and diagnostics).
  std::vector<std::pair<int, std::uint32_t>> OptionsOf(TransportHandle request) const;

 private:
  struct Session;
  struct Connection;
  struct Request;

  Request* FindRequest(TransportHandle handle) const;

  std::size_t maxBodyBytes_;
  TransportHandle nextHandle_ = 1;
  std::map<TransportHandle, std::unique_ptr<Session>> sessions_;
  std::map<TransportHandle, std::unique_ptr<Connection>> connections_;
  std::map<TransportHandle, std::unique_ptr<Request>> requests_;
};

}  // namespace gedan
