#include "http/recording_transport.h"

#include <algorithm>
#include <cstring>

namespace gedan::testing {
namespace {

constexpr TransportHandle kSession = 1;
constexpr TransportHandle kConnection = 2;
constexpr TransportHandle kRequest = 3;

}  // namespace

std::vector<std::string> RecordingTransport::Calls(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& entry : log)
    if (entry.starts_with(prefix)) found.push_back(entry);
  return found;
}

bool RecordingTransport::Record(const std::string& entry) {
  log.push_back(entry);
  return std::none_of(failing.begin(), failing.end(),
                      [&](const std::string& prefix) { return entry.starts_with(prefix); });
}

bool RecordingTransport::CheckPlatform() {
  if (!Record("CheckPlatform")) return false;
  return inner_ == nullptr || inner_->CheckPlatform();
}

bool RecordingTransport::CrackUrl(TextView url, UrlParts* parts) {
  if (!Record("CrackUrl " + std::string(url))) return false;
  return inner_ != nullptr ? inner_->CrackUrl(url, parts) : gedan::CrackUrl(url, parts);
}

TransportHandle RecordingTransport::Open(AccessType accessType, TextView proxyName) {
  std::string entry = "Open " + std::to_string(static_cast<int>(accessType)) + " ";
  if (!Record(entry.append(proxyName))) return kNoHandle;
  return inner_ != nullptr ? inner_->Open(accessType, proxyName) : kSession;
}

TransportHandle RecordingTransport::Connect(TransportHandle session, TextView hostName, int port) {
  if (!Record("Connect " + std::string(hostName) + " " + std::to_string(port))) return kNoHandle;
  return inner_ != nullptr ? inner_->Connect(session, hostName, port) : kConnection;
}

TransportHandle RecordingTransport::OpenRequest(TransportHandle connection, TextView verb,
                                                TextView objectName, bool secure) {
  std::string entry = "OpenRequest " + std::string(verb) + " " + std::string(objectName) +
                      (secure ? " secure" : " plain");
  if (!Record(entry)) return kNoHandle;
  return inner_ != nullptr ? inner_->OpenRequest(connection, verb, objectName, secure) : kRequest;
}

bool RecordingTransport::SetTimeouts(TransportHandle request, int resolveMs, int connectMs,
                                     int sendMs, int receiveMs) {
  if (!Record("SetTimeouts " + std::to_string(resolveMs) + " " + std::to_string(connectMs) + " " +
              std::to_string(sendMs) + " " + std::to_string(receiveMs)))
    return false;
  return inner_ == nullptr || inner_->SetTimeouts(request, resolveMs, connectMs, sendMs, receiveMs);
}

bool RecordingTransport::SetCredentials(TransportHandle request, CredentialTarget target,
                                        TextView userName, TextView password) {
  if (!Record("SetCredentials " + std::to_string(static_cast<int>(target)) + " " +
              std::string(userName) + " " + std::string(password)))
    return false;
  return inner_ == nullptr || inner_->SetCredentials(request, target, userName, password);
}

bool RecordingTransport::SetOption(TransportHandle request, int option, std::uint32_t value) {
  if (!Record("SetOption " + std::to_string(option) + " " + std::to_string(value))) return false;
  return inner_ == nullptr || inner_->SetOption(request, option, value);
}

bool RecordingTransport::AddRequestHeaders(TransportHandle request, TextView headers) {
  sentHeaders = Text(headers);
  if (!Record("AddRequestHeaders")) return false;
  return inner_ == nullptr || inner_->AddRequestHeaders(request, headers);
}

bool RecordingTransport::SendRequest(TransportHandle request, const Bytes& body) {
  sentBody = body;
  if (!Record("SendRequest " + std::to_string(body.size()))) return false;
  return inner_ == nullptr || inner_->SendRequest(request, body);
}

bool RecordingTransport::ReceiveResponse(TransportHandle request) {
  if (!Record("ReceiveResponse")) return false;
  return inner_ == nullptr || inner_->ReceiveResponse(request);
}

bool RecordingTransport::QueryDataAvailable(TransportHandle request, int* count) {
  if (!Record("QueryDataAvailable")) return false;
  if (inner_ != nullptr) return inner_->QueryDataAvailable(request, count);
  if (endlessPieceSize > 0) {
    *count = endlessPieceSize;
  } else if (nextPiece_ < bodyPieces.size()) {
    *count = static_cast<int>(bodyPieces[nextPiece_].size() - pieceOffset_);
  } else {
    *count = breakAfterPieces ? 1 : 0;
  }
  return true;
}

bool RecordingTransport::ReadData(TransportHandle request, unsigned char* buffer, int size,
                                  int* read) {
  bool wanted = Record("ReadData " + std::to_string(size));
  bool ok = false;
  if (inner_ != nullptr) {
    ok = inner_->ReadData(request, buffer, size, read);
  } else if (endlessPieceSize > 0) {
    std::memset(buffer, 'x', static_cast<std::size_t>(size));
    *read = size;
    ok = true;
  } else if (nextPiece_ < bodyPieces.size()) {
    const Bytes& piece = bodyPieces[nextPiece_];
    std::size_t n = std::min(static_cast<std::size_t>(size), piece.size() - pieceOffset_);
    std::memcpy(buffer, piece.data() + pieceOffset_, n);
    pieceOffset_ += n;
    if (pieceOffset_ == piece.size()) {
      ++nextPiece_;
      pieceOffset_ = 0;
    }
    *read = static_cast<int>(n);
    ok = true;
  } else {
    *read = 0;
    ok = !breakAfterPieces;
  }
  if (!ok) log.push_back("ReadData failed");
  return wanted && ok;
}

bool RecordingTransport::QueryRawHeaders(TransportHandle request, Text* headers) {
  if (!Record("QueryRawHeaders")) return false;
  if (inner_ != nullptr) return inner_->QueryRawHeaders(request, headers);
  *headers = rawHeaders;
  return true;
}

void RecordingTransport::CloseHandle(TransportHandle handle) {
  Record("CloseHandle " + std::to_string(handle));
  if (inner_ != nullptr) inner_->CloseHandle(handle);
}

}  // namespace gedan::testing
