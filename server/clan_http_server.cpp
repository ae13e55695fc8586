#include "clan_http_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <unistd.h>

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

#include "answer_workers.h"
#include "listen_socket.h"
#include "report_text.h"
#include "request_deadlines.h"
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

std::string ClientAddress(MHD_Connection* connection) {
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  if (!info || !info->client_addr) return "?";
  char text[INET6_ADDRSTRLEN] = "?";
  const sockaddr* address = info->client_addr;
  if (address->sa_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  } else if (address->sa_family == AF_INET6) {
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr, text,
              sizeof text);
  }
  return text;
}

std::string ReportFields(const Query& query) {
  const auto globalpost = query.find("globalpost");
  std::string out = globalpost != query.end() && globalpost->second == "on" ? " master" : " clan";
  for (const char* key : {"name", "server", "map"}) {
    const auto found = query.find(key);
    if (found == query.end()) continue;
    out += std::string(" ") + key + "=\"" + Printable(found->second) + "\"";
  }
  return out;
}

// The open files this process may have, raised to the hard limit: every
// connection is one.
rlim_t RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  return limit.rlim_cur;
}

// Answers shorter than this go out as they are: compressed, they would
// hardly shrink.
constexpr size_t kCompressFrom = 512;

// True when the client's Accept-Encoding takes gzip: the coding named
// without a weight of zero ("gzip", "x-gzip", "gzip;q=0.5"; not "gzip;q=0").
bool AcceptsGzip(MHD_Connection* connection) {
  const char* header = MHD_lookup_connection_value(connection, MHD_HEADER_KIND,
                                                   MHD_HTTP_HEADER_ACCEPT_ENCODING);
  if (!header) return false;
  const auto trim = [](std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::string_view();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
  };
  std::string_view rest = header;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    const size_t semicolon = item.find(';');
    const std::string_view coding = trim(item.substr(0, semicolon));
    if (!(coding.size() == 4 && strncasecmp(coding.data(), "gzip", 4) == 0) &&
        !(coding.size() == 6 && strncasecmp(coding.data(), "x-gzip", 6) == 0)) {
      continue;
    }
    if (semicolon == std::string_view::npos) return true;
    const std::string_view weight = trim(item.substr(semicolon + 1));
    if (weight.size() < 2 || (weight[0] != 'q' && weight[0] != 'Q') || weight[1] != '=') {
      return true;
    }
    const std::string_view value = trim(weight.substr(2));
    // Zero is "0" with any number of zero decimals.
    return value.find_first_not_of("0.") != std::string_view::npos || value.empty();
  }
  return false;
}

// What one request carries from its request line to its end.
struct RequestState {
  std::string uri;  // as sent: path and query, still escaped
  bool checked = false;  // the request line and headers passed the bounds
  bool logged = false;   // answered
  bool handedOver = false;     // to the waiting threads
  std::optional<Reply> reply;  // what they worked out
  std::string fields;          // for the log line
};

}  // namespace

struct ClanHttpServer::Impl {
  Impl(ClanScript& script, LogSink log, HttpLimits limits)
      : script(script), log(std::move(log)), limits(limits), deadlines(limits.requestTime) {}

  MHD_Result Answer(MHD_Connection* connection, const char* method, size_t* uploadBytes,
                    void** context);
  void Queue(MHD_Connection* connection, RequestState& state, const std::string& method,
             const std::string& path, const Reply& reply, const std::string& fields);

  ClanScript& script;
  const LogSink log;
  const HttpLimits limits;
  RequestDeadlines deadlines;
  std::unique_ptr<AnswerWorkers> workers;  // when answers wait for a store elsewhere
  MHD_Daemon* daemon = nullptr;
};

