#pragma once

// Splitting an http or https URL into what a request needs.
//
//   UrlParts parts;
//   CrackUrl("https://h.example:8443/a/b?x=1", &parts);
//   // parts: hostName "h.example", port 8443, secure true, path "/a/b", extraInfo "?x=1"
//
// Only http and https are accepted (letter case ignored). A user name and password in front of the
// host are skipped; a fragment ("#...") is not part of any component.

#include "text/value.h"

namespace gedan {

struct UrlParts {
  Text hostName;  // without the brackets of an IPv6 address
  int port = 0;   // the scheme's default when the URL names none
  bool secure = false;
  Text path;       // from the first "/" after the host; may be empty
  Text extraInfo;  // the query with its leading "?"; may be empty

  // What the request line asks for: the path ("/" when the URL has none) followed by the query.
  Text ObjectName() const;
};

// False for an empty URL, a missing or unknown scheme, a missing host, or a port that is not a
// number from 1 to 65535.
bool CrackUrl(TextView url, UrlParts* parts);

}  // namespace gedan
