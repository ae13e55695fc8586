// quavik-bench-server: what the clan server carries, side by side with nginx
// serving a file of the same size to the same clients on the same machine.
//
// Two kinds of runs, each for the server with the roster in memory, with the
// roster in Redis, and for nginx:
// - held connections: N clients (1,000, 10,000, 20,000), each on a connection
//   of its own that it keeps, together sending a fixed number of reports a
//   second (2,000, or 2,500 at 20,000), each client after a random pause, as
//   independent clients do. The roster holds `--members` names (1,000).
// - saturation: `--clients` connections sending reports back to back, with a
//   roster of 1,000 and of 10,000 members (the ones the clients don't report
//   under are seeded).
// wrk plays the clients. Each run prints requests per second, the latency of
// the answers (p50, p99, max), errors (failed connections, broken or timed
// out requests, error answers) and the peak memory of the server (of all
// nginx processes together). nginx runs as an unprivileged process with its
// own prefix, configuration, pid file and logs in a temporary directory, and
// serves the server's own answer of that run, fetched at its end.
//
//   quavik-bench-server [--seconds S] [--held N,N,...] [--rate R] [--members N]
//                       [--saturation M,M,...] [--clients N] [--gzip] [--no-nginx]
//
// `--held none` or `--saturation none` skips that kind; `--rate` sets the
// report rate of every held run; `--gzip` makes the clients ask for gzip
// (and nginx serves the answer compressed ahead).
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "loopback.h"
#include "redis_server.h"

namespace {

namespace fs = std::filesystem;

// Each wrk thread plays its share of the clients, and reports under its
// share of the members' names in turn. With an interval, a client waits a
// random time before each report: 0 to the interval before its first, so
// that the clients start spread out, then 3/4 to 5/4 of it, so that no
// client stays silent past the server's 10 s cut.
constexpr char kClientScript[] = R"(
local counter = 0
local members = tonumber(os.getenv("BENCH_MEMBERS"))
local threads = tonumber(os.getenv("BENCH_THREADS"))
local interval = tonumber(os.getenv("BENCH_INTERVAL_MS"))
local gzip = os.getenv("BENCH_GZIP") == "1"
local connections = tonumber(os.getenv("BENCH_CONNECTIONS"))
local delays = 0
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
  local headers = {}
  if gzip then headers["Accept-Encoding"] = "gzip" end
  return wrk.format("GET", "/quavik.php?name=" .. name ..
    "&ip=Zephanor!&server=10.0.0.1:7777&map=TO-RapidWaters&pass=bench&quickview=on", headers)
end
if interval > 0 then
  function delay()
    delays = delays + 1
    if delays <= connections / threads then return math.random(0, interval) end
    return math.random(math.floor(interval * 3 / 4), math.floor(interval * 5 / 4))
  end
end
function done(summary, latency, requests)
  io.write(string.format("RESULT requests=%d duration_us=%d p50_us=%d p99_us=%d max_us=%d " ..
    "connect=%d read=%d write=%d status=%d timeout=%d\n",
    summary.requests, summary.duration, latency:percentile(50), latency:percentile(99),
    latency.max, summary.errors.connect, summary.errors.read, summary.errors.write,
    summary.errors.status, summary.errors.timeout))
end
)";

constexpr int kWrkThreads = 2;

struct Settings {
  int seconds = 20;
  std::vector<int> held = {1000, 10000, 20000};
  int rate = 0;  // 0: 2,000 a second, 2,500 from 20,000 connections on
  int members = 1000;
  std::vector<int> saturation = {1000, 10000};
  int clients = 1000;
  bool gzip = false;
  bool nginx = true;
};

struct Figures {
  std::map<std::string, long long> values;  // from wrk's RESULT line
  double peakRssMiB = -1;

  long long Value(const char* key) const {
    const auto found = values.find(key);
    return found == values.end() ? 0 : found->second;
  }
  double Rate() const {
    return Value("duration_us") > 0 ? Value("requests") * 1e6 / Value("duration_us") : 0;
  }
  long long Errors() const {
    return Value("connect") + Value("read") + Value("write") + Value("timeout") + Value("status");
  }
};

// One run: what serves, how many connections, how often they report.
struct Run {
  std::string target;  // "memory", "redis" or "nginx"
  int connections = 0;
  int intervalMs = 0;  // 0: back to back
  int members = 0;     // names in the roster
  int reporting = 0;   // of them, the names the clients report under
};

