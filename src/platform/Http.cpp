#include "platform/Http.h"

namespace {
TOfflineHttpClient OfflineClient;
IHttpClient* Current = &OfflineClient;
}  // namespace

IHttpClient* SetHttpClient(IHttpClient* Client) {
  IHttpClient* Old = Current;
  Current = Client ? Client : &OfflineClient;
  return Old;
}

IHttpClient& CurrentHttpClient() { return *Current; }
