#include "clan_http_server.h"

#include <httplib.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "report_text.h"
#include "win1252.h"

namespace clan {
namespace {

std::string Timestamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// Client text made safe for one log line.
std::string Printable(std::string_view raw) { return Win1252ToUtf8(CleanValue(raw)); }

std::string RequestLine(const httplib::Request& req) {
  return Timestamp() + " " + req.remote_addr + " " + Printable(req.method) + " " +
         Printable(req.path);
}

std::string ReportFields(const httplib::Request& req) {
  std::string out = req.get_param_value("globalpost") == "on" ? " master" : " clan";
  for (const char* key : {"name", "server", "map"}) {
    if (!req.has_param(key)) continue;
    out += std::string(" ") + key + "=\"" + Printable(req.get_param_value(key)) + "\"";
  }
  return out;
}

}  // namespace

ClanHttpServer::ClanHttpServer(ClanScript& script, LogSink log)
    : server_(std::make_unique<httplib::Server>()) {
  // Address reuse lets a restart bind while old connections linger; port
  // sharing, httplib's default too, would let a second server take half of
  // the reports into a roster of its own without any error.
  server_->set_socket_options([](auto sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server_->set_read_timeout(std::chrono::seconds(10));
  server_->set_payload_max_length(64 * 1024);
  server_->Get(".*", [&script, log](const httplib::Request& req, httplib::Response& res) {
    const Reply reply = script.Handle(req.params);
    res.status = reply.status;
    res.set_content(reply.body, reply.contentType.c_str());
    log(RequestLine(req) + ReportFields(req) + " -> " + std::to_string(reply.status) + " " +
        reply.outcome);
  });
  server_->set_error_handler([log](const httplib::Request& req, httplib::Response& res) {
    log(RequestLine(req) + " -> " + std::to_string(res.status));
  });
}

ClanHttpServer::~ClanHttpServer() = default;

int ClanHttpServer::Bind(const std::string& host, int port) {
  if (port == 0) return server_->bind_to_any_port(host);
  return server_->bind_to_port(host.c_str(), port) ? port : -1;
}

bool ClanHttpServer::Run() {
  runEntered_ = true;
  const bool ok = stopRequested_ || server_->listen_after_bind();
  runDone_ = true;
  return ok;
}

void ClanHttpServer::Stop() {
  stopRequested_ = true;
  // httplib ignores a stop before its loop runs; a Run() that has already
  // passed its check of stopRequested_ is waited for until it listens.
  while (runEntered_ && !runDone_ && !server_->is_running()) std::this_thread::yield();
  server_->stop();
}

}  // namespace clan
