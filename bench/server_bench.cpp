// quavik-bench-server: how the clan server answers 1,000 clients at once.
//
// For each store (memory, then Redis) it starts the real server, lets wrk open
// 1,000 connections at once and keep them for the run, each one a client that
// reports under its own name (so the roster, and every answer, holds 1,000
// members) at random intervals of 1 s on average: far more often than a real
// client, which reports every 1 to 10 minutes. It prints requests per second,
// the latency of the answers (p50, p99, max), failed connections and error
// answers, and the server's peak memory; the last line is the worst p99.
// A third run starts with a full roster in Redis (`--full-roster` members,
// seeded, 10,000 by default) that the clients' new names meet: each report is
// turned away, and each answer holds the whole roster.
//
//   quavik-bench-server [--clients N] [--seconds S] [--interval-ms MS] [--full-roster N]
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "redis_server.h"

namespace {

// Each wrk thread plays its share of the clients. A client waits a random
// time (0 to twice the interval) before each report, so the reports come
// spread out as independent clients send them, not in lock step.
constexpr char kClientScript[] = R"(
local counter = 0
local members = tonumber(os.getenv("BENCH_MEMBERS"))
local threads = tonumber(os.getenv("BENCH_THREADS"))
local interval = tonumber(os.getenv("BENCH_INTERVAL_MS"))
local created = 0
function setup(thread)
  thread:set("id", created)
  created = created + 1
end
function init(args)
  math.randomseed(os.time() * 1000 + id)
end
function request()
  counter = counter + 1
  local name = "Spieler" .. id .. "_" .. (counter % math.max(1, math.floor(members / threads)))
  return wrk.format("GET", "/quavik.php?name=" .. name ..
    "&ip=Zephanor!&server=10.0.0.1:7777&map=TO-RapidWaters&pass=bench&quickview=on")
end
function delay()
  return math.random(0, 2 * interval)
end
function done(summary, latency, requests)
  io.write(string.format("RESULT requests=%d duration_us=%d p50_us=%d p99_us=%d max_us=%d " ..
    "connect=%d read=%d write=%d status=%d timeout=%d\n",
    summary.requests, summary.duration, latency:percentile(50), latency:percentile(99),
    latency.max, summary.errors.connect, summary.errors.read, summary.errors.write,
    summary.errors.status, summary.errors.timeout))
end
)";

struct Settings {
  int clients = 1000;
  int seconds = 20;
  int intervalMs = 1000;
  int fullRoster = 10000;
};

// One run: the store, and for a full roster, the members seeded up to the
// limit before the clients come.
struct Pass {
  std::string label;
  std::string store;
  int seeded = 0;
};

struct Figures {
  std::map<std::string, long long> values;  // from wrk's RESULT line
  long peakRssKiB = -1;
};

void RaiseOpenFileLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

long PeakRssKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
  }
  return -1;
}

// A seed file of `members` members, one line each.
std::filesystem::path WriteSeeds(int members) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("quavik_bench_seeds_" + std::to_string(getpid()) + ".txt");
  std::ofstream out(path);
  for (int i = 0; i < members; ++i) out << "Mitglied" << i << "|10.0.0.2:7777|TO-Verdict\n";
  return path;
}

