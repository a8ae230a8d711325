#include "http/curl_transport.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "http/curl_setup.h"
#include "text/encoding.h"
#include "text/primitives.h"

namespace gedan {

struct CurlTransport::Session {
  AccessType accessType = AccessType::kNoProxy;
  Text proxyName;
};

struct CurlTransport::Connection {
  Session session;
  Text hostName;
  int port = 0;
};

struct CurlTransport::Request {
  ~Request() {
    if (easy != nullptr) curl_easy_cleanup(easy);
    if (headerList != nullptr) curl_slist_free_all(headerList);
  }

  CURL* easy = nullptr;
  Connection connection;
  Text verb;
  Text objectName;
  bool secure = false;
  TransferOptions transferOptions;
  Text userName, password, proxyUser, proxyPassword;
  std::vector<std::pair<int, std::uint32_t>> options;
  // Header lines in the order they were first added; a later line of the same name replaces
  // the earlier one in place.
  std::vector<std::pair<Text, Text>> headers;  // name, whole line
  curl_slist* headerList = nullptr;
  Bytes body;
  StallGuard guard;
  std::optional<BufferedTransfer> transfer;
  std::size_t pieceOffset = 0;
};

namespace {

bool IsUnreserved(unsigned char byte) {
  return byte > 0x20 && byte < 0x7F && byte != '"' && byte != '<' && byte != '>' && byte != '\\' &&
         byte != '^' && byte != '`' && byte != '{' && byte != '|' && byte != '}';
}

// The object name as it goes on the wire: UTF-8, with bytes a URL cannot carry percent-encoded.
std::string EncodeObjectName(TextView objectName) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : AnsiToUtf8(objectName)) {
    if (IsUnreserved(byte)) {
      out.push_back(static_cast<char>(byte));
    } else {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
    }
  }
  return out;
}

std::string BuildUrl(TextView hostName, int port, bool secure, TextView objectName) {
  std::string host = AnsiToUtf8(hostName);
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(port) +
         EncodeObjectName(objectName);
}

// The proxy list entry that applies to a request of that scheme, as "http://host:port"; empty
// when none applies. Entries are separated by ";" or blanks; "scheme=" limits an entry to that
// scheme. A proxy without a port listens on 80.
std::string SelectProxy(TextView proxyName, bool secure) {
  TextView wanted = secure ? "https" : "http";
  std::size_t start = 0;
  while (start < proxyName.size()) {
    std::size_t end = proxyName.find_first_of("; \t", start);
    if (end == TextView::npos) end = proxyName.size();
    TextView entry = proxyName.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) continue;
    if (auto equals = entry.find('='); equals != TextView::npos) {
      if (CompareText(entry.substr(0, equals), wanted, Case::kIgnore) != 0) continue;
      entry.remove_prefix(equals + 1);
    }
    if (auto scheme = entry.find("://"); scheme != TextView::npos) entry.remove_prefix(scheme + 3);
    if (entry.empty()) continue;
    std::string proxy = "http://" + AnsiToUtf8(entry);
    auto bracket = proxy.rfind(']');
    auto colon = proxy.rfind(':');
    if (colon < 5 || (bracket != std::string::npos && colon < bracket)) proxy += ":80";
    return proxy;
  }
  return {};
}

bool HasHeader(const std::vector<std::pair<Text, Text>>& headers, TextView name) {
  return std::any_of(headers.begin(), headers.end(), [&](const auto& header) {
    return CompareText(header.first, name, Case::kIgnore) == 0;
  });
}

void SetMethodAndBody(CURL* easy, TextView verb, const Bytes& body) {
  auto* data = reinterpret_cast<const char*>(body.data());
  if (verb == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (verb == "GET" && body.empty()) {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else if (verb == "POST" || !body.empty()) {
    // A body goes out with exactly its length, zero bytes included, whatever the verb.
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.empty() ? "" : data);
    if (verb != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, Text(verb).c_str());
  } else {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, Text(verb).c_str());
  }
}

}  // namespace

CurlTransport::CurlTransport(std::size_t maxBodyBytes) : maxBodyBytes_(maxBodyBytes) {}
CurlTransport::~CurlTransport() = default;

bool CurlTransport::CheckPlatform() {
  return InitCurlOnce();
}

