#include "support/loopback_http_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <stdexcept>

namespace testing_support {
namespace {

std::vector<std::pair<std::string, std::string>> QueryParams(const std::string& target) {
  std::vector<std::pair<std::string, std::string>> params;
  const auto question = target.find('?');
  if (question == std::string::npos) return params;
  const std::string query = target.substr(question + 1);
  std::size_t begin = 0;
  while (begin <= query.size()) {
    std::size_t end = query.find('&', begin);
    if (end == std::string::npos) end = query.size();
    const std::string pair = query.substr(begin, end - begin);
    if (!pair.empty()) {
      const auto equals = pair.find('=');
      const std::string key = pair.substr(0, equals);
      const std::string value = equals == std::string::npos ? std::string() : pair.substr(equals + 1);
      params.emplace_back(httplib::detail::decode_url(key, true), httplib::detail::decode_url(value, true));
    }
    begin = end + 1;
  }
  return params;
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string RecordedRequest::Param(const std::string& name) const {
  for (const auto& [key, value] : params)
    if (key == name) return value;
  return {};
}

std::string RecordedRequest::Header(const std::string& name) const {
  for (const auto& [key, value] : headers)
    if (SameNoCase(key, name)) return value;
  return {};
}

LoopbackHttpServer::LoopbackHttpServer() {
  const auto all = [this](const httplib::Request& request, httplib::Response& response) {
    Dispatch(request, response);
  };
  const std::string any = R"(.*)";
  server_.Get(any, all);
  server_.Post(any, all);
  server_.Put(any, all);
  server_.Delete(any, all);
  server_.set_keep_alive_timeout(1);
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("loopback server: no free port");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // stop() only reaches a server that runs already.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackHttpServer::~LoopbackHttpServer() {
  server_.stop();
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackHttpServer::Url(const std::string& pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

void LoopbackHttpServer::Handle(const std::string& method, const std::string& path, Handler handler) {
  std::lock_guard lock(mutex_);
  handlers_[{method, path}] = std::move(handler);
}

void LoopbackHttpServer::Serve(const std::string& path, std::string body, int status,
                               const std::string& contentType) {
  Handle("GET", path, [body = std::move(body), status, contentType](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content(body, contentType.c_str());
  });
}

void LoopbackHttpServer::Dispatch(const httplib::Request& request, httplib::Response& response) {
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    RecordedRequest record{request.method, request.path, request.target, QueryParams(request.target), {}, request.body};
    for (const auto& [key, value] : request.headers) record.headers.emplace(key, value);
    requests_.push_back(std::move(record));
    const auto found = handlers_.find({request.method, request.path});
    if (found != handlers_.end()) handler = found->second;
  }
  if (handler) {
    handler(request, response);
  } else {
    response.status = 404;
    response.set_content("not found", "text/plain");
  }
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t LoopbackHttpServer::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

}  // namespace testing_support
