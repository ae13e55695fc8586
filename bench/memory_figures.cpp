#include "memory_figures.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace bench {
namespace {

std::string ProcFile(pid_t pid, const char* name) { return "/proc/" + std::to_string(pid) + "/" + name; }

// The KiB of a "Key:   1234 kB" line, or -1 when the line is another key's.
long FieldKiB(const std::string& line, const std::string& key) {
  if (!line.starts_with(key)) return -1;
  return std::atol(line.c_str() + key.size());
}

}  // namespace

ProcessMemory ReadProcessMemory(pid_t pid) {
  ProcessMemory memory;
  std::ifstream status(ProcFile(pid, "status"));
  for (std::string line; std::getline(status, line);) {
    if (const long kib = FieldKiB(line, "VmRSS:"); kib >= 0) memory.vmRssKiB = kib;
  }
  std::ifstream rollup(ProcFile(pid, "smaps_rollup"));
  for (std::string line; std::getline(rollup, line);) {
    if (const long kib = FieldKiB(line, "Rss:"); kib >= 0) memory.rssKiB = kib;
    if (const long kib = FieldKiB(line, "Pss:"); kib >= 0) memory.pssKiB = kib;
  }
  return memory;
}

std::string MappingGroup(const std::string& pathName) {
  std::string path = pathName;
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  if (path.empty()) return "[anonymous]";
  if (path.starts_with("/dev/shm/") || path.starts_with("/memfd:") || path.starts_with("/SYSV")) {
    return "shared memory";
  }
  if (path.starts_with("[")) return path;
  return path.substr(path.rfind('/') + 1);
}

std::map<std::string, long> ReadMappingGroups(pid_t pid) {
  std::map<std::string, long> groups;
  std::ifstream smaps(ProcFile(pid, "smaps"));
  std::string group;
  for (std::string line; std::getline(smaps, line);) {
    std::istringstream fields(line);
    std::string first;
    fields >> first;
    if (first.ends_with(':')) {
      if (first == "Rss:") groups[group] += std::atol(line.c_str() + first.size());
      continue;
    }
    // "start-end perms offset device inode [path name]"
    std::string skip;
    fields >> skip >> skip >> skip >> skip;
    std::string pathName;
    std::getline(fields >> std::ws, pathName);
    group = MappingGroup(pathName);
  }
  return groups;
}

std::string CompareGroups(const std::map<std::string, long>& a, const std::map<std::string, long>& b,
                          const std::string& nameA, const std::string& nameB, long minKiB) {
  struct Row {
    std::string group;
    long a = 0;
    long b = 0;
  };
  std::vector<Row> rows;
  for (const auto& [group, kib] : a) rows.push_back({group, kib, 0});
  for (const auto& entry : b) {
    const auto& name = entry.first;
    auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.group == name; });
    if (row == rows.end()) rows.push_back({name, 0, entry.second});
    else row->b = entry.second;
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& x, const Row& y) { return x.a - x.b > y.a - y.b; });
  std::string text;
  char line[256];
  std::snprintf(line, sizeof line, "%-44s %10s %12s %10s\n", "mapping (resident KiB)", nameA.c_str(),
                nameB.c_str(), "difference");
  text += line;
  Row small{"(smaller differences)"};
  Row total{"total"};
  for (const Row& row : rows) {
    total.a += row.a;
    total.b += row.b;
    if (std::labs(row.a - row.b) < minKiB) {
      small.a += row.a;
      small.b += row.b;
      continue;
    }
    std::snprintf(line, sizeof line, "%-44.44s %10ld %12ld %+10ld\n", row.group.c_str(), row.a, row.b,
                  row.a - row.b);
    text += line;
  }
  for (const Row& row : {small, total}) {
    std::snprintf(line, sizeof line, "%-44s %10ld %12ld %+10ld\n", row.group.c_str(), row.a, row.b,
                  row.a - row.b);
    text += line;
  }
  return text;
}

}  // namespace bench
