#include <gtest/gtest.h>
#include <httplib.h>

#include <sys/socket.h>
#include <unistd.h>

#include <zlib.h>

#include <atomic>
#include <condition_variable>

#include "loopback.h"
#include "memory_roster.h"

namespace clan {
namespace {

using clan::testing::LoopbackServer;
using clan::testing::RawExchange;

// "gehäim" as the Windows-1252 bytes the client sends.
const ScriptConfig kConfig{"geh\xE4im", "global", {}};
constexpr char kPass[] = "geh%E4im";

std::string ReportPath(const std::string& name, const std::string& server) {
  return "/scripts/quavik.php?name=" + name + "&ip=Zephanor!&server=" + server +
         "&map=TO-Rapid&pass=" + kPass + "&quickview=on";
}

class HttpTest : public ::testing::Test {
 protected:
  httplib::Result Get(const std::string& path) {
    client.set_url_encode(false);  // the paths here are encoded as the client encodes them
    return client.Get(path);
  }

  // A short request time, so that a request the server can't finish ends
  // soon; wide bounds, so that a query can be long.
  LoopbackServer server{kConfig, {.maxPathBytes = 8 * 1024,
                                  .maxHeaderBytes = 8 * 1024,
                                  .maxQueryBytes = 64 * 1024,
                                  .requestTime = std::chrono::milliseconds(1000)}};
  httplib::Client client{"127.0.0.1", server.port()};
};

std::string StatusLine(const std::string& answer) { return answer.substr(0, answer.find("\r\n")); }

TEST_F(HttpTest, PercentEncodedReportIsAnsweredInWin1252) {
  const auto result = Get(ReportPath("J%F6rg", "%3Ci%3ESucht%20Server...%3C%2Fi%3E"));

  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->get_header_value("Content-Type"), "text/plain; charset=windows-1252");
  const std::string prefix = "J\xF6rg\r\nSucht Server...\r\n";
  EXPECT_EQ(result->body.substr(0, prefix.size()), prefix);
  EXPECT_EQ(result->body.size(), prefix.size() + 10 + 2 + 8 + 2);

  const auto refused = Get("/?name=Kim&pass=geh%C3%A4im&quickview=on");  // UTF-8, not 1252
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->body, "AUTH_FAILED!");
}

TEST_F(HttpTest, LogsOneLinePerRequestWithoutThePassword) {
  Get(ReportPath("J%F6rg", "1.2.3.4:7777"));
  Get("/?name=Kim&pass=wrongpass&quickview=on&globalpost=on");
  Get("/roster");
  client.Post("/", "x", "text/plain");

  const auto log = server.LogLines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_NE(log[0].find("127.0.0.1 GET /scripts/quavik.php clan name=\"J\xC3\xB6rg\" "
                        "server=\"1.2.3.4:7777\" map=\"TO-Rapid\" -> 200 added"),
            std::string::npos) << log[0];
  EXPECT_NE(log[1].find("master name=\"Kim\" -> 200 refused"), std::string::npos) << log[1];
  EXPECT_NE(log[2].find("GET /roster clan -> 200 page"), std::string::npos) << log[2];
  EXPECT_NE(log[3].find("POST / -> 405"), std::string::npos) << log[3];
  for (const auto& line : log) {
    EXPECT_EQ(line.find("geh"), std::string::npos) << line;
    EXPECT_EQ(line.find("wrongpass"), std::string::npos) << line;
  }
}

