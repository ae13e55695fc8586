#include "game/server_address.h"

#include <array>

namespace game {
namespace {

// Value of one address part, or -1 when it is empty, holds anything but the
// digits 0-9, or is not written in its shortest form of at most three digits.
int PartValue(QStringView part) {
  if (part.isEmpty() || part.size() > 3) return -1;
  int value = 0;
  for (const QChar c : part) {
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c.unicode() - u'0');
  }
  if (part.size() > 1 && part.front() == u'0') return -1;
  return value;
}

}  // namespace

bool IsValidServerIP(const QString& text, bool allowBroadcast) {
  QStringView rest(text);
  const qsizetype colon = rest.indexOf(u':');
  if (colon >= 0) rest = rest.left(colon);

  std::array<int, 4> values{};
  for (int i = 0; i < 4; ++i) {
    const qsizetype dot = i < 3 ? rest.indexOf(u'.') : rest.size();
    if (dot < 0) return false;
    values[i] = PartValue(rest.left(dot));
    if (values[i] < 0 || values[i] > 255) return false;
    rest = rest.mid(dot + (i < 3 ? 1 : 0));
  }
  const bool broadcast = values[0] == 255 && values[1] == 255 && values[2] == 255 && values[3] > 0;
  if (!allowBroadcast && broadcast) return false;
  return values != std::array<int, 4>{0, 0, 0, 0};
}

}  // namespace game
