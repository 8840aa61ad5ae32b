// HTTP GET over libcurl with short time-outs, so a player waiting on a
// submission sees the error picture instead of a frozen game.
#pragma once

#include "platform/Http.h"

class TCurlHttpClient : public IHttpClient {
public:
  static constexpr long ConnectTimeoutSeconds = 4;
  static constexpr long TotalTimeoutSeconds = 8;

  TCurlHttpClient();
  // Any transfer error or an HTTP status of 400 and up is a failure; the
  // response body is thrown away.
  bool Get(const std::string& Url) override;
};
