#include "server_options.h"

#include <charconv>
#include <fstream>

#include "config_file.h"
#include "redis_client.h"
#include "report_text.h"
#include "win1252.h"

namespace clan {
namespace {

constexpr char kReservedSeed[] =
    "the name AUTH_FAILED! can't be seeded: as the first record it logs every client out";

std::optional<long long> ParseNumber(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<std::string> ReadSeedFile(const std::string& path, std::vector<SeedMember>& seeds) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read seed file " + path;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    auto seed = ParseSeed(line);
    if (!seed) return path + ":" + std::to_string(number) + ": expected name|server|map";
    if (IsReservedName(CleanValue(seed->name))) {
      return path + ":" + std::to_string(number) + ": " + kReservedSeed;
    }
    seeds.push_back(std::move(*seed));
  }
  return std::nullopt;
}

// Applies one option with its value; an error text when the value is unusable.
std::optional<std::string> Apply(ServerOptions& options, std::string_view option,
                                 const std::string& value) {
  auto& limits = options.script.limits;
  if (option == "--address") {
    options.address = value;
  } else if (option == "--port") {
    const auto port = ParseNumber(value);
    if (!port || *port > 65535) return "invalid port: " + value;
    options.port = static_cast<int>(*port);
  } else if (option == "--clan-pass") {
    options.script.clanPassword = Utf8ToWin1252(value);
  } else if (option == "--master-pass") {
    options.script.masterPassword = Utf8ToWin1252(value);
  } else if (option == "--expire" || option == "--offline-linger") {
    const auto duration = ParseDuration(value);
    if (!duration) return "invalid duration for " + std::string(option) + ": " + value;
    (option == "--expire" ? limits.expire : limits.offlineLinger) = *duration;
  } else if (option == "--max-members") {
    const auto count = ParseNumber(value);
    if (!count || *count == 0) return "invalid member limit: " + value;
    limits.maxMembers = static_cast<size_t>(*count);
  } else if (option == "--connections-per-address") {
    const auto count = ParseNumber(value);
    if (!count || *count == 0 || *count > 1'000'000) return "invalid connection limit: " + value;
    options.http.connectionsPerAddress = static_cast<unsigned>(*count);
  } else if (option == "--max-connections") {
    const auto count = ParseNumber(value);
    if (!count || *count == 0 || *count > 1'000'000) return "invalid connection limit: " + value;
    options.http.maxConnections = static_cast<unsigned>(*count);
  } else if (option == "--threads") {
    const auto count = ParseNumber(value);
    if (!count || *count == 0 || *count > 256) return "invalid thread count: " + value;
    options.http.threads = static_cast<unsigned>(*count);
  } else if (option == "--store") {
    if (value != "memory" && !ParseRedisUrl(value)) {
      return "invalid store (expected memory or redis://HOST:PORT[/DB]): " + value;
    }
    options.store = value;
  } else if (option == "--seed") {
    auto seed = ParseSeed(value);
    if (!seed) return "invalid seed (expected name|server|map): " + value;
    if (IsReservedName(CleanValue(seed->name))) return kReservedSeed;
    options.seeds.push_back(std::move(*seed));
  } else if (option == "--seed-file") {
    return ReadSeedFile(value, options.seeds);
  } else {
    return "unknown option: " + std::string(option);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::chrono::seconds> ParseDuration(std::string_view text) {
  long long unit = 1;
  if (!text.empty() && (text.back() == 's' || text.back() == 'm' || text.back() == 'h')) {
    unit = text.back() == 'h' ? 3600 : text.back() == 'm' ? 60 : 1;
    text.remove_suffix(1);
  }
  const auto number = text.empty() ? std::nullopt : ParseNumber(text);
  if (!number || *number > 100LL * 365 * 24 * 3600 / unit) return std::nullopt;
  return std::chrono::seconds(*number * unit);
}

std::optional<SeedMember> ParseSeed(std::string_view text) {
  const std::string bytes = Utf8ToWin1252(text);
  const size_t first = bytes.find('|');
  const size_t second = first == std::string::npos ? first : bytes.find('|', first + 1);
  SeedMember seed;
  seed.name = bytes.substr(0, first);
  if (first != std::string::npos) seed.server = bytes.substr(first + 1, second - first - 1);
  if (second != std::string::npos) seed.map = bytes.substr(second + 1);
  if (seed.name.empty()) return std::nullopt;
  return seed;
}

std::variant<ServerOptions, std::string> ParseOptions(const std::vector<std::string>& args,
                                                      const Environment& environment) {
  ServerOptions options;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
  }
  std::vector<std::pair<std::string, std::string>> given;  // option, value
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view option = args[i];
    std::string value;
    if (const size_t equals = option.find('='); option.starts_with("--") && equals != option.npos) {
      value = std::string(option.substr(equals + 1));
      option = option.substr(0, equals);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return "missing value for " + std::string(option);
    }
    given.emplace_back(option, std::move(value));
  }

  bool clanPasswordGiven = false;
  // The config file first, then the environment, then the command line: a
  // later source overrides an earlier one, seeds add up.
  for (const auto& [option, path] : given) {
    if (option != "--config") continue;
    auto read = ReadConfigFile(path);
    if (const auto* error = std::get_if<std::string>(&read)) return *error;
    const ConfigFile& file = std::get<ConfigFile>(read);
    bool holdsPassword = false;
    for (const ConfigEntry& entry : file.entries) {
      const std::string where = path + ":" + std::to_string(entry.line) + ": ";
      if (entry.key == "config" || entry.key == "help") return where + "unknown key: " + entry.key;
      if (auto error = Apply(options, "--" + entry.key, entry.value)) return where + *error;
      holdsPassword |= entry.key == "clan-pass" || entry.key == "master-pass";
      clanPasswordGiven |= entry.key == "clan-pass";
    }
    if (holdsPassword && file.readableByOthers) {
      return path + " holds a password and other users can read it (chmod o-r " + path + ")";
    }
  }
  for (const auto& [variable, option] :
       {std::pair{"QUAVIK_CLAN_PASS", "--clan-pass"}, {"QUAVIK_MASTER_PASS", "--master-pass"}}) {
    const auto found = environment.find(variable);
    if (found == environment.end()) continue;
    Apply(options, option, found->second);
    clanPasswordGiven |= std::string_view(option) == "--clan-pass";
  }
  for (const auto& [option, value] : given) {
    if (option == "--config") continue;
    if (auto error = Apply(options, option, value)) return *error;
    if (option == "--clan-pass" || option == "--master-pass") {
      options.warnings.push_back(
          "warning: " + option +
          " on the command line can be read by every user of this machine; "
          "use a --config file or the environment instead");
    }
    clanPasswordGiven |= option == "--clan-pass";
  }
  if (!clanPasswordGiven) {
    return std::string(
        "a clan password is required: clan-pass in the --config file, QUAVIK_CLAN_PASS or "
        "--clan-pass (see --help)");
  }
  return options;
}

std::string HelpText() {
  return R"(Usage: quavik-clan-server [--config FILE] [options]

Answers the presence reports of Quavik clients on any path and keeps the clan
roster (and, with a master password, a separate master roster), in memory or
in Redis.

The passwords belong in the config file or the environment, where other users
of the machine can't see them:
  QUAVIK_CLAN_PASS      password of the clan reports
  QUAVIK_MASTER_PASS    password of the master reports
  --config FILE         one "key = value" per line, the keys being the options
                        below without their dashes (clan-pass = ..., port = ...);
                        # starts a comment. A file with a password must not be
                        readable by other users. The environment overrides the
                        file, the command line overrides both.

Options:
  --address ADDR        address to listen on (default 0.0.0.0)
  --port N              port to listen on; 0 picks a free port (default 8080)
  --clan-pass PW        password of the clan reports (required, from any
                        source; may be empty). Visible to every user here.
  --master-pass PW      password of the master reports (globalpost=on);
                        without it every master report is refused
  --expire DUR          drop a member that stopped reporting after DUR
                        (default 15m)
  --offline-linger DUR  show a member that logged out as "offline" for DUR,
                        then drop it (default 5m)
  --max-members N       most members kept per roster (default 10000)
  --store STORE         where the rosters are kept: memory (the default; a
                        restart starts empty) or redis://HOST:PORT[/DB], shared
                        by every server instance that names the same database
  --max-connections N   most connections at once (default 20000; each holds
                        about 16 KB)
  --threads N           threads serving the connections (default: one per
                        core)
  --connections-per-address N
                        most connections one client address may hold at once
                        (default 64); behind a reverse proxy every client has
                        the proxy's address, so raise it there
  --seed NAME|SERVER|MAP
                        put a member into the clan roster that never expires
                        (for a demo); repeatable. A real report under the same
                        name turns it into an ordinary member.
  --seed-file FILE      seed one member per line in the same form; blank lines
                        and lines starting with # are skipped
  -h, --help            show this text

DUR is a number of seconds, or a number followed by s, m or h.
Texts are UTF-8 on the command line and in the seed file.

Once listening it prints "listening on ADDRESS:PORT" on standard output.
Each request is logged as one line on standard error, without the password.
SIGINT or SIGTERM stops the server.

Without quickview=on a request answers an HTML page of the roster, which a
browser shows; the clan's website can link to it (add ?globalpost=on for the
master roster). That page needs no password and records nothing.
)";
}

}  // namespace clan
