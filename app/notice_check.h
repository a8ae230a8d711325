#pragma once

// The start-up notice: once per start, before the window is shown, a small flag document is read;
// when its integer value is 1, the site it lives on is opened in the user's browser.
//
//   GEDAN_NOTICE_URL=https://example.org/?1.htm   ->  body "1": opens https://example.org
//
// The flag address is the environment variable GEDAN_NOTICE_URL; when it is unset or empty, no
// request is made. Nothing is reported and nothing is remembered.

#include "text/value.h"

namespace gedan {

// The flag document's address; empty when none is configured.
Text NoticeFlagUrl();
// Scheme, host and port of `flagUrl`, without path or trailing slash; empty when it has no scheme.
Text NoticeSiteUrl(TextView flagUrl);

void NoticeCheck();

}  // namespace gedan