// Starts the server on a free loopback port; its port, or -1.
pid_t StartServer(const Pass& pass, int clients, int& port) {
  const auto seeds = pass.seeded > 0 ? WriteSeeds(pass.seeded) : std::filesystem::path();
  int out[2];
  if (pipe(out) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    std::freopen("/dev/null", "w", stderr);  // one log line per request
    close(out[0]);
    setenv("QUAVIK_CLAN_PASS", "bench", 1);
    // wrk's clients all come from 127.0.0.1, as behind a reverse proxy.
    const std::string perAddress = std::to_string(clients + 100);
    std::vector<std::string> args = {QUAVIK_CLAN_SERVER_BIN, "--address", "127.0.0.1", "--port",
                                     "0", "--connections-per-address", perAddress,
                                     "--store", pass.store};
    if (pass.seeded > 0) {
      args.insert(args.end(), {"--max-members", std::to_string(pass.seeded), "--seed-file",
                               seeds.string()});
    }
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  FILE* lines = fdopen(out[0], "r");
  char line[256] = {};
  port = -1;
  if (std::fgets(line, sizeof line, lines)) {
    const std::string text = line;
    if (text.starts_with("listening on ")) port = std::atoi(text.substr(text.rfind(':') + 1).c_str());
  }
  std::fclose(lines);
  if (!seeds.empty()) std::filesystem::remove(seeds);
  return pid;
}

std::optional<Figures> Run(const Pass& pass, const Settings& settings,
                           const std::filesystem::path& script) {
  int port = -1;
  const pid_t server = StartServer(pass, settings.clients, port);
  if (port <= 0) {
    std::cerr << "the server did not start with --store " << pass.store << "\n";
    if (server > 0) kill(server, SIGKILL), waitpid(server, nullptr, 0);
    return std::nullopt;
  }
  const int threads = 2;
  setenv("BENCH_MEMBERS", std::to_string(settings.clients).c_str(), 1);
  setenv("BENCH_THREADS", std::to_string(threads).c_str(), 1);
  setenv("BENCH_INTERVAL_MS", std::to_string(settings.intervalMs).c_str(), 1);
  const std::string command = "wrk -t" + std::to_string(threads) + " -c" +
                              std::to_string(settings.clients) + " -d" +
                              std::to_string(settings.seconds) + "s --timeout 10s -s " +
                              script.string() + " http://127.0.0.1:" + std::to_string(port) +
                              "/ 2>&1";
  FILE* wrk = popen(command.c_str(), "r");
  std::optional<Figures> figures;
  char line[1024];
  while (wrk && std::fgets(line, sizeof line, wrk)) {
    std::string text = line;
    if (!text.starts_with("RESULT ")) continue;
    Figures parsed;
    std::istringstream fields(text.substr(7));
    for (std::string field; fields >> field;) {
      const size_t equals = field.find('=');
      if (equals != std::string::npos) {
        parsed.values[field.substr(0, equals)] = std::stoll(field.substr(equals + 1));
      }
    }
    figures = parsed;
  }
  if (wrk) pclose(wrk);
  if (figures) figures->peakRssKiB = PeakRssKiB(server);
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  if (!figures) std::cerr << "wrk gave no result (is wrk installed?)\n";
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  const char* usage = "Usage: quavik-bench-server [--clients N] [--seconds S] [--interval-ms MS] [--full-roster N]\n";
  for (int i = 1; i < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::cout << usage;
      return 0;
    }
    if (option != "--clients" && option != "--seconds" && option != "--interval-ms" && option != "--full-roster") {
      std::cerr << "quavik-bench-server: unknown option " << option << "\n" << usage;
      return 2;
    }
    const int value = i + 1 < argc ? std::atoi(argv[i + 1]) : 0;
    if (value <= 0) {
      std::cerr << "usage: quavik-bench-server [--clients N] [--seconds S] [--interval-ms MS] "
                   "[--full-roster N]\n";
      return 2;
    }
    if (option == "--clients") settings.clients = value;
    else if (option == "--seconds") settings.seconds = value;
    else if (option == "--interval-ms") settings.intervalMs = value;
    else if (option == "--full-roster") settings.fullRoster = value;
  }
  RaiseOpenFileLimit();
  signal(SIGPIPE, SIG_IGN);
  const auto script = std::filesystem::temp_directory_path() /
                      ("quavik_bench_clients_" + std::to_string(getpid()) + ".lua");
  std::ofstream(script) << kClientScript;

  std::cout << settings.clients << " clients, one connection each, each reporting under its own "
            << "name every " << settings.intervalMs << " ms on average, for " << settings.seconds
            << " s\n";
  clan::testing::RedisServer redis;
  double worstP99 = -1;
  bool allGood = true;
  const std::vector<Pass> passes = {
      {"memory", "memory"},
      {"redis", redis.Url(0)},
      {"redis, full roster of " + std::to_string(settings.fullRoster), redis.Url(1),
       settings.fullRoster}};
  for (const Pass& pass : passes) {
    const auto figures = Run(pass, settings, script);
    if (!figures) {
      allGood = false;
      continue;
    }
    auto value = [&](const char* key) {
      const auto found = figures->values.find(key);
      return found == figures->values.end() ? 0LL : found->second;
    };
    const double seconds = value("duration_us") / 1e6;
    const double p99 = value("p99_us") / 1000.0;
    const long long failed = value("connect");
    const long long errors = value("read") + value("write") + value("timeout") + value("status");
    std::printf("%s\n        %8.0f requests/s  p50 %6.2f ms  p99 %6.2f ms  max %7.2f ms  "
                "failed connections %lld  errors %lld  server peak RSS %.1f MB\n",
                pass.label.c_str(), seconds > 0 ? value("requests") / seconds : 0.0,
                value("p50_us") / 1000.0, p99, value("max_us") / 1000.0, failed, errors,
                figures->peakRssKiB / 1024.0);
    worstP99 = std::max(worstP99, p99);
    allGood = allGood && failed == 0 && errors == 0;
  }
  std::filesystem::remove(script);
  std::printf("p99 at %d clients: %.1f ms\n", settings.clients, worstP99);
  return allGood ? 0 : 1;
}
