#include "app/notice_check.h"

#include <cstdlib>

#include "app/open_in_browser.h"
#include "http/read_url_bytes.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace gedan {

Text NoticeFlagUrl() {
  const char* url = std::getenv("GEDAN_NOTICE_URL");
  return url == nullptr ? Text() : Utf8ToAnsi(url);
}

Text NoticeSiteUrl(TextView flagUrl) {
  const std::size_t scheme = flagUrl.find("://");
  if (scheme == TextView::npos || scheme == 0) return {};
  const std::size_t hostStart = scheme + 3;
  const std::size_t hostEnd = flagUrl.find_first_of("/?#", hostStart);
  return Text(flagUrl.substr(0, hostEnd));
}

void NoticeCheck() {
  const Text flagUrl = NoticeFlagUrl();
  if (flagUrl.empty()) return;
  const Bytes body = ReadUrlBytes(flagUrl);
  const Text text = Utf8ToAnsi(body);
  if (ToInteger(text) == ToInteger("1")) {
    const Text site = NoticeSiteUrl(flagUrl);
    if (!site.empty()) OpenInBrowser(site);
  }
}

}  // namespace gedan
