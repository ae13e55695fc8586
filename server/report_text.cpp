#include "report_text.h"

#include <array>

namespace clan {

std::string CleanValue(std::string_view value) {
  std::string out(value.substr(0, kMaxValueBytes));
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return out;
}

std::string OnlineText(std::string_view server) {
  static constexpr std::array<std::string_view, 2> kMarks = {"<i>", "</i>"};
  std::string out(server);
  for (bool removed = true; removed;) {
    removed = false;
    for (std::string_view mark : kMarks) {
      for (size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at)) {
        out.erase(at, mark.size());
        removed = true;
      }
    }
  }
  return out;
}

bool IsOfflineReport(std::string_view server) { return OnlineText(server) == "offline"; }

}  // namespace clan
