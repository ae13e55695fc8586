// Finding a name: equal or a part, letter case and colour codes ignored, for
// names as both query readers decode them (Windows-1252, UTF-8, UCS-2).
#include "sweep/player_match.h"

#include <gtest/gtest.h>

#include "query/byte_reader.h"
#include "query/display_text.h"
#include "support/game_server_replies.h"

namespace {

const QString kColour = QString(QChar(0x1B)) + QChar(0xFF) + QChar(0x20) + QChar(0x20);

TEST(PlayerMatch, NamesAsPeopleReadThem) {
  struct Case {
    const char* what;
    QString wanted;
    QString name;
    bool contains;
    bool matches;
  } const cases[] = {
      {"same name", "Anna", "Anna", false, true},
      {"other case", "anna", "ANNA", false, true},
      {"a part is not the name", "Ann", "Anna", false, false},
      {"a part with contains", "nn", "Anna", true, true},
      {"a part in other case", "NN", "anna", true, true},
      {"not a part", "Bob", "Anna", true, false},
      {"German letters in other case", QString::fromUtf8("GRÖßE"), QString::fromUtf8("größe"), false, true},
      {"capital sharp s", QString::fromUtf8("STRAẞE"), QString::fromUtf8("straße"), false, true},
      {"Latin-1 accents", QString::fromUtf8("ÉLODIE"), QString::fromUtf8("élodie"), false, true},
      {"an accent is not its base letter", "Elodie", QString::fromUtf8("Élodie"), false, false},
      {"Greek", QString::fromUtf8("ΣΩΜΑ"), QString::fromUtf8("σωμα"), false, true},
      {"Cyrillic part", QString::fromUtf8("ЖУК"), QString::fromUtf8("[Clan]жук"), true, true},
      {"decomposed umlaut typed", QString::fromUtf8("A\u0308rger"), QString::fromUtf8("Ärger"), false, true},
      {"colour codes in the name", "RedBlue", kColour + "Red" + kColour + "Blue", false, true},
      {"blanks around the wanted name", "  Anna ", "Anna", false, true},
      {"blanks inside count", "An na", "Anna", false, false},
      {"clan tag with contains", "anna", "[QV]Anna", true, true},
      {"clan tag without contains", "anna", "[QV]Anna", false, false},
      {"empty wanted name", "", "Anna", true, false},
      {"blank wanted name", "   ", "Anna", true, false},
      {"empty player name", "Anna", "", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(sweep::NameMatches(c.wanted, c.name, c.contains), c.matches);
  }
}

// The bytes a server sends, decoded by the readers, are found by the name a
// user types.
TEST(PlayerMatch, NamesFromTheWire) {
  using testing_support::BinaryString;
  const QString wanted = QString::fromUtf8("jürgen");
  struct Case {
    const char* what;
    QString decoded;
  } const cases[] = {
      {"text query, Windows-1252", query::TextValue("J\xDCRGEN")},
      {"text query, UTF-8", query::TextValue("J\xC3\x9CRGEN")},
      {"binary query, 8-bit", query::ByteReader(BinaryString(QString::fromUtf8("JÜRGEN"), false)).String()},
      {"binary query, UCS-2 with colour",
       query::ByteReader(BinaryString(kColour + QString::fromUtf8("JÜRGEN"), true)).String()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(sweep::NameMatches(wanted, c.decoded, false)) << c.decoded.toStdString();
  }
}

}  // namespace
