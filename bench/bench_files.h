// The FTP download and file copy benchmarks of quavik-bench-transfer.
#pragma once
#include <cstdint>

namespace bench {

// FTP download of `sizeMiB` from a loopback FTP server, through the
// component and through curl; best of `rounds`. 0 when both copied the
// body intact.
int RunFtpBench(std::int64_t sizeMiB, int rounds);
// File copy of `sizeMiB` through the component and through cp.
int RunCopyBench(std::int64_t sizeMiB, int rounds);

}  // namespace bench
