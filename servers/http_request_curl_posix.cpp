// HttpRequest over libcurl: one multi and one easy handle for the object's life, so
// connections are reused between polls, with the time and size limits applied to every
// transfer. The transfer runs on a thread of its own, driven by the multi interface, so
// an abort wakes it at once instead of after libcurl's next time-out.
#include <curl/curl.h>

#include <atomic>
#include <mutex>
#include <string>

#include "common/pumped_wait.h"
#include "servers/http_request.h"

namespace quorvex {

namespace {

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class CurlHttpRequest final : public PlatformHttpRequest {
 public:
  explicit CurlHttpRequest(const HttpLimits& limits) : limits_(limits) {
    InitCurlOnce();
    handle_ = curl_easy_init();
    multi_ = curl_multi_init();
    if (handle_ == nullptr || multi_ == nullptr) {
      Release();
      throw HttpError("libcurl could not create a handle");
    }
    // There is no cache in libcurl; these keep proxies and servers from answering from one.
    headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
    headers_ = curl_slist_append(headers_, "Pragma: no-cache");
  }

  ~CurlHttpRequest() override { Release(); }

 private:
  HttpReply Transfer(const Text& method, const Text& url, EventPump& pump) override {
    method_ = ToUtf8(method);
    url_ = ToUtf8(url);
    body_.clear();
    bodyTooLarge_ = false;
    errorText_[0] = '\0';
    ApplyOptions();
    aborted_ = false;
    const CURLcode result = WaitPumping(pump, [this] { return Perform(); }, [this] {
      aborted_ = true;
      curl_multi_wakeup(multi_);
    });
    if (bodyTooLarge_) throw HttpError("reply body over " + std::to_string(limits_.maxBodyBytes) + " bytes");
    if (result != CURLE_OK) throw HttpError(std::string("HTTP transfer failed: ") + errorText_);
    long code = 0;
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &code);
    return {static_cast<int32_t>(code), std::move(body_)};
  }

  void Release() {
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
    curl_slist_free_all(headers_);
  }

  // On the transfer's own thread: drives the transfer until it ends or is aborted.
  CURLcode Perform() {
    if (curl_multi_add_handle(multi_, handle_) != CURLM_OK) return CURLE_FAILED_INIT;
    CURLcode result = CURLE_FAILED_INIT;  // no end was reported: aborted, or libcurl failed
    int running = 1;
    while (!aborted_ && running > 0) {
      if (curl_multi_perform(multi_, &running) != CURLM_OK) break;
      if (running > 0) curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
    }
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi_, &left)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == handle_) result = message->data.result;
    }
    curl_multi_remove_handle(multi_, handle_);
    return result;
  }

  void ApplyOptions() {
    curl_easy_reset(handle_);  // keeps the connection cache, drops the last request's options
    curl_easy_setopt(handle_, CURLOPT_URL, url_.c_str());
    if (method_ == "GET") {
      curl_easy_setopt(handle_, CURLOPT_HTTPGET, 1L);
    } else {
      curl_easy_setopt(handle_, CURLOPT_CUSTOMREQUEST, method_.c_str());
      if (method_ == "POST") curl_easy_setopt(handle_, CURLOPT_POSTFIELDSIZE, 0L);
      if (method_ == "POST") curl_easy_setopt(handle_, CURLOPT_POSTFIELDS, "");
    }
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connectTimeoutMs));
    curl_easy_setopt(handle_, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.transferTimeoutMs));
    curl_easy_setopt(handle_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.maxBodyBytes));
    curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM
    curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle_, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Loopback never goes through a proxy named in the environment.
    curl_easy_setopt(handle_, CURLOPT_NOPROXY, "localhost,127.0.0.0/8,::1");
    curl_easy_setopt(handle_, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &CurlHttpRequest::ReceiveBody);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, this);
  }

  // Appends a piece of the body; a body over the limit ends the transfer.
  static size_t ReceiveBody(char* data, size_t size, size_t count, void* self) {
    auto& request = *static_cast<CurlHttpRequest*>(self);
    const size_t bytes = size * count;
    if (request.body_.size() + bytes > static_cast<size_t>(request.limits_.maxBodyBytes)) {
      request.bodyTooLarge_ = true;
      return 0;
    }
    request.body_.append(data, bytes);
    return bytes;
  }

  // The longest libcurl sleeps between two looks at its sockets; curl_multi_wakeup ends it.
  static constexpr int kPollMs = 1000;

  HttpLimits limits_;
  CURL* handle_ = nullptr;
  CURLM* multi_ = nullptr;
  std::atomic<bool> aborted_{false};
  curl_slist* headers_ = nullptr;
  std::string method_;  // of the transfer, as libcurl takes them
  std::string url_;
  std::string body_;
  bool bodyTooLarge_ = false;
  char errorText_[CURL_ERROR_SIZE] = {};
};

}  // namespace

std::unique_ptr<HttpRequest> MakeHttpRequest(const HttpLimits& limits) {
  return std::make_unique<CurlHttpRequest>(limits);
}

}  // namespace quorvex
