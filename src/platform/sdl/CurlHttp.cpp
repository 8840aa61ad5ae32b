#include "platform/sdl/CurlHttp.h"

#include <curl/curl.h>

#include <mutex>

namespace {
std::size_t Discard(char*, std::size_t Size, std::size_t Count, void*) { return Size * Count; }
}  // namespace

TCurlHttpClient::TCurlHttpClient(long ConnectTimeoutMs, long TotalTimeoutMs)
    : FConnectTimeoutMs(ConnectTimeoutMs), FTotalTimeoutMs(TotalTimeoutMs) {
  static std::once_flag Initialised;
  std::call_once(Initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool TCurlHttpClient::Get(const std::string& Url) { return Perform(Url, nullptr, ""); }

bool TCurlHttpClient::Post(const std::string& Url, const std::string& Body, const std::string& ContentType) {
  return Perform(Url, &Body, ContentType);
}

bool TCurlHttpClient::Perform(const std::string& Url, const std::string* Body, const std::string& ContentType) {
  CURL* Curl = curl_easy_init();
  if (!Curl) return false;
  curl_slist* Headers = nullptr;
  curl_easy_setopt(Curl, CURLOPT_URL, Url.c_str());
  if (Body) {
    curl_easy_setopt(Curl, CURLOPT_POST, 1L);
    curl_easy_setopt(Curl, CURLOPT_POSTFIELDS, Body->data());
    curl_easy_setopt(Curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(Body->size()));
    // No "Expect: 100-continue": it costs a round trip (or a second's wait).
    Headers = curl_slist_append(Headers, "Expect:");
    Headers = curl_slist_append(Headers, ("Content-Type: " + ContentType).c_str());
    curl_easy_setopt(Curl, CURLOPT_HTTPHEADER, Headers);
  } else {
    curl_easy_setopt(Curl, CURLOPT_HTTPGET, 1L);
  }
  curl_easy_setopt(Curl, CURLOPT_WRITEFUNCTION, Discard);
  curl_easy_setopt(Curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(Curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(Curl, CURLOPT_MAXREDIRS, 5L);
  // A redirect may only lead to another web address, never to FTP or a file.
  curl_easy_setopt(Curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(Curl, CURLOPT_CONNECTTIMEOUT_MS, FConnectTimeoutMs);
  curl_easy_setopt(Curl, CURLOPT_TIMEOUT_MS, FTotalTimeoutMs);
  // Time-outs without signals: the game has other threads (audio).
  curl_easy_setopt(Curl, CURLOPT_NOSIGNAL, 1L);
  const CURLcode Result = curl_easy_perform(Curl);
  curl_easy_cleanup(Curl);
  curl_slist_free_all(Headers);
  return Result == CURLE_OK;
}
