#include "http/web_access.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "http/curl_transfer.h"
#include "http/curl_transport.h"
#include "http/response_stage.h"
#include "http/transport.h"
#include "regex/regex_object.h"
#include "text/bytes.h"
#include "text/encoding.h"
#include "text/numbers.h"
#include "text/primitives.h"
#include "text/window_side.h"

namespace gedan {
namespace {

enum class Failure {
  kPlatform = 700,
  kUrl = 701,
  kSession = 702,
  kConnection = 703,
  kRequest = 704,
  kTimeouts = 705,
  kCredentials = 707,
  kCookieOption = 708,
  kRedirectOption = 709,
  kHeaders = 710,
  kSend = 711,
  kReceive = 712,
  kRead = 713,
};

const Text& FailureText(Failure failure) {
  static const Text k700 = Utf8ToAnsi("700 当前系统不支持WinHttp服务!");
  static const Text k701 = Utf8ToAnsi("701 解析URL地址失败!");
  static const Text k702 = Utf8ToAnsi("702 创建WinHttp会话失败!");
  static const Text k703 = Utf8ToAnsi("703 创建WinHttp连接失败!");
  static const Text k704 = Utf8ToAnsi("704 创建WinHttp请求失败!");
  static const Text k705 = Utf8ToAnsi("705 设置超时时间失败!");
  static const Text k707 = Utf8ToAnsi("707 设置代理凭证失败!");
  static const Text k708 = Utf8ToAnsi("708 禁止自动设置Cookies失败!");
  static const Text k709 = Utf8ToAnsi("709 重定向设置失败!");
  static const Text k710 = Utf8ToAnsi("710 设置协议头失败!");
  static const Text k711 = Utf8ToAnsi("711 发送请求失败!");
  static const Text k712 = Utf8ToAnsi("712 服务器未响应!");
  static const Text k713 = Utf8ToAnsi("713 读取数据失败!");
  switch (failure) {
    case Failure::kPlatform:
      return k700;
    case Failure::kUrl:
      return k701;
    case Failure::kSession:
      return k702;
    case Failure::kConnection:
      return k703;
    case Failure::kRequest:
      return k704;
    case Failure::kTimeouts:
      return k705;
    case Failure::kCredentials:
      return k707;
    case Failure::kCookieOption:
      return k708;
    case Failure::kRedirectOption:
      return k709;
    case Failure::kHeaders:
      return k710;
    case Failure::kSend:
      return k711;
    case Failure::kReceive:
      return k712;
    case Failure::kRead:
      return k713;
  }
  return k713;
}

// These exits leave without letting window events through first.
bool ExitsQuietly(Failure failure) {
  return failure == Failure::kPlatform || failure == Failure::kCredentials ||
         failure == Failure::kCookieOption || failure == Failure::kRedirectOption;
}

TextView Verb(int method) {
  static constexpr TextView kVerbs[] = {"GET",     "POST",   "HEAD",  "PUT",
                                        "OPTIONS", "DELETE", "TRACE", "CONNECT"};
  return method >= 0 && method < 8 ? kVerbs[method] : kVerbs[0];
}

// The caller's lines first, then each default line whose header the text does not hold yet.
Text BuildRequestHeaders(const WebRequest& request, const Text& cookies) {
  Text headers = request.headers;
  if (!headers.empty()) headers += "\r\n";
  auto addUnless = [&headers](TextView sought, Case letterCase, TextView line) {
    if (FindText(headers, sought, 1, letterCase) == kNotFound) {
      headers += line;
      headers += "\r\n";
    }
  };
  addUnless("User-Agent: ", Case::kIgnore,
            "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)");
  addUnless("Accept: ", Case::kIgnore, "Accept: text/html, application/xhtml+xml, */*");
  addUnless("Accept-Encoding: ", Case::kIgnore, "Accept-Encoding: gbk, GB2312");
  addUnless("Accept-Language: ", Case::kIgnore, "Accept-Language: zh-cn");
  if (request.method == 1)
    addUnless("Content-Type:", Case::kSensitive, "Content-Type: application/x-www-form-urlencoded");
  addUnless("Cache-Control: ", Case::kIgnore, "Cache-Control: no-cache");
  if (!cookies.empty()) addUnless("Cookie: ", Case::kIgnore, "Cookie: " + cookies);
  return headers;
}

// The handles of one call, closed request first whatever way the call ends.
class Handles {
 public:
  explicit Handles(HttpTransport& transport) : transport_(transport) {}
  ~Handles() {
    transport_.CloseHandle(request);
    transport_.CloseHandle(connection);
    transport_.CloseHandle(session);
  }
  Handles(const Handles&) = delete;
  Handles& operator=(const Handles&) = delete;

  TransportHandle session = kNoHandle;
  TransportHandle connection = kNoHandle;
  TransportHandle request = kNoHandle;

