#pragma once

// The address from which a song's play URL is asked for: the service's plain-HTTP web origin, then
// "/yy/index.php?r=play/getdata&hash=" + hash + "&album_id=" + album id + "&_=". Hash and album id
// are pasted as they came, without encoding, and nothing follows "&_=".
//
//   PlayInfoUrl("ABC", "42")  ->
//   "http://www.kugou.com/yy/index.php?r=play/getdata&hash=ABC&album_id=42&_="
//
// The environment variable GEDAN_SERVICE_ORIGIN, when set and not empty, replaces the origin (a
// test server, a mirror); it is read at each call.

#include "text/value.h"

namespace gedan {

// The service's own web origin, without a trailing slash.
inline constexpr const char* kServiceOrigin = "http://www.kugou.com";

Text ServiceOrigin();
Text PlayInfoUrl(TextView hash, TextView albumId);

}  // namespace gedan