TEST_F(HttpTest, SurvivesMalformedRequests) {
  const std::string malformed[] = {
      "GET /?name=%ZZ%&server=%E&map=%&pass=geh%E4im&quickview=on HTTP/1.1\r\n\r\n",
      "GET /?name=%00%0D%0A%1A&pass=geh%E4im&quickview=on HTTP/1.1\r\n\r\n",
      "GET /?name&&=&pass==&quickview HTTP/1.1\r\n\r\n",
      "GET /?" + std::string(100000, 'n') + " HTTP/1.1\r\n\r\n",
      "GET / HTTP/1.1\r\n" + std::string(100000, 'h') + "\r\n\r\n",
      "\xFF\xFE\x00\x01 garbage \r\n\r\n",
      "GET\r\n\r\n",
      "",
  };
  for (const auto& request : malformed) RawExchange(server.port(), request);

  const auto result = Get(ReportPath("Kim", "1.2.3.4:7777"));
  ASSERT_TRUE(result) << "server no longer answers";
  // Only the two decodable reports with a name were recorded, cleaned.
  EXPECT_EQ(result->body.find("\x1A"), std::string::npos);
  EXPECT_NE(result->body.find("%ZZ%\r\n"), std::string::npos);
  EXPECT_NE(result->body.find("Kim\r\n1.2.3.4:7777\r\n"), std::string::npos);
}

TEST(HttpLimitsTest, BoundsTheRequestLineHeadersAndBody) {
  // Each bound holds as set, and a request right at the bounds still fits
  // the connection's memory: with the default bounds and with wide ones.
  const HttpLimits wide{.maxPathBytes = 8 * 1024, .maxHeaderBytes = 8 * 1024,
                        .maxQueryBytes = 64 * 1024};
  for (const HttpLimits& limits : {HttpLimits{}, wide}) {
    const std::string label = "query bound " + std::to_string(limits.maxQueryBytes) + ": ";
    LoopbackServer server{kConfig, limits};
    const std::string report = "name=Kim&pass=geh%E4im&quickview=on&pad=";
    const auto withQuery = [&](size_t bytes) {
      return "GET /?" + report + std::string(bytes - report.size(), 'q') + " HTTP/1.1\r\n\r\n";
    };
    const auto withHeader = [](size_t bytes) {
      return "GET / HTTP/1.1\r\nHost: x\r\nX-Pad: " + std::string(bytes, 'h') + "\r\n\r\n";
    };
    const auto pathOf = [](size_t bytes) {
      return "GET /" + std::string(bytes, 'p') + " HTTP/1.1\r\n\r\n";
    };
    const struct {
      const char* what;
      std::string request;
      std::string status;
    } cases[] = {
        {"query at the bound", withQuery(limits.maxQueryBytes), "HTTP/1.1 200 OK"},
        {"query beyond", withQuery(limits.maxQueryBytes + 1), "HTTP/1.1 414 URI Too Long"},
        {"query far beyond", withQuery(1024 * 1024), "HTTP/1.1 414 URI Too Long"},
        {"path at the bound", pathOf(limits.maxPathBytes - 4), "HTTP/1.1 200 OK"},
        {"path beyond", pathOf(limits.maxPathBytes), "HTTP/1.1 414 URI Too Long"},
        {"path far beyond", pathOf(8200), "HTTP/1.1 414 URI Too Long"},
        {"headers near the bound", withHeader(limits.maxHeaderBytes - 192), "HTTP/1.1 200 OK"},
        {"headers beyond", withHeader(limits.maxHeaderBytes + 1000),
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"headers far beyond", withHeader(1024 * 1024),
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"a body", "GET /?quickview=on HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello",
         "HTTP/1.1 413 Content Too Large"},
        {"a chunked body",
         "GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
         "HTTP/1.1 413 Content Too Large"},
        {"a POST", "POST / HTTP/1.1\r\nContent-Length: 0\r\n\r\n",
         "HTTP/1.1 405 Method Not Allowed"},
    };
    for (const auto& c : cases) {
      EXPECT_EQ(StatusLine(RawExchange(server.port(), c.request)), c.status) << label << c.what;
    }
    httplib::Client client{"127.0.0.1", server.port()};
    client.set_url_encode(false);
    const auto result = client.Get(ReportPath("Lee", "1.2.3.4:7777"));
    ASSERT_TRUE(result) << label;
    EXPECT_EQ(result->body.find("Kim\r\n"), 0u) << label << "the report at the bound was recorded";
  }
}

