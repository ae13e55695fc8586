// One run of the public-server modes on the event loop: masters, cache,
// merge, sweep, output. Start() returns at once; Finished(exitCode) is
// emitted once, from the event loop. Nothing blocks and no nested event
// loop runs.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <functional>
#include <memory>
#include <vector>

#include "cli/find_player_arguments.h"
#include "cli/find_player_output.h"
#include "master/list_cache.h"
#include "master/master_client.h"
#include "master/ut2004_credentials.h"
#include "master/master_list.h"

namespace sweep {
class Sweep;
struct SweepSummary;
}  // namespace sweep
namespace query {
struct ServerInfo;
}

struct FinderEnvironment {
  QString cacheDir;                                 // where the masters' lists are kept
  QList<master::MasterHostPort> masters;            // chosen (see master_defaults.h)
  std::function<void(const QByteArray&)> out;       // standard output
  std::function<void(const QString&)> warn;         // a line on standard error
  std::function<void(const QString&)> progress;     // the progress line; empty to clear; null when not a terminal
  std::function<qint64()> nowMs;                    // wall clock, ms since the epoch
  // What the UT 2004 master is shown of a CD key (see master_defaults.h).
  master::Ut2004Credentials ut2004Credentials = master::Ut2004Credentials::Placeholder();
};

class FinderRun : public QObject {
  Q_OBJECT
 public:
  FinderRun(FinderCommand command, FinderEnvironment environment, QObject* parent = nullptr);
  ~FinderRun() override;

  void Start();

 signals:
  void Finished(int exitCode);

 private:
  struct Asked;  // one MasterClient and what it stands for

  void AskMasters();
  void OnMasterFinished(size_t askedIndex, const master::MasterResult& result);
  void ListsComplete();
  void SweepServers();
  void OnServerAnswered(int index, const query::ServerInfo& info);
  void OnSweepFinished(const sweep::SweepSummary& summary);
  void End(int exitCode);

  FinderCommand command_;
  FinderEnvironment env_;
  QElapsedTimer clock_;
  master::GameLists lists_;
  std::vector<master::MasterPlan> plan_;
  std::vector<std::unique_ptr<Asked>> asked_;
  size_t pendingAsks_ = 0;
  std::vector<MasterOutcome> outcomes_;
  QSet<QString> listedUnderOwnName_;  // "address:port" of servers a master listed as Tactical Ops
  std::vector<master::ServerEntry> servers_;
  std::vector<FoundServer> found_;
  std::vector<FoundPlayer> matches_;
  int answered_ = 0;
  sweep::Sweep* sweep_ = nullptr;
  bool ended_ = false;
};
