#include "http/read_url_bytes.h"

#include <memory>
#include <string>

#include "http/curl_setup.h"
#include "http/curl_transfer.h"
#include "text/encoding.h"

namespace gedan {
namespace {

constexpr int kPatienceMs = 5000;

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

Bytes ReadUrlBytes(TextView url) {
  if (!InitCurlOnce()) return {};
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return {};

  StallGuard guard;
  ApplyCommonOptions(easy.get(), {.connectTimeoutMs = kPatienceMs, .stallTimeoutMs = kPatienceMs},
                     &guard);
  std::string address = AnsiToUtf8(url);
  curl_easy_setopt(easy.get(), CURLOPT_URL, address.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(easy.get(), CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy.get(), CURLOPT_PROXY, "");  // direct, whatever the environment says
  curl_easy_setopt(easy.get(), CURLOPT_USERAGENT,
                   "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  std::unique_ptr<curl_slist, ListDeleter> headers(curl_slist_append(nullptr, "Accept: */*"));
  curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());

  // Whatever the status, the body that arrived is the answer; without a response there is none.
  BufferedTransfer transfer;
  transfer.Perform(easy.get());
  if (!transfer.HeadersComplete()) return {};
  return transfer.TakeBody();
}

}  // namespace gedan
