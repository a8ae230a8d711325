#include "http/response_stage.h"

#include "http/cookies.h"
#include "text/encoding.h"
#include "text/markers.h"
#include "text/numbers.h"
#include "text/primitives.h"
#include "text/window_side.h"

namespace gedan {
namespace {

constexpr TextView kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";
constexpr int kCharsetWindow = 1024;

// The status line after "HTTP/1.1 ", up to its line break; empty when there is no line break.
Text StatusText(const Text& rawHeaders) {
  int lineEnd = FindText(rawHeaders, "\r\n", 10);
  return TextMid(rawHeaders, 10, lineEnd - 10);
}

Text SetCookiePiece(const Text& line) {
  Text piece = FindText(line, ";") != kNotFound
                   ? TextBetween(line, "Set-Cookie:", ";")
                   : ReplaceText(line, "Set-Cookie:", "", 1, kNoLimit, Case::kIgnore);
  return TrimBoth(piece);
}

bool IsGbkFamily(TextView charset) {
  for (TextView name : {"gbk", "gb2312", "gb18030", "cp936"})
    if (CompareText(charset, name, Case::kIgnore) == 0) return true;
  return false;
}

}  // namespace

Text DecodeDeclaredCharset(const Bytes& body, const Text& page, RegexObject& regex) {
  if (!regex.Match(kCharsetPattern, TextLeft(page, kCharsetWindow))) return page;
  Text charset = regex.SubMatchText(1, 1);
  if (charset.empty()) return page;
  Text result = page;
  if (!IsGbkFamily(charset)) {
    if (auto decoded = DecodeCharset(body, charset)) result = std::move(*decoded);
  }
  ProcessEvents();
  return result;
}

Text RunResponseStage(ResponseInput input, const WebOutputs& outputs) {
  Text rawHeaders;
  if (!input.transport.QueryRawHeaders(input.request, &rawHeaders)) return {};
  if (outputs.returnedHeaders != nullptr) *outputs.returnedHeaders = rawHeaders;
  if (outputs.status != nullptr) *outputs.status = StatusText(rawHeaders);

  Text cookies = outputs.returnedCookies != nullptr ? *outputs.returnedCookies : Text();
  for (const Text& line : SplitText(rawHeaders, "\r\n")) {
    // Only this exact spelling counts, as the name in front of ": ".
    if (TextBefore(line, ": ") == "Set-Cookie") cookies += SetCookiePiece(line) + "; ";
    if (CompareText(TextLeft(line, 10), "Location: ", Case::kIgnore) == 0 &&
        outputs.location != nullptr)
      *outputs.location = TextMid(line, 11, TextLength(line) - 10);
    ProcessEvents();
  }
  cookies = TextLeft(cookies, TextLength(cookies) - 2);
  if (input.mergeCookies && !input.requestCookies.empty())
    cookies = MergeCookies(input.requestCookies, cookies);
  if (outputs.returnedCookies != nullptr) *outputs.returnedCookies = cookies;

  if (outputs.responseBytes != nullptr) *outputs.responseBytes = input.body;
  return DecodeDeclaredCharset(input.body, ToText(input.body), input.regex);
}

}  // namespace gedan