TEST_F(HttpTest, RefusesAmbiguousFramingAndClosesTheConnection) {
  // Each would let a body be read as a second request behind the proxy's back.
  const std::string smuggled = "GET /?name=Evil&pass=geh%E4im&quickview=on HTTP/1.1\r\n\r\n";
  const std::string cases[] = {
      "GET /?quickview=on HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nContent-Length: " +
          std::to_string(smuggled.size()) + "\r\n\r\n",
      "GET /?quickview=on HTTP/1.1\r\nHost: x\r\ncontent-length: 0\r\nContent-Length: 0\r\n\r\n",
      "GET /?quickview=on HTTP/1.1\r\nHost: x\r\nContent-Length : " +
          std::to_string(smuggled.size()) + "\r\n\r\n",
      "GET /?quickview=on HTTP/1.1\r\nHost: x\r\nX-Note\t: a\r\n\r\n",
  };
  for (const auto& request : cases) {
    const std::string answer = RawExchange(server.port(), request + smuggled);
    EXPECT_EQ(StatusLine(answer), "HTTP/1.1 400 Bad Request") << request;
    EXPECT_NE(answer.find("Connection: close"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("HTTP/1.1", 1), std::string::npos) << "a second answer: " << answer;
  }
  const auto result = Get(ReportPath("Kim", "1.2.3.4:7777"));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->body.find("Evil"), std::string::npos) << "the smuggled report was recorded";
}

// The status lines and the blank lines that end a header block, counted in
// everything the server sent on one connection.
std::pair<size_t, size_t> AnswerHeads(const std::string& answer) {
  size_t statusLines = 0;
  size_t headEnds = 0;
  for (size_t at = 0; (at = answer.find("HTTP/1.", at)) != std::string::npos; ++at) ++statusLines;
  for (size_t at = 0; (at = answer.find("\r\n\r\n", at)) != std::string::npos; ++at) ++headEnds;
  return {statusLines, headEnds};
}

// Off for now: libmicrohttpd 0.9.75 refuses these itself, before our handler
// sees the request, and writes its header block twice (its own 400 or 413,
// then again with the body). Checking the head ahead of it would take an
// accept loop of our own that peeks at every request head, kept-alive ones
// included, within the per-address, total and time bounds: not done yet.
TEST_F(HttpTest, DISABLED_AMalformedContentLengthGetsOneAnswerAndTheConnectionCloses) {
  const struct {
    const char* length;
    const char* status;
  } cases[] = {
      {"-1", "HTTP/1.1 400 Bad Request"},
      {"+0", "HTTP/1.1 400 Bad Request"},
      {" 12", "HTTP/1.1 413 Content Too Large"},  // padding before the value is allowed
      {"12 ", "HTTP/1.1 413 Content Too Large"},
      {"1 2", "HTTP/1.1 400 Bad Request"},
      {"0x10", "HTTP/1.1 400 Bad Request"},
      {"abc", "HTTP/1.1 400 Bad Request"},
      {"", "HTTP/1.1 400 Bad Request"},
      {"99999999999999999999999", "HTTP/1.1 413 Content Too Large"},
      {"18446744073709551616", "HTTP/1.1 413 Content Too Large"},
  };
  for (const auto& c : cases) {
    const std::string answer = RawExchange(
        server.port(), std::string("GET /?quickview=on HTTP/1.1\r\nHost: x\r\nContent-Length:") +
                           c.length + "\r\n\r\n");
    EXPECT_EQ(StatusLine(answer), c.status) << "Content-Length:" << c.length;
    EXPECT_EQ(AnswerHeads(answer), std::make_pair(size_t{1}, size_t{1}))
        << "Content-Length:" << c.length << "\n" << answer;
    EXPECT_NE(answer.find("Connection: close"), std::string::npos) << answer;
  }
}

