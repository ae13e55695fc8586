// A small HTTP server on 127.0.0.1 for tests: it listens on a free port as
// soon as it is constructed, serves on a background thread, and stops in its
// destructor. Tests register handlers per method and exact path (at any
// time, also while it serves); every request is recorded with its method,
// path, query parameters (decoded, in the order sent) and body. Requests
// without a handler are recorded and answered 404.
//
//   LoopbackHttpServer server;
//   server.Handle("GET", "/news.txt", [](const httplib::Request&, httplib::Response& res) {
//     res.set_content("hello", "text/plain");
//   });
//   fetch(server.Url("/news.txt"));
//   EXPECT_EQ(server.Requests().at(0).Param("user"), "Ann");
#pragma once
#include <httplib.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_support {

struct RecordedRequest {
  std::string method;
  std::string path;    // decoded, without the query
  std::string target;  // as sent: path and query
  std::vector<std::pair<std::string, std::string>> params;  // in order, decoded
  std::multimap<std::string, std::string> headers;  // keys as sent
  std::string body;

  // The first value of `name`; empty when absent.
  std::string Param(const std::string& name) const;
  // The first value of header `name` (any letter case); empty when absent.
  std::string Header(const std::string& name) const;
};

class LoopbackHttpServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path_and_query.
  std::string Url(const std::string& pathAndQuery = "/") const;

  // Answers `method` ("GET", "POST", "PUT", "DELETE") on exactly `path`.
  void Handle(const std::string& method, const std::string& path, Handler handler);
  // Shorthand: answers GET `path` with `status` and `body`.
  void Serve(const std::string& path, std::string body, int status = 200,
             const std::string& contentType = "text/plain");

  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;

 private:
  void Dispatch(const httplib::Request& request, httplib::Response& response);

  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, Handler> handlers_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace testing_support
