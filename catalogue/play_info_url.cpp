#include "catalogue/play_info_url.h"

#include <cstdlib>

#include "text/encoding.h"

namespace gedan {

Text ServiceOrigin() {
  const char* replacement = std::getenv("GEDAN_SERVICE_ORIGIN");
  if (replacement != nullptr && *replacement != '\0') return Utf8ToAnsi(replacement);
  return kServiceOrigin;
}

Text PlayInfoUrl(TextView hash, TextView albumId) {
  Text url = ServiceOrigin();
  url += "/yy/index.php?r=play/getdata&hash=";
  url += hash;
  url += "&album_id=";
  url += albumId;
  url += "&_=";
  return url;
}

}  // namespace gedan
