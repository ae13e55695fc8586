// Times the scan behind every presence report (copy the game log to the
// working copy, find its last relevant line) against a plain `cp` of the same
// log, on a 200 MB log of realistic lines in a temporary directory. Like the
// scan, which replaces the working copy of the last report, cp replaces its
// copy of the last run; a cp onto a new file is shown for comparison. Each
// scan is a whole one: the log does not grow between them, which a scan
// would otherwise notice and copy nothing.
// The machine may be busy with other work, so the two are timed in adjacent
// pairs (taking turns at going first), each run after a sync, and the figure
// is the median of the pairs' ratios. The last line is "scan vs cp: <ratio>".
//
// With --append: a first scan of the log, then rounds of 4 KiB appended to
// it and a scan, which copies and reads only what was appended; against a
// whole scan of the same log (its working copy touched, so nothing of the
// last scan is trusted). The last line is "incremental scan after 4 KiB
// appended: <ms> ms, vs full scan: <ratio>".
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "presence/game_log_scanner.h"

namespace {

constexpr size_t kLogBytes = 200u << 20;
constexpr int kRuns = 9;

// A long game session: engine and script chatter, map changes now and then,
// the last map change about a megabyte before the end.
void WriteGameLog(const std::string& path) {
  const std::vector<std::string> chatter = {
      "Log: Bound to Engine.dll\r\n",
      "ScriptLog: TO_GameBasics.PostBeginPlay - Round 3 started, 12 players, timelimit 4\r\n",
      "Log: Collecting garbage\r\n",
      "Log: Purging garbage\r\n",
      "Log: Garbage: objects: 23345->23301; refs: 331272\r\n",
      "ScriptLog: s_SWAT.TO_PRI Kim killed Lee with TO_Weapon_MP5 (headshot)\r\n",
      "ScriptWarning: TO_Grenade TO-Rapid.TO_Grenade0 (Function Explode:0040) Accessed None\r\n",
      "Log: Possible network timeout, client 10.0.0.23:7778 idle for 2.41 seconds\r\n",
      "Log: Net: Channel 12 closed, reason: actor destroyed\r\n",
  };
  std::ofstream out(path, std::ios::binary);
  std::string block;
  size_t written = 0;
  size_t line = 0;
  bool lastMapWritten = false;
  while (written < kLogBytes) {
    block.clear();
    while (block.size() < (1u << 20)) {
      if (line % 50000 == 0 || (!lastMapWritten && written + block.size() > kLogBytes - (1u << 20))) {
        block += "Log: LoadMap: 203.0.113." + std::to_string(line % 250 + 1) +
                 ":7777/TO-Rapid?Name=Kim?Class=s_SWAT.s_Player_T?team=1?skin=Commando\r\n";
        lastMapWritten = written + block.size() > kLogBytes - (1u << 20);
      } else if (line % 170000 == 1) {
        block += "Exit: Exiting.\r\n";
      } else {
        block += chatter[line % chatter.size()];
      }
      ++line;
    }
    out.write(block.data(), std::streamsize(block.size()));
    written += block.size();
  }
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

template <typename F>
double Time(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return Seconds(std::chrono::steady_clock::now() - start);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Touches the working copy, so the next scan trusts nothing of the last one
// and copies and reads the whole log.
void ForgetLastScan(const QString& workingCopy) {
  ::utimensat(AT_FDCWD, QFile::encodeName(workingCopy).constData(), nullptr, 0);
}

// 4 KiB of complete lines, a map change among them now and then.
std::string AppendedChatter(int round) {
  std::string text;
  for (int line = 0; text.size() < 4096; ++line) {
    text += round % 3 == 0 && line == 5
                ? "Log: LoadMap: 203.0.113.7:7777/TO-Terrorists?Name=Kim?Class=s_SWAT.s_Player_T?team=0\r\n"
                : "Log: Possible network timeout, client 10.0.0.23:7778 idle for 2.41 seconds\r\n";
  }
  text.resize(4094);
  return text + "\r\n";
}

int AppendBench(const QString& log, const QString& workingCopy,
                const QString& userIni) {
  constexpr int kRounds = 15;
  std::optional<presence::PlayerLocation> found;
  const auto scan = [&] { found = presence::ScanGameLog(log, workingCopy, userIni, false); };
  const auto timed = [](auto&& f) {
    ::sync();
    return Time(f);
  };
  scan();  // the first scan: the whole log
  std::vector<double> incremental;
  std::vector<double> whole;
  for (int round = 0; round < kRounds; ++round) {
    {
      std::ofstream out(log.toStdString(), std::ios::binary | std::ios::app);
      const std::string more = AppendedChatter(round);
      out.write(more.data(), std::streamsize(more.size()));
    }
    incremental.push_back(timed(scan));
    if (round % 3 == 0) {
      ForgetLastScan(workingCopy);
      whole.push_back(timed(scan));
    }
  }
  if (!found || found->map != "TO-Terrorists") {
    std::fprintf(stderr, "scan did not find the appended map change\n");
    return 1;
  }
  std::printf("log: %zu MiB, %d rounds of 4 KiB appended\n", kLogBytes >> 20, kRounds);
  std::printf("found: %s on %s, map %s\n", qPrintable(found->name), qPrintable(found->server),
              qPrintable(found->map));
  std::printf("incremental scan: median %.3f ms, best %.3f ms\n", Median(incremental) * 1e3,
              *std::min_element(incremental.begin(), incremental.end()) * 1e3);
  std::printf("full scan: median %.3f s, best %.3f s\n", Median(whole),
              *std::min_element(whole.begin(), whole.end()));
  std::printf("incremental scan after 4 KiB appended: %.3f ms, vs full scan: %.5f\n",
              Median(incremental) * 1e3, Median(incremental) / Median(whole));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help" || first == "-h") {
    std::printf("Usage: quavik-bench-scan [--append]\n");
    return 0;
  }
  if (argc > 2 || (argc == 2 && first != "--append")) {
    std::fprintf(stderr, "quavik-bench-scan: unusable argument %s\nUsage: quavik-bench-scan [--append]\n",
                 argv[argc > 2 && first == "--append" ? 2 : 1]);
    return 2;
  }
  const bool append = first == "--append";
  QTemporaryDir dir;
  if (!dir.isValid()) {
    std::fprintf(stderr, "no temporary directory\n");
    return 1;
  }
  const QString log = dir.filePath("tacticalops.log");
  const QString workingCopy = dir.filePath("TacticalOps.sik");
  const QString userIni = dir.filePath("TOUser.ini");
  WriteGameLog(log.toStdString());
  if (append) return AppendBench(log, workingCopy, userIni);
  const std::string cpCommand = "cp '" + log.toStdString() + "' '" + dir.filePath("cp-copy.log").toStdString() + "'";

  std::optional<presence::PlayerLocation> found;
  const auto scan = [&] { found = presence::ScanGameLog(log, workingCopy, userIni, false); };
  const auto cp = [&] {
    if (std::system(cpCommand.c_str()) != 0) std::fprintf(stderr, "cp failed\n");
  };
  const QString freshTarget = dir.filePath("cp-new.log");
  const std::string cpFreshCommand = "cp '" + log.toStdString() + "' '" + freshTarget.toStdString() + "'";
  const auto cpFresh = [&] {
    if (std::system(cpFreshCommand.c_str()) != 0) std::fprintf(stderr, "cp failed\n");
  };
  scan();  // warm the page cache and create both copies once
  cp();

  // Each timed run starts with nothing left to write back from the one before.
  const auto timed = [](auto&& f) {
    ::sync();
    return Time(f);
  };
  std::vector<double> scanTimes;
  std::vector<double> cpTimes;
  std::vector<double> ratios;
  for (int run = 0; run < kRuns; ++run) {
    if (run % 2 == 0) {
      cpTimes.push_back(timed(cp));
      ForgetLastScan(workingCopy);
      scanTimes.push_back(timed(scan));
    } else {
      ForgetLastScan(workingCopy);
      scanTimes.push_back(timed(scan));
      cpTimes.push_back(timed(cp));
    }
    ratios.push_back(scanTimes.back() / cpTimes.back());
  }
  std::vector<double> cpFreshTimes;
  for (int run = 0; run < kRuns; ++run) {
    QFile::remove(freshTarget);
    cpFreshTimes.push_back(timed(cpFresh));
  }
  if (!found) {
    std::fprintf(stderr, "scan found no relevant line\n");
    return 1;
  }
  std::printf("log: %zu MiB, %d pairs\n", kLogBytes >> 20, kRuns);
  std::printf("found: %s on %s, map %s\n", qPrintable(found->name), qPrintable(found->server),
              qPrintable(found->map));
  std::printf("cp:   median %.3f s, best %.3f s\n", Median(cpTimes),
              *std::min_element(cpTimes.begin(), cpTimes.end()));
  std::printf("scan: median %.3f s, best %.3f s\n", Median(scanTimes),
              *std::min_element(scanTimes.begin(), scanTimes.end()));
  std::printf("cp onto a new file: median %.3f s, best %.3f s\n", Median(cpFreshTimes),
              *std::min_element(cpFreshTimes.begin(), cpFreshTimes.end()));
  std::printf("scan vs cp onto a new file: %.2f\n", Median(scanTimes) / Median(cpFreshTimes));
  std::printf("scan vs cp: %.2f\n", Median(ratios));
  return 0;
}