// Raises the open files to the hard limit (past it where allowed); the
// limit reached, which the server, wrk and nginx inherit.
rlim_t RaiseOpenFileLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  const rlimit wanted{1 << 17, std::max<rlim_t>(limit.rlim_max, 1 << 17)};
  if (setrlimit(RLIMIT_NOFILE, &wanted) != 0) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
  getrlimit(RLIMIT_NOFILE, &limit);
  return limit.rlim_cur;
}

long StatusKiB(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(field + ":")) return std::stol(line.substr(field.size() + 1));
  }
  return 0;
}

// The peak memory of `pid` and of its children (nginx's workers).
double PeakRssMiB(pid_t pid) {
  long kib = StatusKiB(pid, "VmHWM");
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(line.substr(close + 2));
    std::string state;
    pid_t parent = 0;
    fields >> state >> parent;
    if (parent == pid) kib += StatusKiB(std::stoi(name), "VmHWM");
  }
  return kib / 1024.0;
}

rlim_t OpenFileLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  return limit.rlim_cur;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

pid_t Spawn(const std::vector<std::string>& args, int stdoutFd,
            const std::function<void()>& before = {}) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (stdoutFd >= 0) dup2(stdoutFd, STDOUT_FILENO);
    std::freopen("/dev/null", "w", stderr);  // the server logs a line per request
    if (before) before();
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

// The clan server on a free loopback port; its pid, and its port (-1 when
// it did not start).
pid_t StartServer(const Run& run, const std::string& store, const fs::path& work, int& port) {
  const int seeded = run.members - run.reporting;
  const fs::path seeds = work / "seeds.txt";
  {
    std::ofstream out(seeds);
    for (int i = 0; i < seeded; ++i) out << "Mitglied" << i << "|10.0.0.2:7777|TO-Verdict\n";
  }
  int out[2];
  if (pipe(out) != 0) return -1;
  setenv("QUAVIK_CLAN_PASS", "bench", 1);
  // wrk's clients all come from 127.0.0.1, as behind a reverse proxy.
  const std::string connections = std::to_string(run.connections * 2);
  const pid_t pid = Spawn({QUAVIK_CLAN_SERVER_BIN, "--address", "127.0.0.1", "--port", "0",
                           "--connections-per-address", connections, "--max-connections",
                           connections, "--max-members", std::to_string(run.members + 100),
                           "--store", store, "--seed-file", seeds.string()},
                          out[1]);
  close(out[1]);
  FILE* lines = fdopen(out[0], "r");
  char line[256] = {};
  port = -1;
  if (std::fgets(line, sizeof line, lines)) {
    const std::string text = line;
    if (text.starts_with("listening on ")) {
      port = std::atoi(text.substr(text.rfind(':') + 1).c_str());
    }
  }
  std::fclose(lines);
  return pid;
}

