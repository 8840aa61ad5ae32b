// HTTP GET, and POST of a body, whose response is thrown away: all the game
// needs to hand in its high-score table and its recorded runs. Blocks the
// calling thread until done or failed.
#pragma once

#include <string>
#include <vector>

class IHttpClient {
public:
  virtual ~IHttpClient() = default;
  // True when the server answered the request with a success status.
  virtual bool Get(const std::string& Url) = 0;
  // Sends Body as the request's content; a client that cannot post fails.
  virtual bool Post(const std::string& Url, const std::string& Body, const std::string& ContentType) {
    (void)Url, (void)Body, (void)ContentType;
    return false;
  }
};

// Without a network layer installed every request fails, so headless runs
// never reach out anywhere.
class TOfflineHttpClient : public IHttpClient {
public:
  bool Get(const std::string& Url) override {
    Requested.push_back(Url);
    return false;
  }
  bool Post(const std::string& Url, const std::string&, const std::string&) override {
    Requested.push_back(Url);
    return false;
  }
  std::vector<std::string> Requested;
};

// Installs the client (nullptr restores the offline one); returns the old one.
IHttpClient* SetHttpClient(IHttpClient* Client);
IHttpClient& CurrentHttpClient();
