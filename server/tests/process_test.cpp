// The built program itself, as a script or a test harness starts it.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

// Runs the server with `args`, stdout through a pipe, stderr into a file.
class ServerProcess {
 public:
  explicit ServerProcess(std::vector<std::string> args) {
    static int count = 0;
    stderrPath_ = std::filesystem::temp_directory_path() /
                  ("clan_server_stderr_" + std::to_string(getpid()) + "_" +
                   std::to_string(++count) + ".txt");
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      FILE* err = std::fopen(stderrPath_.c_str(), "w");
      if (err) dup2(fileno(err), STDERR_FILENO);
      close(out[0]);
      std::vector<char*> argv{const_cast<char*>(QUAVIK_CLAN_SERVER_BIN)};
      for (auto& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    stdout_ = fdopen(out[0], "r");
  }
  ~ServerProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (stdout_) std::fclose(stdout_);
    std::filesystem::remove(stderrPath_);
  }

  std::string ReadLine() {
    char line[1024];
    return std::fgets(line, sizeof line, stdout_) ? line : "";
  }
  std::string ReadRest() {
    std::string text;
    for (std::string line; !(line = ReadLine()).empty();) text += line;
    return text;
  }
  std::string Stderr() const {
    std::ifstream in(stderrPath_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Signal(int signal) { kill(pid_, signal); }
  // The exit code; -1 when the program did not exit normally, -2 when it
  // was still running after ten seconds (it is killed then).
  int Wait() {
    int status = 0;
    for (int waited = 0; waitpid(pid_, &status, WNOHANG) == 0; ++waited) {
      if (waited == 1000) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        exited_ = true;
        return -2;
      }
      usleep(10000);
    }
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  FILE* stdout_ = nullptr;
  std::filesystem::path stderrPath_;
};

TEST(ServerProcess, PrintsItsPortServesAndStopsCleanlyOnEitherSignal) {
  for (int signal : {SIGTERM, SIGINT}) {
    ServerProcess server({"--address", "127.0.0.1", "--port", "0", "--clan-pass", "geheim",
                          "--seed", "Demo|1.2.3.4:7777|TO-Rapid"});
    const std::string line = server.ReadLine();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, std::regex("listening on 127\\.0\\.0\\.1:(\\d+)\n")))
        << line;

    httplib::Client client("127.0.0.1", std::stoi(match[1]));
    const auto result = client.Get("/?name=Kim&server=a&map=b&pass=geheim&quickview=on");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body.substr(0, 20), "Demo\r\n1.2.3.4:7777\r\n");

    server.Signal(signal);
    EXPECT_EQ(server.Wait(), 0) << "signal " << signal;
    const std::string log = server.Stderr();
    EXPECT_NE(log.find("name=\"Kim\""), std::string::npos) << log;
    EXPECT_EQ(log.find("geheim"), std::string::npos) << log;
  }
}

TEST(ServerProcess, ExplainsItsCommandLine) {
  ServerProcess help({"--help"});
  EXPECT_NE(help.ReadRest().find("--offline-linger"), std::string::npos);
  EXPECT_EQ(help.Wait(), 0);

  ServerProcess wrong({"--port", "1"});
  EXPECT_EQ(wrong.ReadRest(), "");
  EXPECT_EQ(wrong.Wait(), 2);
  EXPECT_NE(wrong.Stderr().find("--clan-pass is required"), std::string::npos);
}

TEST(ServerProcess, ReportsAPortItCannotUse) {
  ServerProcess first({"--address", "127.0.0.1", "--port", "0", "--clan-pass", "x"});
  const std::string line = first.ReadLine();
  const std::string port = line.substr(line.rfind(':') + 1, line.size() - line.rfind(':') - 2);

  ServerProcess second({"--address", "127.0.0.1", "--port", port, "--clan-pass", "x"});
  EXPECT_EQ(second.Wait(), 1);
  EXPECT_NE(second.Stderr().find("cannot listen on 127.0.0.1:" + port), std::string::npos);
}

}  // namespace
