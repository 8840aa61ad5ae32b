// HTTP GET and POST over libcurl with short time-outs, so a player waiting on a
// submission sees the error picture instead of a frozen game.
#pragma once

#include "platform/Http.h"

class TCurlHttpClient : public IHttpClient {
public:
  static constexpr long DefaultConnectTimeoutMs = 4000;
  static constexpr long DefaultTotalTimeoutMs = 8000;

  explicit TCurlHttpClient(long ConnectTimeoutMs = DefaultConnectTimeoutMs, long TotalTimeoutMs = DefaultTotalTimeoutMs);
  // Any transfer error or an HTTP status of 400 and up is a failure; the
  // response body is thrown away.
  bool Get(const std::string& Url) override;
  bool Post(const std::string& Url, const std::string& Body, const std::string& ContentType) override;

private:
  bool Perform(const std::string& Url, const std::string* Body, const std::string& ContentType);

  long FConnectTimeoutMs;
  long FTotalTimeoutMs;
};
