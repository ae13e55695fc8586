#include "config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace clan {
namespace {

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::variant<ConfigFile, std::string> ReadConfigFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "cannot read config file " + path;
  struct stat info{};
  std::string text;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  char buffer[4096];
  for (ssize_t got; ok && (got = read(fd, buffer, sizeof buffer)) != 0;) {
    if (got < 0 || text.size() > (1 << 20)) ok = false;
    else text.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  if (!ok) return "cannot read config file " + path;

  ConfigFile out;
  out.readableByOthers = (info.st_mode & S_IROTH) != 0;
  int number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trim(line.substr(0, equals)).empty()) {
      return path + ":" + std::to_string(number) + ": expected key = value";
    }
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    out.entries.push_back({std::string(Trim(line.substr(0, equals))), std::string(value), number});
  }
  return out;
}

}  // namespace clan