// nginx serving `answer` for any path on a free loopback port, from a prefix
// of its own under `work`, as an unprivileged user when started by root.
pid_t StartNginx(const std::string& answer, int connections, bool gzip, const fs::path& work,
                 int& port) {
  const fs::path prefix = work / "nginx";
  fs::create_directories(prefix / "html");
  fs::create_directories(prefix / "tmp");
  std::ofstream(prefix / "html" / "answer.txt", std::ios::binary) << answer;
  if (gzip) {
    std::system(("gzip -1 -k -f " + (prefix / "html" / "answer.txt").string()).c_str());
  }
  port = clan::testing::FreeLoopbackPort();
  std::ofstream(prefix / "nginx.conf") << "worker_processes " << kWrkThreads << ";\n"
      << "worker_rlimit_nofile " << OpenFileLimit() << ";\n"
      << "pid " << (prefix / "nginx.pid").string() << ";\n"
      << "error_log " << (prefix / "error.log").string() << ";\n"
      << "events { worker_connections " << connections + 1000 << "; }\n"
      // The server's own cut: a request within 10 s of the connection
      // opening or of the previous answer.
      << "http {\n  access_log off;\n  keepalive_requests 100000000;\n  keepalive_timeout 10s;\n"
      << "  client_header_timeout 10s;\n  send_timeout 10s;\n"
      << "  client_body_temp_path " << (prefix / "tmp").string() << ";\n"
      << "  proxy_temp_path " << (prefix / "tmp").string() << ";\n"
      << "  fastcgi_temp_path " << (prefix / "tmp").string() << ";\n"
      << "  uwsgi_temp_path " << (prefix / "tmp").string() << ";\n"
      << "  scgi_temp_path " << (prefix / "tmp").string() << ";\n"
      << "  server {\n    listen 127.0.0.1:" << port << " backlog=65535;\n"
      << "    root " << (prefix / "html").string() << ";\n"
      << (gzip ? "    gzip_static on;\n" : "")
      << "    location / { default_type \"text/plain; charset=windows-1252\"; "
      << "try_files /answer.txt =404; }\n  }\n}\n";
  const bool root = geteuid() == 0;
  if (root) {
    for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
      chown(entry.path().c_str(), 65534, 65534);
    }
    chown(prefix.c_str(), 65534, 65534);
    chmod(work.c_str(), 0755);
  }
  const pid_t pid = Spawn({"nginx", "-p", prefix.string(), "-c", (prefix / "nginx.conf").string(),
                           "-g", "daemon off;"},
                          -1, [root] {
                            if (root && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(126);
                          });
  // Ready once it answers.
  for (int i = 0; i < 50; ++i) {
    if (clan::testing::RawExchange(port, "GET / HTTP/1.0\r\n\r\n").starts_with("HTTP/1.1 200")) {
      return pid;
    }
    usleep(100'000);
  }
  Stop(pid);
  port = -1;
  return -1;
}

std::optional<Figures> RunWrk(const Run& run, int port, const Settings& settings,
                              const fs::path& script) {
  setenv("BENCH_MEMBERS", std::to_string(run.reporting).c_str(), 1);
  setenv("BENCH_THREADS", std::to_string(kWrkThreads).c_str(), 1);
  setenv("BENCH_INTERVAL_MS", std::to_string(run.intervalMs).c_str(), 1);
  setenv("BENCH_GZIP", settings.gzip ? "1" : "0", 1);
  setenv("BENCH_CONNECTIONS", std::to_string(run.connections).c_str(), 1);
  const std::string command = "wrk -t" + std::to_string(kWrkThreads) + " -c" +
                              std::to_string(run.connections) + " -d" +
                              std::to_string(settings.seconds) + "s --timeout 10s -s " +
                              script.string() + " http://127.0.0.1:" + std::to_string(port) +
                              "/ 2>&1";
  FILE* wrk = popen(command.c_str(), "r");
  std::optional<Figures> figures;
  char line[1024];
  while (wrk && std::fgets(line, sizeof line, wrk)) {
    const std::string text = line;
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
  if (!figures) std::cerr << "wrk gave no result (is wrk installed?)\n";
  return figures;
}

// The server's answer as a client that reports nothing gets it.
std::string FetchAnswer(int port) {
  const std::string answer = clan::testing::RawExchange(
      port, "GET /quavik.php?pass=bench&quickview=on HTTP/1.1\r\nConnection: close\r\n\r\n");
  const size_t body = answer.find("\r\n\r\n");
  return body == std::string::npos ? std::string() : answer.substr(body + 4);
}

void Print(const std::string& label, const Run& run, const Figures& figures) {
  std::printf("%-34s %-7s %8.0f/s  p50 %7.2f ms  p99 %7.2f ms  max %8.2f ms  errors %6lld "
              "(connect %lld read %lld write %lld timeout %lld status %lld)  RSS %7.1f MB  "
              "load %s\n",
              label.c_str(), run.target.c_str(), figures.Rate(), figures.Value("p50_us") / 1000.0,
              figures.Value("p99_us") / 1000.0, figures.Value("max_us") / 1000.0,
              figures.Errors(), figures.Value("connect"), figures.Value("read"),
              figures.Value("write"), figures.Value("timeout"), figures.Value("status"),
              figures.peakRssMiB, LoadAverage().c_str());
  std::fflush(stdout);
}

// Runs one scenario for both stores and nginx; the figures by target.
std::map<std::string, Figures> Scenario(const std::string& label, Run run, const Settings& settings,
                                        clan::testing::RedisServer& redis, int& database,
                                        const fs::path& work, const fs::path& script) {
  std::map<std::string, Figures> out;
  std::string answer;
  std::vector<std::string> targets = {"memory", "redis"};
  if (settings.nginx) targets.push_back("nginx");
  for (const std::string& target : targets) {
    run.target = target;
    int port = -1;
    pid_t pid = -1;
    if (target == "nginx") {
      if (answer.empty()) continue;
      pid = StartNginx(answer, run.connections, settings.gzip, work, port);
    } else {
      const std::string store = target == "memory" ? "memory" : redis.Url(++database % 16);
      pid = StartServer(run, store, work, port);
    }
    if (port <= 0) {
      std::cerr << label << ": " << target << " did not start\n";
      Stop(pid);
      continue;
    }
    auto figures = RunWrk(run, port, settings, script);
    if (figures) {
      figures->peakRssMiB = PeakRssMiB(pid);
      if (target == "memory") answer = FetchAnswer(port);
      Print(label, run, *figures);
      out[target] = *figures;
    }
    Stop(pid);
  }
  if (!answer.empty()) std::printf("%-34s answer %zu bytes\n", label.c_str(), answer.size());
  return out;
}

std::optional<std::vector<int>> ParseList(const std::string& text) {
  std::vector<int> out;
  if (text == "none") return out;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    const int value = std::atoi(item.c_str());
    if (value <= 0) return std::nullopt;
    out.push_back(value);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  const char* usage =
      "Usage: quavik-bench-server [--seconds S] [--held N,N,...|none] [--rate R] [--members N]\n"
      "                           [--saturation M,M,...|none] [--clients N] [--gzip]\n"
      "                           [--no-nginx]\n";
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const std::string value = i + 1 < argc ? argv[i + 1] : "";
    if (option == "--help" || option == "-h") {
      std::cout << usage;
      return 0;
    }
    if (option == "--gzip") {
      settings.gzip = true;
      continue;
    }
    if (option == "--no-nginx") {
      settings.nginx = false;
      continue;
    }
    ++i;
    if (option == "--held" || option == "--saturation") {
      const auto list = ParseList(value);
      if (!list) {
        std::cerr << "quavik-bench-server: invalid list for " << option << ": " << value << "\n";
        return 2;
      }
      (option == "--held" ? settings.held : settings.saturation) = *list;
      continue;
    }
    const int number = std::atoi(value.c_str());
    if (number <= 0) {
      std::cerr << "quavik-bench-server: invalid option or value: " << option << " " << value
                << "\n" << usage;
      return 2;
    }
    if (option == "--seconds") settings.seconds = number;
    else if (option == "--rate") settings.rate = number;
    else if (option == "--members") settings.members = number;
    else if (option == "--clients") settings.clients = number;
    else {
      std::cerr << "quavik-bench-server: unknown option " << option << "\n" << usage;
      return 2;
    }
  }
  // Each side of a connection is an open file of its process: wrk's and the
  // server's. Where the limit is lower than a run's connections, the run
  // takes what it allows, with room to spare: the HTTP layer shares its
  // connections among its threads, and a thread at its share closes the
  // connections it accepts beyond it.
  const int fileLimit = static_cast<int>(std::min<rlim_t>(RaiseOpenFileLimit(), 1 << 20));
  const int mostConnections = fileLimit - std::max(200, fileLimit / 20);
  signal(SIGPIPE, SIG_IGN);
  char pattern[] = "/tmp/quavik_bench_XXXXXX";
  if (!mkdtemp(pattern)) {
    std::cerr << "quavik-bench-server: no temporary directory\n";
    return 1;
  }
  const fs::path work = pattern;
  const fs::path script = work / "clients.lua";
  std::ofstream(script) << kClientScript;

  std::printf("%d s a run, %s, %ld cores, open files %d, load %s\n", settings.seconds,
              settings.gzip ? "clients ask for gzip" : "plain answers",
              sysconf(_SC_NPROCESSORS_ONLN), fileLimit, LoadAverage().c_str());
  clan::testing::RedisServer redis;
  int database = 0;
  bool allGood = true;
  const auto check = [&](const std::map<std::string, Figures>& figures) {
    for (const auto& [target, figure] : figures) allGood = allGood && figure.Errors() == 0;
  };
  for (const int wanted : settings.held) {
    const int connections = std::min(wanted, mostConnections);
    const int rate = settings.rate > 0 ? settings.rate : wanted >= 20000 ? 2500 : 2000;
    const Run run{"", connections, std::max(1, connections * 1000 / rate), settings.members,
                  settings.members};
    const std::string label = "held " + std::to_string(connections) + " at " +
                              std::to_string(rate) + "/s, " + std::to_string(settings.members) +
                              " members";
    check(Scenario(label, run, settings, redis, database, work, script));
  }
  for (const int members : settings.saturation) {
    const int reporting = std::min(members, settings.members);
    const Run run{"", settings.clients, 0, members, reporting};
    const std::string label = "saturation, " + std::to_string(settings.clients) + " conns, " +
                              std::to_string(members) + " members";
    const auto figures = Scenario(label, run, settings, redis, database, work, script);
    check(figures);
    const auto rate = [&](const char* target) {
      const auto found = figures.find(target);
      return found == figures.end() ? 0.0 : found->second.Rate();
    };
    if (rate("nginx") > 0 && rate("memory") > 0) {
      std::printf("%-34s memory/nginx %.2f  redis/memory %.2f\n", label.c_str(),
                  rate("memory") / rate("nginx"), rate("redis") / rate("memory"));
    }
  }
  fs::remove_all(work);
  return allGood ? 0 : 1;
}
