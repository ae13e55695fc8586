// Opening URLs as typed by users, and redirects that end nowhere.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/net/internet.h"
#include "platform/net/url_canonical.h"
#include "support/loopback_http_server.h"

using namespace platform;
using httplib::Request;
using httplib::Response;
using testing_support::LoopbackHttpServer;

namespace {

TEST(CanonicalUrl, EncodesWhatAUrlCannotCarry) {
  const struct {
    std::string typed;
    std::string sent;
  } cases[] = {
      {"http://host/quavik script.php", "http://host/quavik%20script.php"},
      {"http://host/a.php?name=Kim Lee&x=1", "http://host/a.php?name=Kim%20Lee&x=1"},
      {"http://host/already%20encoded?a=%41", "http://host/already%20encoded?a=%41"},
      {"http://host/\xE4\t<\"{|}>\\^`\x7F", "http://host/%E4%09%3C%22%7B%7C%7D%3E%5C%5E%60%7F"},
      {"http://user:p@ss@host:8080/x?y=[1]#frag", "http://user:p@ss@host:8080/x?y=[1]#frag"},
      {std::string("a\0b", 3), "a%00b"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CanonicalUrl(c.typed), c.sent) << c.typed;
}

std::string Body(HttpResponse& response) {
  std::string body;
  char buffer[256];
  for (std::int64_t n; (n = response.Read(buffer, sizeof buffer)) > 0;) body.append(buffer, size_t(n));
  return body;
}

// A port nothing listens on: that of a server that has just stopped.
int ClosedPort() { return LoopbackHttpServer().Port(); }

class OpenUrl : public ::testing::Test {
 protected:
  std::unique_ptr<HttpResponse> Open(const std::string& url) {
    InternetOptions options;
    options.connectTimeoutMs = 3000;
    options.stallTimeoutMs = 3000;
    return InternetSession(options).OpenUrl(QString::fromLatin1(url.c_str()));
  }
  void RedirectTo(const std::string& location) {
    server.Handle("GET", "/start", [location](const Request&, Response& res) { res.set_redirect(location); });
  }
  LoopbackHttpServer server;
};

TEST_F(OpenUrl, BlanksInPathAndQueryAreSentEncoded) {
  server.Serve("/quavik script.php", "answer");
  const auto response = Open(server.Url("/quavik script.php?user=Kim Lee"));
  ASSERT_TRUE(response);
  EXPECT_EQ(response->Status(), 200);
  EXPECT_EQ(Body(*response), "answer");
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].target, "/quavik%20script.php?user=Kim%20Lee");
  EXPECT_EQ(server.Requests()[0].Param("user"), "Kim Lee");
}

TEST_F(OpenUrl, RedirectIsFollowedToTheFinalAnswer) {
  RedirectTo("/moved");
  server.Serve("/moved", "moved body");
  const auto response = Open(server.Url("/start"));
  ASSERT_TRUE(response);
  EXPECT_EQ(response->Status(), 200);
  EXPECT_EQ(Body(*response), "moved body");
}

// A redirect whose end can't be reached gives no answer at all (not the
// status of the redirect itself).
TEST_F(OpenUrl, RedirectThatEndsNowhereGivesNoAnswer) {
  const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x";
  const std::string loop = server.Url("/loop");
  server.Handle("GET", "/loop", [loop](const Request&, Response& res) { res.set_redirect(loop); });
  for (const std::string& target : {closed, std::string("http://clan.invalid/x"), loop,
                                    std::string("file:///etc/passwd"), server.Url("/ftp")}) {
    if (target == server.Url("/ftp"))
      server.Handle("GET", "/ftp", [](const Request&, Response& res) { res.set_redirect("ftp://127.0.0.1/x"); });
    RedirectTo(target);
    EXPECT_FALSE(Open(server.Url("/start"))) << target;
  }
}

TEST_F(OpenUrl, RedirectWithoutLocationIsTheAnswer) {
  server.Serve("/start", "no location", 302);
  const auto response = Open(server.Url("/start"));
  ASSERT_TRUE(response);
  EXPECT_EQ(response->Status(), 302);
}

}  // namespace
