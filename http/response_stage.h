#pragma once

// What WebAccess does once a response has been read: the raw headers, the status text, the cookies
// it sets, a Location target, the cookie merge, the raw body and the result text (the body read as
// internal text, or decoded in the charset a meta tag in its first 1024 bytes declares).
//
//   Text page = RunResponseStage({transport, request, body, cookies, true, regex}, outputs);
//
// When the raw headers cannot be read the result is empty and no output is touched.

#include "http/transport.h"
#include "http/web_access.h"
#include "regex/regex_object.h"

namespace gedan {

struct ResponseInput {
  HttpTransport& transport;
  TransportHandle request;
  const Bytes& body;
  Text requestCookies;  // the request's working copy of its cookies
  bool mergeCookies;
  RegexObject& regex;
};

Text RunResponseStage(ResponseInput input, const WebOutputs& outputs);

// The page text in the charset the page declares: `page` itself when no meta tag in its first
// 1024 bytes names one, when it names a GBK family charset (the bytes already are internal text),
// or when the name is unknown.
Text DecodeDeclaredCharset(const Bytes& body, const Text& page, RegexObject& regex);

}  // namespace gedan
