#include "http/url_parts.h"

#include <cctype>

#include "text/primitives.h"

namespace gedan {
namespace {

bool ParsePort(TextView digits, int* port) {
  if (digits.empty() || digits.size() > 5) return false;
  int value = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return false;
  *port = value;
  return true;
}

bool HostIsSound(TextView host) {
  if (host.empty()) return false;
  for (char c : host) {
    auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '@' || c == '\\') return false;
  }
  return true;
}

}  // namespace

Text UrlParts::ObjectName() const {
  // A URL such as http://host?x=1 has no path; its query still belongs to the request.
  return (path.empty() ? Text("/") : path) + extraInfo;
}

bool CrackUrl(TextView url, UrlParts* parts) {
  auto schemeEnd = url.find("://");
  if (schemeEnd == TextView::npos) return false;
  TextView scheme = url.substr(0, schemeEnd);
  UrlParts result;
  if (CompareText(scheme, "http", Case::kIgnore) == 0) {
    result.port = 80;
  } else if (CompareText(scheme, "https", Case::kIgnore) == 0) {
    result.port = 443;
    result.secure = true;
  } else {
    return false;
  }

  TextView rest = url.substr(schemeEnd + 3);
  TextView authority = rest.substr(0, rest.find_first_of("/?#"));
  rest.remove_prefix(authority.size());
  if (auto at = authority.rfind('@'); at != TextView::npos) authority.remove_prefix(at + 1);

  TextView host = authority;
  TextView port;
  if (!authority.empty() && authority.front() == '[') {
    auto close = authority.find(']');
    if (close == TextView::npos) return false;
    host = authority.substr(1, close - 1);
    TextView after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return false;
      port = after.substr(1);
      if (port.empty()) return false;
    }
  } else if (auto colon = authority.find(':'); colon != TextView::npos) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
    if (port.empty()) return false;
  }
  if (!HostIsSound(host)) return false;
  if (!port.empty() && !ParsePort(port, &result.port)) return false;
  result.hostName = Text(host);

  TextView beforeFragment = rest.substr(0, rest.find('#'));
  auto question = beforeFragment.find('?');
  result.path = Text(beforeFragment.substr(0, question));
  if (question != TextView::npos) result.extraInfo = Text(beforeFragment.substr(question));
  *parts = std::move(result);
  return true;
}

}  // namespace gedan