TEST_F(HttpTest, AQueryOfThousandsOfParametersIsAnsweredAtOnce) {
  // Every parameter counts, not only the bytes: the last one decides.
  for (const size_t pieces : {1500u, 20000u}) {
    std::string query;
    for (size_t i = 0; i < pieces; ++i) query += "a&";
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = RawExchange(
        server.port(), "GET /?" + query + "name=Kim&pass=geh%E4im&quickview=on HTTP/1.1\r\n"
                       "Connection: close\r\n\r\n");
    EXPECT_EQ(StatusLine(answer), "HTTP/1.1 200 OK") << pieces << " pieces";
    EXPECT_NE(answer.find("\r\n\r\nKim\r\n"), std::string::npos) << pieces << " pieces";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  }
}

std::string Gunzip(const std::string& packed) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return "<no inflater>";
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  std::string out(1 << 20, '\0');
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  out.resize(out.size() - stream.avail_out);
  inflateEnd(&stream);
  return result == Z_STREAM_END && stream.avail_in == 0 ? out : "<broken gzip>";
}

TEST_F(HttpTest, AnswersInGzipWhenTheClientTakesIt) {
  for (int i = 0; i < 30; ++i) Get(ReportPath("m" + std::to_string(100 + i), "1.2.3.4:7777"));
  const std::string request =
      "GET /?pass=geh%E4im&quickview=on HTTP/1.1\r\nConnection: close\r\n";
  const std::string plain = RawExchange(server.port(), request + "\r\n");
  const std::string plainBody = plain.substr(plain.find("\r\n\r\n") + 4);
  ASSERT_GT(plainBody.size(), 1000u);
  const std::string pageRequest = "GET / HTTP/1.1\r\nConnection: close\r\n";
  const std::string page = RawExchange(server.port(), pageRequest + "\r\n");
  const std::string pageBody = page.substr(page.find("\r\n\r\n") + 4);

  const struct {
    const char* acceptEncoding;
    bool gzip;
  } cases[] = {
      {"gzip", true},
      {"deflate, gzip, br, zstd", true},  // what curl offers
      {"GZIP;q=0.5", true},
      {"x-gzip", true},
      {"gzip;q=0", false},
      {"gzip; q=0.000", false},
      {"br, deflate", false},
      {"gzipped", false},
      {"", false},
  };
  for (const auto& c : cases) {
    for (const auto& [ask, body] :
         {std::pair{request, plainBody}, std::pair{pageRequest, pageBody}}) {
      const std::string answer = RawExchange(
          server.port(), ask + "Accept-Encoding: " + c.acceptEncoding + "\r\n\r\n");
      const size_t headEnd = answer.find("\r\n\r\n");
      ASSERT_NE(headEnd, std::string::npos) << c.acceptEncoding;
      const std::string head = answer.substr(0, headEnd);
      const std::string got = answer.substr(headEnd + 4);
      EXPECT_EQ(StatusLine(answer), "HTTP/1.1 200 OK") << c.acceptEncoding;
      EXPECT_NE(head.find("Vary: Accept-Encoding"), std::string::npos) << head;
      EXPECT_EQ(head.find("Content-Encoding: gzip") != std::string::npos, c.gzip)
          << c.acceptEncoding;
      EXPECT_EQ(c.gzip ? Gunzip(got) : got, body) << c.acceptEncoding;
      if (c.gzip) {
        EXPECT_LT(got.size(), body.size() / 2) << c.acceptEncoding;
      }
    }
  }
  // A short answer goes as it is.
  const std::string refused = RawExchange(
      server.port(), "GET /?name=x&pass=no HTTP/1.1\r\nConnection: close\r\n"
                     "Accept-Encoding: gzip\r\n\r\n");
  EXPECT_EQ(refused.substr(refused.find("\r\n\r\n") + 4), "AUTH_FAILED!");
}