bool CurlTransport::CrackUrl(TextView url, UrlParts* parts) {
  return gedan::CrackUrl(url, parts);
}

TransportHandle CurlTransport::Open(AccessType accessType, TextView proxyName) {
  auto session = std::make_unique<Session>();
  session->accessType = accessType;
  session->proxyName = Text(proxyName);
  TransportHandle handle = nextHandle_++;
  sessions_.emplace(handle, std::move(session));
  return handle;
}

TransportHandle CurlTransport::Connect(TransportHandle session, TextView hostName, int port) {
  auto it = sessions_.find(session);
  if (it == sessions_.end() || hostName.empty() || port < 1 || port > 65535) return kNoHandle;
  auto connection = std::make_unique<Connection>();
  connection->session = *it->second;
  connection->hostName = Text(hostName);
  connection->port = port;
  TransportHandle handle = nextHandle_++;
  connections_.emplace(handle, std::move(connection));
  return handle;
}

TransportHandle CurlTransport::OpenRequest(TransportHandle connection, TextView verb,
                                           TextView objectName, bool secure) {
  auto it = connections_.find(connection);
  if (it == connections_.end() || verb.empty()) return kNoHandle;
  auto request = std::make_unique<Request>();
  request->easy = curl_easy_init();
  if (request->easy == nullptr) return kNoHandle;
  request->connection = *it->second;
  request->verb = Text(verb);
  request->objectName = Text(objectName);
  request->secure = secure;
  TransportHandle handle = nextHandle_++;
  requests_.emplace(handle, std::move(request));
  return handle;
}

CurlTransport::Request* CurlTransport::FindRequest(TransportHandle handle) const {
  auto it = requests_.find(handle);
  return it == requests_.end() ? nullptr : it->second.get();
}

bool CurlTransport::SetTimeouts(TransportHandle handle, int resolveMs, int connectMs, int sendMs,
                                int receiveMs) {
  Request* request = FindRequest(handle);
  if (request == nullptr || resolveMs < 1 || connectMs < 1 || sendMs < 1 || receiveMs < 1)
    return false;
  // libcurl's connect time-out already covers the name resolution.
  request->transferOptions.connectTimeoutMs = std::max(resolveMs, connectMs);
  request->transferOptions.stallTimeoutMs = std::max(sendMs, receiveMs);
  return true;
}

bool CurlTransport::SetCredentials(TransportHandle handle, CredentialTarget target,
                                   TextView userName, TextView password) {
  Request* request = FindRequest(handle);
  if (request == nullptr) return false;
  if (target == CredentialTarget::kServer) {
    request->userName = Text(userName);
    request->password = Text(password);
  } else {
    request->proxyUser = Text(userName);
    request->proxyPassword = Text(password);
  }
  return true;
}

bool CurlTransport::SetOption(TransportHandle handle, int option, std::uint32_t value) {
  Request* request = FindRequest(handle);
  if (request == nullptr) return false;
  request->options.emplace_back(option, value);
  if (option == kOptionDisableFeature && (value & kFeatureRedirects) != 0)
    request->transferOptions.followRedirects = false;
  return true;
}

std::vector<std::pair<int, std::uint32_t>> CurlTransport::OptionsOf(TransportHandle handle) const {
  Request* request = FindRequest(handle);
  return request == nullptr ? std::vector<std::pair<int, std::uint32_t>>{} : request->options;
}

bool CurlTransport::AddRequestHeaders(TransportHandle handle, TextView headers) {
  Request* request = FindRequest(handle);
  if (request == nullptr) return false;
  std::vector<std::pair<Text, Text>> merged = request->headers;
  for (const Text& line : SplitText(headers, "\r\n")) {
    if (line.empty()) continue;
    auto colon = line.find(':');
    // A line without a name, or one that would smuggle a line break onto the wire, is refused.
    if (colon == 0 || colon == Text::npos || line.find_first_of("\r\n") != Text::npos) return false;
    Text name = TrimBoth(TextView(line).substr(0, colon));
    auto same = std::find_if(merged.begin(), merged.end(), [&](const auto& header) {
      return CompareText(header.first, name, Case::kIgnore) == 0;
    });
    if (same != merged.end())
      same->second = line;
    else
      merged.emplace_back(name, line);
  }
  request->headers = std::move(merged);
  return true;
}