namespace {

void* OnRequestLine(void*, const char* uri, MHD_Connection*) {
  auto* state = new RequestState;
  state->uri = uri ? uri : "";
  // The query is taken apart from the copy above. Left to libmicrohttpd,
  // every parameter would take a record of the connection's small memory
  // pool, and a few thousand "a&" leave it no room to answer at all. It
  // hands us its own buffer and splits the query only after this call, so
  // the query ended right behind its '?' leaves it nothing to split.
  if (char* question = uri ? const_cast<char*>(std::strchr(uri, '?')) : nullptr) {
    question[1] = '\0';
  }
  return state;
}

// A request whose end can't be told for sure: two Content-Length fields, or
// white space between a field's name and its colon (RFC 9112 5.1, 6.3). Its
// body could be read as a request of its own.
bool AmbiguousFraming(MHD_Connection* connection) {
  struct Seen {
    int lengths = 0;
    bool blankInName = false;
  } seen;
  MHD_get_connection_values(
      connection, MHD_HEADER_KIND,
      [](void* cls, MHD_ValueKind, const char* key, const char*) {
        auto& seen = *static_cast<Seen*>(cls);
        const std::string_view name = key ? key : "";
        if (name.find_first_of(" \t") != std::string_view::npos) seen.blankInName = true;
        if (strcasecmp(name.data(), MHD_HTTP_HEADER_CONTENT_LENGTH) == 0) ++seen.lengths;
        return MHD_YES;
      },
      &seen);
  return seen.lengths > 1 || seen.blankInName;
}

MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char*, const char* method,
                     const char*, const char*, size_t* uploadBytes, void** context) {
  return static_cast<ClanHttpServer::Impl*>(cls)->Answer(connection, method, uploadBytes, context);
}

void OnRequestDone(void* cls, MHD_Connection* connection, void** context,
                   MHD_RequestTerminationCode code) {
  auto* impl = static_cast<ClanHttpServer::Impl*>(cls);
  auto* state = static_cast<RequestState*>(*context);
  if (state && !state->logged) {
    // Refused by the HTTP layer before it reached us (headers beyond the
    // connection's memory), or the client went away before its answer.
    const auto* status = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_HTTP_STATUS);
    const std::string path = state->uri.substr(0, std::min<size_t>(state->uri.find('?'), 200));
    impl->log(Timestamp() + " " + ClientAddress(connection) + " " +
              Printable(DecodeUrlText(path, false)) + " -> " +
              (status && status->http_status ? std::to_string(status->http_status)
                                             : std::string("closed unanswered")));
  }
  delete state;
  *context = nullptr;
  if (code == MHD_REQUEST_TERMINATED_COMPLETED_OK) {
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    if (info && info->socket_context) {
      impl->deadlines.Answered(static_cast<RequestDeadlines::Handle>(info->socket_context));
    }
  }
}

void OnConnection(void* cls, MHD_Connection* connection, void** socketContext,
                  MHD_ConnectionNotificationCode code) {
  auto& deadlines = static_cast<ClanHttpServer::Impl*>(cls)->deadlines;
  if (code == MHD_CONNECTION_NOTIFY_STARTED) {
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    *socketContext = info ? deadlines.Opened(info->connect_fd) : nullptr;
  } else if (*socketContext) {
    deadlines.Closed(static_cast<RequestDeadlines::Handle>(*socketContext));
    *socketContext = nullptr;
  }
}

}  // namespace

