// The server address check and the favourites splitter on any text. An
// address the check takes must be a dotted IPv4 address; a split favourite
// is made of pieces of its value.
#include <cstdint>
#include <cstdlib>

#include <QString>
#include <QStringList>

#include "game/server_address.h"
#include "game/server_bookmarks.h"
#include "platform/text/cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = platform::FromCp1252(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const bool broadcast : {false, true}) {
    if (!game::IsValidServerIP(text, broadcast)) continue;
    const QStringList parts = text.section(QLatin1Char(':'), 0, 0).split(QLatin1Char('.'));
    if (parts.size() != 4) std::abort();
    for (const QString& part : parts) {
      bool ok = false;
      const int n = part.toInt(&ok, 10);
      if (!ok || n < 0 || n > 255 || part != QString::number(n)) std::abort();
    }
  }
  const game::Favorite favorite = game::SplitFavorite(text);
  if (!text.contains(favorite.name) || !text.contains(favorite.address)) std::abort();
  return 0;
}
