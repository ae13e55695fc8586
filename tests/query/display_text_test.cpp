// Names and values as servers send them, made fit to show: what a broken
// UCS-2 string, a terminal control or a direction override becomes, through
// each of the readers' decodings, and that the answer so read is strict JSON.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "query/internal/binary_reply.h"
#include "query/byte_reader.h"
#include "query/display_text.h"
#include "support/game_server_replies.h"

namespace {

using namespace testing_support;

QString Units(std::initializer_list<char16_t> units) {
  QString text;
  for (char16_t u : units) text.append(QChar(u));
  return text;
}

QString Ucs2Read(const QString& sent) {
  const std::string bytes = BinaryString(sent, true);
  query::ByteReader in(bytes);
  const QString read = in.String();
  EXPECT_FALSE(in.Failed());
  return read;
}

TEST(DisplayText, WhatServersSendShowsAsWhatItIs) {
  const QString replacement(QChar(0xFFFD));
  struct Case {
    const char* name;
    QString read;
    QString shown;
  } const cases[] = {
      {"UCS-2 lone high surrogate", Ucs2Read(Units({'A', 0xD800, 'B'})), "A" + replacement + "B"},
      {"UCS-2 lone low surrogate at the end", Ucs2Read(Units({'A', 'B', 0xDC00})), "AB" + replacement},
      {"UCS-2 surrogates in the wrong order", Ucs2Read(Units({0xDC00, 0xD800})), replacement + replacement},
      {"UCS-2 pair kept", Ucs2Read(Units({'x', 0xD83D, 0xDE00})), QString::fromUtf8("x😀")},
      {"UCS-2 terminal control sequence introducer", Ucs2Read(Units({0x9B, '3', '1', 'm', 'R'})), "31mR"},
      {"UCS-2 right-to-left override", Ucs2Read(Units({'a', 'b', 0x202E, 'e', 'x', 'e'})), "abexe"},
      {"UCS-2 embeddings and isolates", Ucs2Read(Units({0x202A, 'a', 0x202C, 0x2066, 'b', 0x2069, 0x2067, 0x2068})),
       "ab"},
      {"UCS-2 DEL, NEL and line separator", Ucs2Read(Units({'a', 0x7F, 0x85, 0x2028, 'b', 0x2029})), "ab"},
      {"UCS-2 noncharacters", Ucs2Read(Units({0xFFFE, 0xFDD0, 0xFFFF, 0xD83F, 0xDFFF})),
       replacement + replacement + replacement + replacement},
      {"UCS-2 ordinary text kept", Ucs2Read(QString::fromUtf8("Ωmega ☠ «Ä»")), QString::fromUtf8("Ωmega ☠ «Ä»")},
      {"8-bit byte without a character and DEL", query::Cp1252Value("a\x81" "b\x7F" "c\x9B"),
       QString::fromUtf8("abc›")},
      {"UTF-8 terminal control and override", query::TextValue("a\xC2\x9B" "b\xE2\x80\xAE" "c"), "abc"},
      {"UTF-8 isolate and noncharacter", query::TextValue("\xE2\x81\xA6" "a\xEF\xBF\xBF"), "a" + replacement},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.read, c.shown);
  }
}

// The answer of a server with broken names, as --json writes it, read by a
// strict reader: Python's json, then every string encoded as UTF-8, which
// refuses a lone surrogate.
TEST(DisplayText, AnAnswerWithBrokenNamesIsStrictJson) {
  FakeServer server{Units({'C', 0xD800, 0x202E, 'x'}), "DM-Rankin", "xDeathMatch", 16, {}, {}, true};
  server.players.push_back({Units({0xDBFF, 'P', 0x9B}), 1, 50, 0});
  query::BinaryReplyReader reader;
  reader.Take(BinaryInfoReply(server));
  reader.Take(BinaryRulesReply(server));
  for (const std::string& datagram : BinaryPlayersReply(server)) reader.Take(datagram);
  const query::ServerInfo info = reader.Answer();
  ASSERT_EQ(info.playerList.size(), 1);
  const QJsonObject object{{"server", info.name}, {"player", info.playerList[0].name}};
  const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);

  QProcess python;
  python.start("/usr/bin/python3",
               {"-c", "import json,sys\n"
                      "def walk(v):\n"
                      "    if isinstance(v, str): v.encode('utf-8')\n"
                      "    elif isinstance(v, dict): [walk(x) for x in v.values()]\n"
                      "walk(json.loads(sys.stdin.buffer.read().decode('utf-8')))\n"});
  ASSERT_TRUE(python.waitForStarted());
  python.write(json);
  python.closeWriteChannel();
  ASSERT_TRUE(python.waitForFinished(10000));
  EXPECT_EQ(python.exitCode(), 0) << json.toStdString() << "\n" << python.readAllStandardError().toStdString();
}

}  // namespace
