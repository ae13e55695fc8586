// One list from a GameSpy-style master (Unreal Tournament, Tactical Ops) on
// one TCP connection, as bytes in and bytes out:
//   master:  \basic\\secure\XXXXXX        (some masters add \final\)
//   we:      \gamename\G\location\0\validate\VVVVVVVV\final\ and
//            \list\\gamename\G\final\ together
//   master:  \ip\A.B.C.D:PORT ... \final\ and closes.
// PORT is the server's query port. An entry with an unusable address or port
// is skipped and counted; anything that is not this exchange fails with an
// error that says what came. A list that stops at the master's close without
// \final\ counts, with a warning; a close with nothing after our answer
// (but the challenge's own \final\) is a refusal: masters that check drop a
// wrong validate answer that way. The
// bytes and entries one conversation takes are capped: beyond the cap the
// list read so far is kept, with a warning, and the conversation ends.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "master/master_conversation.h"

namespace master {

// A game as GameSpy-style masters know it: the list's name and the secret
// that keys the answer to the challenge.
struct GamespyGame {
  std::string_view name;
  std::string_view secret;
};

// The games whose lists we ask for, by list name ("ut", "tacticalops").
std::optional<GamespyGame> FindGamespyGame(std::string_view name);

struct GamespyLimits {
  qint64 maxBytes = qint64(4) << 20;
  int maxEntries = 20000;
};

// One conversation for each list name, in the order given (a name the table
// does not know is left out): what a master::MasterClient runs.
std::vector<std::unique_ptr<MasterConversation>> GamespyConversations(const std::vector<std::string_view>& names,
                                                                      GamespyLimits limits = {});

class GamespyConversation : public MasterConversation {
 public:
  explicit GamespyConversation(GamespyGame game, GamespyLimits limits = {});

  QByteArray TakeOutgoing() override;
  Progress Take(std::string_view bytes) override;
  Progress Closed() override;
  std::vector<ServerEntry> TakeEntries() override;
  QString Error() const override { return error_; }
  QString Warning() const override { return warnings_.join(QStringLiteral("; ")); }

  // Entries left out because their address or port was unusable.
  int SkippedEntries() const { return skipped_; }

 private:
  enum class Phase { Challenge, List, Done };
  struct Field {
    QByteArray key;
    QByteArray value;
  };
  enum class FieldResult { Complete, Incomplete, Garbage };

  void Parse(bool atClose);
  FieldResult NextField(Field& field, bool atClose, QString& garbage);
  void TakeChallengeField(const Field& field);
  void TakeListField(const Field& field);
  void Answer(const QByteArray& challenge);
  void Fail(const QString& error);
  void Finish();
  void AddEntry(const QByteArray& value);

  GamespyGame game_;
  GamespyLimits limits_;
  Phase phase_ = Phase::Challenge;
  Progress progress_ = Progress::Waiting;
  QByteArray pending_;  // bytes received and not yet read as fields
  qint64 received_ = 0;
  QByteArray outgoing_;
  std::vector<ServerEntry> entries_;
  int listed_ = 0;
  int skipped_ = 0;
  int unknownFields_ = 0;
  bool loneFinalAfterAnswer_ = false;  // a \final\ that may have closed the challenge
  bool listFieldSeen_ = false;
  QString error_;
  QStringList warnings_;
};

}  // namespace master
