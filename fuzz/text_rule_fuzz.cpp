// The program's text-file reading rule on any bytes: the splitter and the
// block reader over a file must agree line for line, and the plain-text
// reading must not go beyond its input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include <QString>

#include "platform/os/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> split = platform::SplitTextLines(bytes);

  static const std::string path = "/tmp/quavik-text-rule-fuzz-" + std::to_string(::getpid());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  platform::TextLineReader reader;
  if (!reader.Open(QString::fromStdString(path))) return 0;
  std::string line;
  size_t i = 0;
  while (reader.Next(line)) {
    if (i >= split.size() || split[i] != line) std::abort();
    ++i;
  }
  if (i != split.size()) std::abort();
  (void)platform::ReadPlainTextLines(QString::fromStdString(path));
  return 0;
}
