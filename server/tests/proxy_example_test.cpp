// The nginx site shipped as an example is one nginx accepts: checked with the
// packaged nginx (skipped where it isn't installed) and a certificate made
// for the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// Runs `command` through the shell; its exit status and what it printed.
std::pair<int, std::string> RunShell(const std::string& command) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return {-1, ""};
  std::string output;
  char buffer[512];
  while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
  return {pclose(pipe), output};
}

TEST(NginxExample, IsASiteNginxAccepts) {
  const fs::path nginx = "/usr/sbin/nginx";
  if (!fs::exists(nginx)) GTEST_SKIP() << "nginx is not installed";
  const fs::path dir = fs::temp_directory_path() / ("clan_nginx_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string tmp = dir.string();

  const auto [made, openssl] =
      RunShell("openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=clan.example.org"
          " -keyout '" + tmp + "/privkey.pem' -out '" + tmp + "/fullchain.pem'");
  ASSERT_EQ(made, 0) << openssl;

  std::string site = ReadFile(fs::path(QUAVIK_CLAN_SERVER_SOURCE_DIR) / "clan-server.nginx.example");
  ASSERT_NE(site.find("/etc/letsencrypt/live/clan.example.org/"), std::string::npos);
  ReplaceAll(site, "/etc/letsencrypt/live/clan.example.org/", tmp + "/");
  ReplaceAll(site, "/var/log/nginx/", tmp + "/");
  std::ofstream(dir / "site.conf") << site;
  std::ofstream(dir / "nginx.conf") << "pid " << tmp << "/nginx.pid;\nerror_log " << tmp
                                    << "/error.log;\nevents {}\nhttp {\n  include " << tmp
                                    << "/site.conf;\n}\n";

  const auto [checked, output] =
      RunShell(nginx.string() + " -t -p '" + tmp + "' -c '" + tmp + "/nginx.conf'");
  EXPECT_EQ(checked, 0) << output;
  EXPECT_NE(output.find("syntax is ok"), std::string::npos) << output;
  fs::remove_all(dir);
}

}  // namespace
