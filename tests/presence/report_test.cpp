// The presence report URL and whether a report is sent at all.
#include <gtest/gtest.h>

#include <QUrlQuery>

#include "presence/report_gate.h"
#include "presence/report_url.h"

using namespace presence;

namespace {

TEST(ReportUrl, KeysInOrderForBothTargets) {
  const PlayerLocation kim{"Kim", "10.0.0.5:7777", "TO-Rapid"};
  EXPECT_EQ(BuildReportUrl("http://clan.example/q.php", kim, "geheim", false),
            "http://clan.example/q.php?name=Kim&ip=Zephanor!&server=10.0.0.5%3A7777"
            "&map=TO-Rapid&pass=geheim&quickview=on");
  EXPECT_EQ(BuildReportUrl("http://master.example/g.php", kim, "", true),
            "http://master.example/g.php?name=Kim&ip=Zephanor!&server=10.0.0.5%3A7777"
            "&map=TO-Rapid&pass=&quickview=on&globalpost=on");
  // No script URL (the reload button with no master set): nothing in front.
  EXPECT_EQ(BuildReportUrl("", kim, "p", true).left(10), "?name=Kim&");
}

TEST(ReportUrl, ValuesAreEncodedFromTheirWindows1252Bytes) {
  const struct {
    QString value;
    QByteArray encoded;
  } cases[] = {
      {"Kim & Lee", "Kim%20%26%20Lee"},
      {"a=b?c#d", "a%3Db%3Fc%23d"},
      {QStringLiteral("Jörg"), "J%F6rg"},
      {QStringLiteral("€"), "%80"},
      {"<i>offline</i>", "%3Ci%3Eoffline%3C%2Fi%3E"},
      {"AZaz09-._~", "AZaz09-._~"},
      {"+%/", "%2B%25%2F"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PercentEncodeCp1252(c.value), c.encoded) << c.value.toStdString();
  }
}

TEST(ReportUrl, HostileValuesComeBackAsTheyWereSent) {
  // What a script decodes must be each value whole, whatever it holds.
  const PlayerLocation location{"Kim&pass=x", QStringLiteral("<i>Sucht Server...</i>"), "a?b#c"};
  const QByteArray url = BuildReportUrl("http://h/s.php", location, "p w=&?", false);
  const QUrlQuery query(QString::fromLatin1(url.mid(url.indexOf('?') + 1)));
  EXPECT_EQ(query.queryItems(QUrl::FullyDecoded).size(), 6);
  EXPECT_EQ(query.queryItemValue("name", QUrl::FullyDecoded), "Kim&pass=x");
  EXPECT_EQ(query.queryItemValue("server", QUrl::FullyDecoded), "<i>Sucht Server...</i>");
  EXPECT_EQ(query.queryItemValue("map", QUrl::FullyDecoded), "a?b#c");
  EXPECT_EQ(query.queryItemValue("pass", QUrl::FullyDecoded), "p w=&?");
}

TEST(ReportGate, DecidedByTheName) {
  const struct {
    QString name;
    ReportGate expected;
  } cases[] = {
      {"Kim", {false, true}},
      {"?", {true, false}},
      {"", {false, false}},
      {"xs_swatY", {false, false}},
      {"S_SWAT", {false, false}},
      {"??", {false, true}},
      {"s_swa", {false, true}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideReportSending(c.name), c.expected) << c.name.toStdString();
  }
}

}  // namespace
