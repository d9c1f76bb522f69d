// HttpRequest over libcurl: one easy handle for the object's life, so connections are
// reused between polls, with the time and size limits applied to every transfer.
#include <curl/curl.h>

#include <mutex>
#include <string>

#include "servers/http_request.h"

namespace quorvex {

namespace {

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class CurlHttpRequest final : public HttpRequest {
 public:
  explicit CurlHttpRequest(const HttpLimits& limits) : limits_(limits) {
    InitCurlOnce();
    handle_ = curl_easy_init();
    if (handle_ == nullptr) throw HttpError("libcurl could not create a handle");
    // There is no cache in libcurl; these keep proxies and servers from answering from one.
    headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
    headers_ = curl_slist_append(headers_, "Pragma: no-cache");
  }

  ~CurlHttpRequest() override {
    curl_easy_cleanup(handle_);
    curl_slist_free_all(headers_);
  }

  void open(const Text& method, const Text& url) override {
    method_ = ToUtf8(method);
    url_ = ToUtf8(url);
    Forget();
  }

  void send() override {
    if (url_.empty()) throw HttpError("send without open");
    Forget();
    ApplyOptions();
    const CURLcode result = curl_easy_perform(handle_);
    if (bodyTooLarge_) throw HttpError("reply body over " + std::to_string(limits_.maxBodyBytes) + " bytes");
    if (result != CURLE_OK) throw HttpError(std::string("HTTP transfer failed: ") + errorText_);
    long code = 0;
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &code);
    status_ = static_cast<int32_t>(code);
    hasReply_ = true;
  }

  Text responseText() override {
    RequireReply();
    return FromUtf8(body_);
  }

  int32_t status() override {
    RequireReply();
    return status_;
  }

 private:
  void Forget() {
    body_.clear();
    status_ = 0;
    hasReply_ = false;
    bodyTooLarge_ = false;
    errorText_[0] = '\0';
  }

  void RequireReply() const {
    if (!hasReply_) throw HttpError("no reply");
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

  HttpLimits limits_;
  CURL* handle_ = nullptr;
  curl_slist* headers_ = nullptr;
  std::string method_;
  std::string url_;
  std::string body_;
  int32_t status_ = 0;
  bool hasReply_ = false;
  bool bodyTooLarge_ = false;
  char errorText_[CURL_ERROR_SIZE] = {};
};

}  // namespace

std::unique_ptr<HttpRequest> MakeHttpRequest(const HttpLimits& limits) {
  return std::make_unique<CurlHttpRequest>(limits);
}

}  // namespace quorvex