MHD_Result ClanHttpServer::Impl::Answer(MHD_Connection* connection, const char* method,
                                        size_t* uploadBytes, void** context) {
  // Called once the headers are in, then again for each piece of a body and
  // once at the end of the request. An answer queued before the end closes
  // the connection after it, so a request that is served keeps the
  // connection alive only when answered at its end.
  auto* state = static_cast<RequestState*>(*context);
  if (!state) return MHD_NO;
  if (state->logged) {
    *uploadBytes = 0;  // a body after a refusal is dropped unread
    return MHD_YES;
  }

  const std::string_view uri = state->uri;
  const size_t question = uri.find('?');
  const std::string_view rawPath = uri.substr(0, question);
  const std::string_view rawQuery =
      question == std::string_view::npos ? std::string_view() : uri.substr(question + 1);
  const std::string methodText = method ? method : "";
  const std::string path = DecodeUrlText(rawPath, false);
  const auto plain = [](int status, std::string body, std::string outcome) {
    return Reply{status, "text/plain; charset=utf-8", std::move(body) + "\n", std::move(outcome)};
  };

  const auto* header = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_REQUEST_HEADER_SIZE);
  const size_t headerBytes = header ? header->header_size : 0;
  const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND,
                                                   MHD_HTTP_HEADER_CONTENT_LENGTH);
  const bool body =
      (length && std::string_view(length) != "0") ||
      MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING);

  if (rawPath.size() + methodText.size() > limits.maxPathBytes ||
      rawQuery.size() > limits.maxQueryBytes) {
    Queue(connection, *state, methodText, path, plain(414, "URI Too Long", "uri too long"), "");
  } else if (headerBytes > limits.maxHeaderBytes + uri.size() + methodText.size() + 16) {
    Queue(connection, *state, methodText, path,
          plain(431, "Request Header Fields Too Large", "headers too large"), "");
  } else if (AmbiguousFraming(connection)) {
    Queue(connection, *state, methodText, path, plain(400, "Bad Request", "ambiguous framing"), "");
  } else if (methodText != "GET" && methodText != "HEAD") {
    Queue(connection, *state, methodText, path, plain(405, "Method Not Allowed", "no such method"),
          "");
  } else if (body || *uploadBytes != 0) {
    *uploadBytes = 0;
    Queue(connection, *state, methodText, path,
          plain(413, "Content Too Large", "request body refused"), "");
  } else if (!state->checked) {
    state->checked = true;  // answered at the end of the request
  } else if (state->reply) {
    Queue(connection, *state, methodText, path, *state->reply, state->fields);
  } else if (!state->handedOver) {
    Query query = ParseQuery(rawQuery);
    state->fields = ReportFields(query);
    if (!workers) {
      Queue(connection, *state, methodText, path, script.Handle(query), state->fields);
      return MHD_YES;
    }
    // Handed over, the connection rests until its answer is worked out;
    // then it is called here again and sends it.
    auto job = [this, connection, state, query] {
      state->reply = script.Handle(query);
      MHD_resume_connection(connection);
    };
    const auto handOver = [&] {
      MHD_suspend_connection(connection);
      state->handedOver = true;
    };
    if (!workers->Submit(handOver, std::move(job))) {
      Queue(connection, *state, methodText, path, script.Handle(query), state->fields);
    }
  }
  return MHD_YES;
}

void ClanHttpServer::Impl::Queue(MHD_Connection* connection, RequestState& state,
                                 const std::string& method, const std::string& path,
                                 const Reply& reply, const std::string& fields) {
  // The answer is sent from the shared pieces themselves (or their
  // compressed forms), which the connection holds until it is done with them.
  std::vector<MHD_IoVec> buffers;
  bool gzipped = false;
  if (reply.status == 200 && reply.body->Size() >= kCompressFrom && AcceptsGzip(connection)) {
    if (const auto parts = reply.body->Gzip(script.Memory())) {
      for (const std::string_view part : *parts) buffers.push_back({part.data(), part.size()});
      gzipped = true;
    }
  }
  if (!gzipped) {
    for (const PieceRef& piece : reply.body->Pieces()) {
      if (!piece->Text().empty()) buffers.push_back({piece->Text().data(), piece->Text().size()});
    }
  }
  MHD_Response* response = nullptr;
  if (buffers.empty()) {
    response = MHD_create_response_from_buffer(0, const_cast<char*>(""), MHD_RESPMEM_PERSISTENT);
  } else {
    auto* held = new AnswerRef(reply.body);
    response = MHD_create_response_from_iovec(
        buffers.data(), static_cast<unsigned>(buffers.size()),
        [](void* body) { delete static_cast<AnswerRef*>(body); }, held);
    if (!response) delete held;
  }
  if (!response) return;  // out of memory: the connection ends unanswered
  if (gzipped) MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_ENCODING, "gzip");
  if (reply.status == 200) {
    MHD_add_response_header(response, MHD_HTTP_HEADER_VARY, "Accept-Encoding");
  }
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
  if (reply.status == 405) MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
  if (reply.status >= 400 && reply.status != 405 && reply.status != 503) {
    // The rest of what the client sent is not read: the connection ends here.
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
  }
  MHD_queue_response(connection, reply.status, response);
  MHD_destroy_response(response);
  state.logged = true;
  log(Timestamp() + " " + ClientAddress(connection) + " " + Printable(method) + " " +
      Printable(path) + fields + " -> " + std::to_string(reply.status) + " " + reply.outcome);
}

