#include "presence/browse_url.h"

namespace presence {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

BrowseUrl ParseBrowseUrl(std::string_view url) {
  BrowseUrl parts;
  const size_t question = url.find('?');
  if (question != std::string_view::npos) parts.options = url.substr(question + 1);
  const std::string_view target = url.substr(0, question);
  const size_t slash = target.find('/');
  if (slash != std::string_view::npos && slash > 0 && target[slash - 1] != ':') {
    parts.host = target.substr(0, slash);
  }
  return parts;
}

std::optional<std::string_view> BrowseOption(std::string_view options, std::string_view name) {
  while (true) {
    const size_t stop = options.find('?');
    const std::string_view option = options.substr(0, stop);
    const size_t equals = option.find('=');
    if (SameLetters(option.substr(0, equals), name)) {
      return equals == std::string_view::npos ? std::string_view{} : option.substr(equals + 1);
    }
    if (stop == std::string_view::npos) return std::nullopt;
    options.remove_prefix(stop + 1);
  }
}

}  // namespace presence