 private:
  HttpTransport& transport_;
};

class Call {
 public:
  Call(const WebRequest& request, const WebOutputs& outputs, HttpTransport& transport)
      : request_(request), outputs_(outputs), transport_(transport), handles_(transport) {}

  Text Run() {
    cookies_ = request_.cookies;
    Text result;
    if (auto failure = Exchange(&result)) {
      if (outputs_.status != nullptr) *outputs_.status = FailureText(*failure);
      if (!ExitsQuietly(*failure)) ProcessEvents();
      return {};
    }
    ProcessEvents();
    return result;
  }

 private:
  // Every step up to the response stage; the failure that ended the request, if one did.
  std::optional<Failure> Exchange(Text* result) {
    if (!transport_.CheckPlatform()) return Failure::kPlatform;
    UrlParts url;
    if (!transport_.CrackUrl(request_.url, &url)) return Failure::kUrl;

    bool viaProxy = !request_.proxy.empty();
    Text proxyName;
    if (viaProxy) proxyName = url.secure ? request_.proxy : "http=" + request_.proxy;
    handles_.session =
        transport_.Open(viaProxy ? AccessType::kNamedProxy : AccessType::kNoProxy, proxyName);
    if (handles_.session == kNoHandle) return Failure::kSession;
    handles_.connection = transport_.Connect(handles_.session, url.hostName, url.port);
    if (handles_.connection == kNoHandle) return Failure::kConnection;
    handles_.request = transport_.OpenRequest(handles_.connection, Verb(request_.method),
                                              url.ObjectName(), url.secure);
    if (handles_.request == kNoHandle) return Failure::kRequest;
    TransportHandle request = handles_.request;

    // Seconds beyond what fits in 32-bit milliseconds (about 24 days) mean the longest time-out.
    constexpr int kLongestSeconds = std::numeric_limits<int>::max() / 1000;
    int t = request_.timeoutSeconds > 0 ? std::min(request_.timeoutSeconds, kLongestSeconds) * 1000
                                        : 30000;
    if (!transport_.SetTimeouts(request, t, t, t, t)) return Failure::kTimeouts;
    if (!request_.userName.empty() && !request_.password.empty() &&
        !transport_.SetCredentials(request, CredentialTarget::kServer, request_.userName,
                                   request_.password))
      return Failure::kCredentials;
    if (!request_.proxyUser.empty() && !request_.proxyPassword.empty() &&
        !transport_.SetCredentials(request, CredentialTarget::kProxy, request_.proxyUser,
                                   request_.proxyPassword))
      return Failure::kCredentials;
    bool cookieOption =
        cookies_.empty()
            ? transport_.SetOption(request, kOptionDisableFeature, kFeatureCookies)
            : transport_.SetOption(request, kOptionEnableFeature, kFeatureRevocationCheck);
    if (!cookieOption) return Failure::kCookieOption;
    if (request_.noRedirect &&
        !transport_.SetOption(request, kOptionDisableFeature, kFeatureRedirects))
      return Failure::kRedirectOption;
    if (!transport_.AddRequestHeaders(request, BuildRequestHeaders(request_, cookies_)))
      return Failure::kHeaders;
    if (!transport_.SendRequest(request, ToBytes(request_.postData))) return Failure::kSend;
    if (!transport_.ReceiveResponse(request)) return Failure::kReceive;

    Bytes body = ReadBody();
    *result = RunResponseStage({transport_, request, body, cookies_, request_.mergeCookies, regex_},
                               outputs_);
    return std::nullopt;
  }

  // The body in the pieces the transport has ready. A failed read keeps what came before it and
  // is no exit; so is a body that would outgrow the memory cap.
  Bytes ReadBody() {
    Bytes body;
    for (;;) {
      int available = 0;
      if (!transport_.QueryDataAvailable(handles_.request, &available) || available < 1) break;
      std::size_t room = kMaxBodyBytes - body.size();
      if (room == 0) {
        NoteReadFailure();
        break;
      }
      int wanted =
          static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(available), room));
      Bytes buffer = BlankBytes(wanted);
      int read = 0;
      if (!transport_.ReadData(handles_.request, buffer.data(), wanted, &read)) {
        NoteReadFailure();
        break;
      }
      read = std::clamp(read, 0, wanted);
      body.insert(body.end(), buffer.begin(), buffer.begin() + read);
    }
    return body;
  }

  void NoteReadFailure() {
    if (outputs_.status != nullptr) *outputs_.status = FailureText(Failure::kRead);
  }

  const WebRequest& request_;
  const WebOutputs& outputs_;
  HttpTransport& transport_;
  RegexObject regex_;  // destroyed after the handles are closed, like the rest of the call
  Handles handles_;
  Text cookies_;
};

}  // namespace

Text WebAccess(const WebRequest& request, const WebOutputs& outputs, HttpTransport& transport) {
  return Call(request, outputs, transport).Run();
}

Text WebAccess(const WebRequest& request, const WebOutputs& outputs) {
  CurlTransport transport;
  return WebAccess(request, outputs, transport);
}

}  // namespace gedan