ClanHttpServer::ClanHttpServer(ClanScript& script, LogSink log, HttpLimits limits)
    : impl_(std::make_unique<Impl>(script, std::move(log), limits)) {}

ClanHttpServer::~ClanHttpServer() {
  Stop();
  if (listenFd_ >= 0) close(listenFd_);
}

int ClanHttpServer::Bind(const std::string& host, int port, std::string* error) {
  const ListenSocket socket = OpenListenSocket(host, port);
  if (socket.fd < 0) {
    if (error) *error = socket.error;
    return -1;
  }
  if (listenFd_ >= 0) close(listenFd_);
  listenFd_ = socket.fd;
  return socket.port;
}

bool ClanHttpServer::Run() {
  std::unique_lock lock(mutex_);
  if (stopRequested_) return true;
  if (listenFd_ < 0) return false;
  const HttpLimits& limits = impl_->limits;
  // Some descriptors stay free for the log, the store and the listen socket.
  const rlim_t files = RaiseOpenFileLimit();
  const unsigned connections = static_cast<unsigned>(
      std::clamp<rlim_t>(files > 64 ? files - 64 : 16, 16, std::max(16u, limits.maxConnections)));
  // One connection's memory: the request line with its query, the headers,
  // the headers of the answer and some room for the pool's bookkeeping. The
  // HTTP layer clears all of it after each request, so a held connection
  // costs all of it.
  const size_t connectionMemory =
      limits.maxPathBytes + limits.maxQueryBytes + limits.maxHeaderBytes + 1024;
  const unsigned idleSeconds =
      std::max<unsigned>(1, static_cast<unsigned>((limits.requestTime.count() + 999) / 1000));
  if (limits.waitingThreads > 0) {
    impl_->workers = std::make_unique<AnswerWorkers>(limits.waitingThreads);
  }
  const unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC |
                         (impl_->workers ? MHD_ALLOW_SUSPEND_RESUME : 0);
  MHD_Daemon* daemon = MHD_start_daemon(
      flags, 0, nullptr, nullptr, &OnRequest, impl_.get(),
      MHD_OPTION_LISTEN_SOCKET, listenFd_,
      MHD_OPTION_THREAD_POOL_SIZE, std::max(1u, limits.threads),
      MHD_OPTION_CONNECTION_LIMIT, connections,
      MHD_OPTION_PER_IP_CONNECTION_LIMIT, limits.connectionsPerAddress,
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, connectionMemory,
      MHD_OPTION_CONNECTION_TIMEOUT, idleSeconds,
      MHD_OPTION_URI_LOG_CALLBACK, &OnRequestLine, impl_.get(),
      MHD_OPTION_NOTIFY_COMPLETED, &OnRequestDone, impl_.get(),
      MHD_OPTION_NOTIFY_CONNECTION, &OnConnection, impl_.get(),
      MHD_OPTION_END);
  if (!daemon) return false;
  listenFd_ = -1;  // the daemon closes it when it stops
  impl_->daemon = daemon;
  stopped_.wait(lock, [this] { return stopRequested_; });
  lock.unlock();
  // The HTTP layer can't stop while a connection rests: every handed-over
  // request is answered first, the ones coming meanwhile on their own thread.
  if (impl_->workers) impl_->workers->Finish();
  MHD_stop_daemon(daemon);
  return true;
}

void ClanHttpServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  stopped_.notify_all();
}

}  // namespace clan
