// The memory figures of a running process, read from /proc: its resident
// size, its proportional share, and its resident memory mapping by mapping,
// grouped by what the mapping holds (a library, a font file, the heap,
// anonymous memory, shared memory), so two processes can be compared line by
// line. Sizes are in KiB, as the kernel gives them.
#pragma once
#include <map>
#include <string>
#include <sys/types.h>

namespace bench {

struct ProcessMemory {
  long vmRssKiB = -1;  // VmRSS of /proc/PID/status
  long rssKiB = -1;    // Rss of /proc/PID/smaps_rollup
  long pssKiB = -1;    // Pss of /proc/PID/smaps_rollup
};

ProcessMemory ReadProcessMemory(pid_t pid);

// Resident KiB per mapping group of /proc/PID/smaps.
std::map<std::string, long> ReadMappingGroups(pid_t pid);

// The group a mapping's path name falls into: a file by its name without
// the folder ("libQt6Gui.so.6.4.2", "DejaVuSans.ttf"), "[heap]", "[stack]",
// "[anonymous]" for nameless memory, "shared memory" for /dev/shm, memfd
// and SysV segments, the kernel's other [names] as they are.
std::string MappingGroup(const std::string& pathName);

// The resident memory of `a` and `b` group by group, largest difference
// first; groups that differ by less than `minKiB` are summed in one line.
std::string CompareGroups(const std::map<std::string, long>& a, const std::map<std::string, long>& b,
                          const std::string& nameA, const std::string& nameB, long minKiB);

}  // namespace bench