TEST_F(HttpTest, AnsweredConnectionsStayOpenForTheNextRequest) {
  const std::string request = "GET /?quickview=on HTTP/1.1\r\nHost: x\r\n\r\n";
  const std::string answers = RawExchange(server.port(), request + request + request);
  size_t count = 0;
  for (size_t at = 0; (at = answers.find("HTTP/1.1 200 OK\r\n", at)) != std::string::npos; ++at) {
    ++count;
  }
  EXPECT_EQ(count, 3u) << answers;
  EXPECT_EQ(answers.find("Connection: close"), std::string::npos) << answers;
}

TEST_F(HttpTest, RangeHeadersAreIgnored) {
  std::string ranges = "bytes=0-";
  for (int i = 0; i < 1300; ++i) ranges += ",0-";
  const auto whole = Get("/");
  const auto ranged = client.Get("/", {{"Range", ranges}});
  ASSERT_TRUE(whole && ranged);
  EXPECT_EQ(ranged->status, 200);
  EXPECT_EQ(ranged->body, whole->body);
}

TEST_F(HttpTest, ARequestMustArriveAndBeAnsweredWithinTheRequestTime) {
  // A client that sends one byte now and then is cut off at the deadline,
  // however busy it keeps the connection.
  const int trickling = clan::testing::ConnectFrom("127.0.0.1", server.port());
  ASSERT_GE(trickling, 0);
  const auto start = std::chrono::steady_clock::now();
  const std::string line = "GET /?quickview=on&pad=" + std::string(100, 'x');
  bool closed = false;
  for (size_t i = 0; i < line.size() && !closed; ++i) {
    send(trickling, &line[i], 1, MSG_NOSIGNAL);
    closed = clan::testing::ClosedWithin(trickling, std::chrono::milliseconds(200));
  }
  close(trickling);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(closed);
  EXPECT_GE(took, std::chrono::milliseconds(900));
  EXPECT_LE(took, std::chrono::milliseconds(2500));

  // Each answered request gives the connection the full time again.
  for (int i = 0; i < 3; ++i) {
    const auto result = Get("/?name=Kim&pass=geh%E4im&quickview=on");
    ASSERT_TRUE(result) << "request " << i << " on a connection of "
                        << (std::chrono::steady_clock::now() - start).count() / 1000000 << " ms";
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
  }
}

// A roster whose reports under one name wait until the test lets them go,
// as a store elsewhere does that is slow to answer.
class HeldUpRoster : public MemoryRoster {
 public:
  HeldUpRoster() : MemoryRoster({}) {}
  std::optional<Recorded> Report(const Member& member) override {
    if (member.name == "Slow") {
      std::unique_lock lock(mutex_);
      waiting_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return released_; });
    }
    return MemoryRoster::Report(member);
  }
  bool WaitUntilHeld() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [this] { return waiting_; });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool waiting_ = false;
  bool released_ = false;
};

