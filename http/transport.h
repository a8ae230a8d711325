#pragma once

// The HTTP client operations WebAccess drives, one per step of a request, in the shape of a
// synchronous handle-based HTTP API: a session, a connection in it, a request on the connection.
// Every operation reports success as a bool (or a non-zero handle), so WebAccess can tell which
// step failed. CurlTransport is the real one; tests use a recording fake.
//
//   TransportHandle session = transport.Open(AccessType::kNoProxy, "");
//   TransportHandle connection = transport.Connect(session, "example.org", 80);
//   TransportHandle request = transport.OpenRequest(connection, "GET", "/", false);
//
// Texts are internal text. Handles are closed in the reverse order of opening; closing
// kNoHandle does nothing.

#include <cstdint>

#include "http/url_parts.h"
#include "text/value.h"

namespace gedan {

using TransportHandle = std::uintptr_t;
inline constexpr TransportHandle kNoHandle = 0;

enum class AccessType { kNoProxy = 1, kNamedProxy = 3 };
enum class CredentialTarget { kServer = 0, kProxy = 1 };

// Option numbers and values taken by SetOption.
inline constexpr int kOptionDisableFeature = 63;
inline constexpr int kOptionEnableFeature = 79;
inline constexpr std::uint32_t kFeatureCookies = 1;          // with kOptionDisableFeature
inline constexpr std::uint32_t kFeatureRedirects = 2;        // with kOptionDisableFeature
inline constexpr std::uint32_t kFeatureRevocationCheck = 1;  // with kOptionEnableFeature

class HttpTransport {
 public:
  virtual ~HttpTransport() = default;

  virtual bool CheckPlatform() = 0;
  virtual bool CrackUrl(TextView url, UrlParts* parts) = 0;
  // `proxyName` lists proxies as "[scheme=]host[:port]" entries; a scheme limits an entry to
  // requests of that scheme.
  virtual TransportHandle Open(AccessType accessType, TextView proxyName) = 0;
  virtual TransportHandle Connect(TransportHandle session, TextView hostName, int port) = 0;
  virtual TransportHandle OpenRequest(TransportHandle connection, TextView verb,
                                      TextView objectName, bool secure) = 0;
  virtual bool SetTimeouts(TransportHandle request, int resolveMs, int connectMs, int sendMs,
                           int receiveMs) = 0;
  // Basic credentials.
  virtual bool SetCredentials(TransportHandle request, CredentialTarget target, TextView userName,
                              TextView password) = 0;
  virtual bool SetOption(TransportHandle request, int option, std::uint32_t value) = 0;
  // Header lines separated by CR LF; each is added, replacing a header of the same name.
  virtual bool AddRequestHeaders(TransportHandle request, TextView headers) = 0;
  virtual bool SendRequest(TransportHandle request, const Bytes& body) = 0;
  virtual bool ReceiveResponse(TransportHandle request) = 0;
  // `count` receives the number of body bytes ready to read; 0 at the end of the body.
  virtual bool QueryDataAvailable(TransportHandle request, int* count) = 0;
  virtual bool ReadData(TransportHandle request, unsigned char* buffer, int size, int* read) = 0;
  // The status line and header lines of the final response, each ended by CR LF, then an empty
  // line.
  virtual bool QueryRawHeaders(TransportHandle request, Text* headers) = 0;
  virtual void CloseHandle(TransportHandle handle) = 0;
};

}  // namespace gedan
