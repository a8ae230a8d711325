#pragma once

// The one routine through which every HTTP and HTTPS request of gedan goes.
//
//   Text page = WebAccess({.url = shareLink});            // the body as internal text, "" on
//   failure
//
//   Text status, cookies;
//   Text body = WebAccess({.url = u, .method = 1, .postData = "a=1"},
//                         {.returnedCookies = &cookies, .status = &status});
//   // status: "200 OK", or a numbered failure text such as "701 解析URL地址失败!" (internal text)
//
// Outputs are written only at the step that produces them; one that is not reached keeps the
// caller's value.

#include "text/value.h"

namespace gedan {

class HttpTransport;

struct WebRequest {
  Text url{};
  int method =
      0;  // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT; else GET
  Text postData{};
  Text cookies{};  // sent as the Cookie line, and merged into returnedCookies
  Text headers{};  // extra request header lines separated by CR LF
  bool noRedirect = false;
  Text userName{};
  Text password{};
  Text proxy{};  // host[:port]
  Text proxyUser{};
  Text proxyPassword{};
  int timeoutSeconds = 0;  // 0 or less: 30 seconds
  bool mergeCookies = true;
};

struct WebOutputs {
  Text* returnedCookies = nullptr;  // in/out: the response's cookies are appended
  Text* returnedHeaders = nullptr;
  Text* location = nullptr;
  Text* status = nullptr;
  Bytes* responseBytes = nullptr;
};

Text WebAccess(const WebRequest& request, const WebOutputs& outputs = {});
// The same over another transport (tests pass a recording fake).
Text WebAccess(const WebRequest& request, const WebOutputs& outputs, HttpTransport& transport);

}  // namespace gedan