TEST(HttpLimitsTest, AnAnswerThatWaitsForTheStoreHoldsUpNoOtherConnection) {
  auto stores = RosterStores{std::make_unique<HeldUpRoster>(),
                             std::make_unique<MemoryRoster>(RosterLimits{})};
  auto* held = static_cast<HeldUpRoster*>(stores.clan.get());
  // One event-loop thread: without the waiting threads, the slow report
  // would hold up every connection.
  LoopbackServer server{kConfig, {.threads = 1, .waitingThreads = 2}, std::move(stores)};
  std::thread slow([&] {
    RawExchange(server.port(), "GET /?name=Slow&pass=geh%E4im&quickview=on HTTP/1.1\r\n"
                               "Connection: close\r\n\r\n");
  });
  ASSERT_TRUE(held->WaitUntilHeld());
  const auto start = std::chrono::steady_clock::now();
  const std::string other = RawExchange(
      server.port(),
      "GET /?name=Kim&pass=geh%E4im&quickview=on HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(StatusLine(other), "HTTP/1.1 200 OK");
  EXPECT_NE(other.find("\r\n\r\nKim\r\n"), std::string::npos) << other;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  held->Release();
  slow.join();
  const auto log = server.LogLines();
  EXPECT_EQ(log.size(), 2u);
  EXPECT_NE(log.back().find("name=\"Slow\" -> 200 added"), std::string::npos)
      << log.back();
}

TEST(HttpLimitsTest, ConnectionsPerClientAddressAreCapped) {
  // One thread takes the connections in the order they were made, so the
  // fifth is the one turned away; with a pool, any of the five may be.
  LoopbackServer server{kConfig, {.connectionsPerAddress = 4, .threads = 1}};
  std::vector<int> held;
  for (int i = 0; i < 4; ++i) held.push_back(clan::testing::ConnectFrom("127.0.0.2", server.port()));
  const int fifth = clan::testing::ConnectFrom("127.0.0.2", server.port());
  EXPECT_TRUE(clan::testing::ClosedWithin(fifth, std::chrono::milliseconds(2000)));
  close(fifth);
  for (int fd : held) EXPECT_FALSE(clan::testing::ClosedWithin(fd, std::chrono::milliseconds(10)));

  const int fromElsewhere = clan::testing::ConnectFrom("127.0.0.3", server.port());
  const std::string request = "GET /?quickview=on HTTP/1.1\r\n\r\n";
  send(fromElsewhere, request.data(), request.size(), MSG_NOSIGNAL);
  std::string answer;
  clan::testing::ClosedWithin(fromElsewhere, std::chrono::milliseconds(500), &answer);
  EXPECT_EQ(StatusLine(answer), "HTTP/1.1 200 OK");
  close(fromElsewhere);
  for (int fd : held) close(fd);
}

TEST(HttpLimitsTest, ConnectionsBeyondTheTotalWaitForAFreePlace) {
  LoopbackServer server{kConfig, {.maxConnections = 16, .threads = 1}};
  std::vector<int> held;
  for (int i = 0; i < 16; ++i) {
    held.push_back(clan::testing::ConnectFrom("127.0.0." + std::to_string(2 + i % 4), server.port()));
  }
  const int beyond = clan::testing::ConnectFrom("127.0.0.9", server.port());
  const std::string request = "GET /?quickview=on HTTP/1.1\r\nConnection: close\r\n\r\n";
  send(beyond, request.data(), request.size(), MSG_NOSIGNAL);
  std::string answer;
  EXPECT_FALSE(clan::testing::ClosedWithin(beyond, std::chrono::milliseconds(300), &answer));
  EXPECT_EQ(answer, "");

  close(held.front());
  EXPECT_TRUE(clan::testing::ClosedWithin(beyond, std::chrono::milliseconds(2000), &answer));
  EXPECT_EQ(StatusLine(answer), "HTTP/1.1 200 OK");
  close(beyond);
  for (size_t i = 1; i < held.size(); ++i) close(held[i]);
}

TEST_F(HttpTest, ConcurrentReportsAreAllRecorded) {
  constexpr int kThreads = 8;
  constexpr int kReportsEach = 40;
  std::atomic<int> failures = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      httplib::Client own("127.0.0.1", server.port());
      own.set_url_encode(false);
      for (int i = 0; i < kReportsEach; ++i) {
        const auto name = "t" + std::to_string(t) + "_" + std::to_string(i);
        const auto result = own.Get(ReportPath(name, "1.2.3.4:7777"));
        if (!result || result->status != 200 ||
            result->body.find(name + "\r\n1.2.3.4:7777\r\n") == std::string::npos) {
          ++failures;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();

  EXPECT_EQ(failures, 0);
  const auto result = Get(ReportPath("last", "x"));
  ASSERT_TRUE(result);
  size_t lines = 0;
  for (size_t at = 0; (at = result->body.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 4u * (kThreads * kReportsEach + 1));
}

}  // namespace
}  // namespace clan
