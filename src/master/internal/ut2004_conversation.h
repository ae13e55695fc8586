// One list query to a UT 2004 master (UT 2003 masters that speak the same
// protocol too) over one TCP connection. Every message either way is a
// little-endian 32-bit length and that many bytes; strings inside are
// length-prefixed and NUL-terminated. The exchange:
//   master: challenge (a string of digits)
//   client: key hash, challenge response, client name, version, platform,
//           language and a few hardware words
//   master: "APPROVED" and a number        client: a package checksum
//   master: "VERIFIED"                     client: the query (0 or 1 filter)
//   master: the number of servers, then one message per server
// after which the master closes. Names and maps come cut and with colour
// codes; they are decoded and the colour codes removed (a cut code too).
// The master's "zzz " stand-ins for colour codes in names are kept: they
// cannot be told apart from a name's own letters, and only the server's
// own answer names it anyway.
#pragma once
#include <optional>
#include <string>

#include "master/master_conversation.h"
#include "master/ut2004_credentials.h"

namespace master {

class Ut2004Conversation : public MasterConversation {
 public:
  // A message longer than this is refused instead of buffered: one server's
  // record is well under a kilobyte.
  static constexpr quint32 kMaxMessageLength = 8192;

  // gameType: the class name to ask for ("xDeathMatch"); empty asks without
  // a filter (which a real master answers with an empty list).
  Ut2004Conversation(Ut2004Credentials credentials, QString gameType);

  QByteArray TakeOutgoing() override;
  Progress Take(std::string_view bytes) override;
  Progress Closed() override;
  std::vector<ServerEntry> TakeEntries() override;
  QString Error() const override { return error_; }
  QString Warning() const override { return warning_; }

  const QString& GameType() const { return gameType_; }

 private:
  enum class Stage { Challenge, Approval, Verification, Count, Servers, Done, Failed };

  Progress HandleMessage(std::string_view message);
  Progress Fail(const QString& error);
  Progress OnChallenge(std::string_view message);
  Progress OnApproval(std::string_view message);
  Progress OnVerification(std::string_view message);
  Progress OnCount(std::string_view message);
  Progress OnServer(std::string_view message);
  void Send(const QByteArray& payload);
  QString SkippedNote() const;

  Ut2004Credentials credentials_;
  QString gameType_;
  Stage stage_ = Stage::Challenge;
  std::string buffer_;
  QByteArray outgoing_;
  std::vector<ServerEntry> entries_;
  quint32 announced_ = 0;
  quint32 received_ = 0;
  int skipped_ = 0;
  QString error_;
  QString warning_;
};

}  // namespace master