bool CurlTransport::SendRequest(TransportHandle handle, const Bytes& body) {
  Request* request = FindRequest(handle);
  if (request == nullptr || request->transfer) return false;
  CURL* easy = request->easy;
  const Connection& connection = request->connection;
  request->body = body;

  ApplyCommonOptions(easy, request->transferOptions, &request->guard);
  std::string url =
      BuildUrl(connection.hostName, connection.port, request->secure, request->objectName);
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  // An empty proxy also keeps libcurl from taking one from the environment.
  std::string proxy;
  if (connection.session.accessType == AccessType::kNamedProxy)
    proxy = SelectProxy(connection.session.proxyName, request->secure);
  curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
  // Nor may the environment's exemption list bypass the proxy the caller named.
  curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
  if (!request->userName.empty() || !request->password.empty()) {
    curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(easy, CURLOPT_USERNAME, request->userName.c_str());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, request->password.c_str());
  }
  if (!request->proxyUser.empty() || !request->proxyPassword.empty()) {
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, request->proxyUser.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, request->proxyPassword.c_str());
  }
  SetMethodAndBody(easy, request->verb, request->body);

  // Only the lines given are sent: an empty "Name:" line removes a header libcurl would add by
  // itself.
  for (const auto& header : request->headers)
    request->headerList = curl_slist_append(request->headerList, header.second.c_str());
  for (const char* own : {"Accept", "Content-Type", "Expect"}) {
    if (!HasHeader(request->headers, own))
      request->headerList = curl_slist_append(request->headerList, (Text(own) + ":").c_str());
  }
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, request->headerList);

  request->transfer.emplace(maxBodyBytes_);
  request->transfer->Perform(easy);
  return request->transfer->HeadersComplete() || request->transfer->RequestSent();
}

bool CurlTransport::ReceiveResponse(TransportHandle handle) {
  Request* request = FindRequest(handle);
  if (request == nullptr || !request->transfer) return false;
  // Running out of redirects is a failed answer, not a broken body; so is a redirect whose target
  // never answered: its headers belong to a response that was passed over.
  const BufferedTransfer& transfer = *request->transfer;
  bool redirectLeftUnanswered = request->transferOptions.followRedirects && !transfer.succeeded() &&
                                transfer.EndedOnRedirect();
  return transfer.HeadersComplete() && transfer.result() != CURLE_TOO_MANY_REDIRECTS &&
         !redirectLeftUnanswered;
}

bool CurlTransport::QueryDataAvailable(TransportHandle handle, int* count) {
  Request* request = FindRequest(handle);
  if (request == nullptr || !request->transfer) return false;
  auto& pieces = request->transfer->BodyPieces();
  if (!pieces.empty()) {
    *count = static_cast<int>(pieces.front().size() - request->pieceOffset);
  } else {
    // A transfer that broke off announces one more byte, so that the read that follows reports
    // the failure.
    *count = request->transfer->succeeded() ? 0 : 1;
  }
  return true;
}

bool CurlTransport::ReadData(TransportHandle handle, unsigned char* buffer, int size, int* read) {
  Request* request = FindRequest(handle);
  if (request == nullptr || !request->transfer || size < 0) return false;
  auto& pieces = request->transfer->BodyPieces();
  if (pieces.empty()) {
    *read = 0;
    return request->transfer->succeeded();
  }
  const Bytes& piece = pieces.front();
  std::size_t n = std::min(static_cast<std::size_t>(size), piece.size() - request->pieceOffset);
  if (n > 0) std::memcpy(buffer, piece.data() + request->pieceOffset, n);
  request->pieceOffset += n;
  if (request->pieceOffset == piece.size()) {
    pieces.pop_front();
    request->pieceOffset = 0;
  }
  *read = static_cast<int>(n);
  return true;
}

bool CurlTransport::QueryRawHeaders(TransportHandle handle, Text* headers) {
  Request* request = FindRequest(handle);
  if (request == nullptr || !request->transfer || request->transfer->RawHeaders().empty())
    return false;
  *headers = request->transfer->RawHeaders();
  return true;
}

void CurlTransport::CloseHandle(TransportHandle handle) {
  if (handle == kNoHandle) return;
  requests_.erase(handle);
  connections_.erase(handle);
  sessions_.erase(handle);
}

}  // namespace gedan
