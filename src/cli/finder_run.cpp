#include "cli/finder_run.h"

#include <QTimer>

#include "master/entry_filter.h"
#include "master/gamespy_conversation.h"
#include "master/listed_game.h"
#include "master/ut2004_game_types.h"
#include "platform/net/udp_socket.h"
#include "sweep/player_match.h"
#include "sweep/sweep.h"

namespace {

// A list one master gives under one name: Tactical Ops is asked under two,
// and which one listed a server is kept with the list.
struct ListSource {
  master::MasterHostPort master;
  QString listName;  // the GameSpy game name; empty for the UT 2004 protocol

  // The record's name in the kept lists.
  QString Key() const { return listName.isEmpty() ? master.Text() : master.Text() + '#' + listName; }
};

std::vector<ListSource> SourcesOf(master::Game game, const QList<master::MasterHostPort>& masters) {
  std::vector<ListSource> sources;
  const QStringList names = master::GameSpyNames(game);
  for (const master::MasterHostPort& m : masters) {
    if (names.isEmpty()) sources.push_back({m, {}});
    for (const QString& name : names) sources.push_back({m, names.size() > 1 ? name : QString()});
  }
  return sources;
}

QString Ago(qint64 ms) { return QStringLiteral("%1 s ago").arg(ms / 1000); }

std::optional<QString> RuleOf(const query::ServerInfo& info, const QString& key) {
  for (const auto& [k, v] : info.rules) {
    if (k.compare(key, Qt::CaseInsensitive) == 0) return v;
  }
  return std::nullopt;
}

}  // namespace

struct FinderRun::Asked {
  ListSource source;
  master::MasterClient* client = nullptr;
};

FinderRun::FinderRun(FinderCommand command, FinderEnvironment environment, QObject* parent)
    : QObject(parent), command_(std::move(command)), env_(std::move(environment)) {}

FinderRun::~FinderRun() = default;

void FinderRun::Start() {
  clock_.start();
  if (env_.masters.isEmpty()) {
    env_.warn(QStringLiteral("no master is known for %1: --master HOST:PORT may name one that speaks the UT 2004 protocol")
                  .arg(master::GameName(command_.game)));
    QTimer::singleShot(0, this, [this] { End(3); });
    return;
  }
  lists_ = master::ReadGameLists(master::ListCacheFile(env_.cacheDir, master::GameName(command_.game)),
                                 master::GameName(command_.game));
  QTimer::singleShot(0, this, &FinderRun::AskMasters);
}

void FinderRun::AskMasters() {
  const std::vector<ListSource> sources = SourcesOf(command_.game, env_.masters);
  QStringList keys;
  for (const ListSource& s : sources) keys.append(s.Key());
  plan_ = master::PlanMasters(lists_, keys, env_.nowMs(), command_.refresh);
  for (size_t i = 0; i < sources.size(); ++i) {
    if (plan_[i].source != master::MasterSource::Ask) continue;
    const ListSource& source = sources[i];
    std::vector<std::unique_ptr<master::MasterConversation>> conversations;
    if (source.listName.isEmpty() && master::GameSpyNames(command_.game).isEmpty()) {
      const QStringList types = command_.game == master::Game::UT2003 ? master::Ut2003StockGameTypes()
                                                                      : master::Ut2004StockGameTypes();
      conversations = master::Ut2004ListConversations(env_.ut2004Credentials, types);
    } else {
      const QString name = source.listName.isEmpty() ? master::GameSpyNames(command_.game).first() : source.listName;
      const std::optional<master::GamespyGame> game = master::FindGamespyGame(name.toStdString());
      conversations.push_back(std::make_unique<master::GamespyConversation>(*game));
    }
    auto asked = std::make_unique<Asked>();
    asked->source = source;
    asked->client = new master::MasterClient(source.master.Text(), source.master.port, std::move(conversations), {}, this);
    const size_t index = asked_.size();
    connect(asked->client, &master::MasterClient::Finished, this,
            [this, index](const master::MasterResult& result) { OnMasterFinished(index, result); });
    asked_.push_back(std::move(asked));
    ++pendingAsks_;
  }
  for (const auto& asked : asked_) asked->client->Start();
  if (pendingAsks_ == 0) ListsComplete();
}

void FinderRun::OnMasterFinished(size_t askedIndex, const master::MasterResult& result) {
  Asked& asked = *asked_[askedIndex];
  asked.client->deleteLater();
  asked.client = nullptr;
  const qint64 now = env_.nowMs();
  const QString key = asked.source.Key();
  if (result.error.isEmpty()) {
    int dropped = 0;
    std::vector<master::ServerEntry> kept = master::FilterEntries(result.entries, result.address, &dropped);
    if (dropped > 0)
      env_.warn(QStringLiteral("%1: %2 listed addresses left out (not a public server's)").arg(key).arg(dropped));
    master::RecordList(lists_, key, result.address, now, std::move(kept));
  } else {
    master::RecordFailure(lists_, key, now, result.error);
  }
  for (const QString& warning : result.warnings) env_.warn(QStringLiteral("%1: %2").arg(key, warning));
  if (--pendingAsks_ == 0) ListsComplete();
}

void FinderRun::ListsComplete() {
  const QString game = master::GameName(command_.game);
  master::PruneGameLists(lists_, env_.nowMs());
  if (!asked_.empty() && !master::WriteGameLists(master::ListCacheFile(env_.cacheDir, game), lists_))
    env_.warn(QStringLiteral("the masters' lists could not be kept in %1").arg(env_.cacheDir));
  const qint64 now = env_.nowMs();
  const std::vector<ListSource> sources = SourcesOf(command_.game, env_.masters);
  std::vector<master::MasterListing> listings;
  std::vector<bool> fromFallback;
  bool anyList = false;
  for (size_t i = 0; i < sources.size(); ++i) {
    const QString key = sources[i].Key();
    const master::MasterRecord* record = lists_.Find(key);
    MasterOutcome outcome{key, 0, {}};
    const bool askedNow = plan_[i].source == master::MasterSource::Ask;
    if (plan_[i].source == master::MasterSource::Resting) {
      outcome.error = QStringLiteral("asked %1 without a list (%2); --refresh asks again")
                          .arg(Ago(plan_[i].sinceMs), record ? record->error : QString());
    } else if (askedNow && record && !record->error.isEmpty()) {
      outcome.error = record->error;
    }
    if (outcome.error.isEmpty()) {
      if (const std::optional<master::MasterListing> listing = master::FreshListing(lists_, key, now)) {
        listings.push_back({sources[i].master.Text(), listing->entries});
        outcome.servers = int(listing->entries.size());
        anyList = true;
        if (sources[i].listName == QLatin1String("tacticalops")) {
          for (const master::ServerEntry& e : listing->entries)
            listedUnderOwnName_.insert(QStringLiteral("%1:%2").arg(e.address).arg(e.queryPort));
        }
      }
    }
    outcomes_.push_back(outcome);
  }
  if (!anyList) {
    // No master gave a list now: a list of the same masters younger than
    // 15 minutes is used, with a warning (only a refresh gets here with one).
    for (size_t i = 0; i < sources.size(); ++i) {
      const std::optional<master::MasterListing> listing = master::FreshListing(lists_, sources[i].Key(), now);
      if (!listing) continue;
      env_.warn(QStringLiteral("%1 gave no list now: its list of %2 is used")
                    .arg(sources[i].Key(), Ago(now - lists_.Find(sources[i].Key())->listedAtMs)));
      listings.push_back({sources[i].master.Text(), listing->entries});
      outcomes_[i].servers = int(listing->entries.size());
      anyList = true;
    }
  }
  for (const MasterOutcome& o : outcomes_) {
    if (!o.error.isEmpty()) env_.warn(QStringLiteral("%1: %2").arg(o.master, o.error));
  }
  if (!anyList) {
    env_.warn(QStringLiteral("no master gave a list of %1 servers").arg(game));
    End(3);
    return;
  }
  const master::MergedList merged = master::MergeListings(listings);
  if (merged.droppedOverCap > 0)
    env_.warn(QStringLiteral("%1 listed ports left out: at most %2 per address")
                  .arg(merged.droppedOverCap)
                  .arg(master::kMaxPortsPerAddress));
  servers_ = merged.servers;
  SweepServers();
}

void FinderRun::SweepServers() {
  const query::QueryProtocol protocol =
      command_.game == master::Game::UT || command_.game == master::Game::TacticalOps ? query::QueryProtocol::Text
                                                                                        : query::QueryProtocol::Binary;
  std::vector<sweep::SweepTarget> targets;
  found_.resize(servers_.size());
  for (size_t i = 0; i < servers_.size(); ++i) {
    const master::ServerEntry& e = servers_[i];
    FoundServer& f = found_[i];
    f.address = e.address;
    f.queryPort = e.queryPort;
    f.joinPort = master::JoinPort(command_.game, e, std::nullopt);
    f.masters = e.masters;
    f.name = e.name;
    f.map = e.map;
    f.gameType = e.gameType;
    f.players = e.players;
    f.maxPlayers = e.maxPlayers;
    const std::optional<platform::UdpAddress> address = platform::UdpAddress::FromText(e.address, e.queryPort);
    if (address) targets.push_back(sweep::SweepTarget{*address, protocol, int(i)});
  }
  sweep_ = new sweep::Sweep(this);
  connect(sweep_, &sweep::Sweep::ServerAnswered, this, &FinderRun::OnServerAnswered);
  connect(sweep_, &sweep::Sweep::ProgressChanged, this, [this](int answered, int, int total) {
    if (env_.progress) env_.progress(ProgressLine(answered, total, clock_.elapsed()));
  });
  connect(sweep_, &sweep::Sweep::Finished, this, &FinderRun::OnSweepFinished);
  sweep::SweepOptions options;
  options.timeoutMs = command_.timeoutMs;
  sweep_->Start(std::move(targets), options);
}

void FinderRun::OnServerAnswered(int index, const query::ServerInfo& info) {
  if (index < 0 || size_t(index) >= found_.size()) return;
  const master::ServerEntry& entry = servers_[size_t(index)];
  FoundServer& f = found_[size_t(index)];
  const bool ownName = listedUnderOwnName_.contains(QStringLiteral("%1:%2").arg(entry.address).arg(entry.queryPort));
  f.answered = true;
  ++answered_;
  f.name = info.name;
  f.map = info.map;
  f.gameType = info.gameType;
  f.players = info.players;
  f.maxPlayers = info.maxPlayers;
  f.pingMs = info.pingMs;
  f.joinPort = master::JoinPort(command_.game, entry, RuleOf(info, QStringLiteral("hostport")));
  if (!master::BelongsToGame(command_.game, ownName, info.gameType)) return;
  if (command_.mode == FinderMode::ListServers) {
    if (!command_.json) env_.out(FormatServerLine(f));
    return;
  }
  for (const query::PlayerInfo& p : info.playerList) {
    if (!sweep::NameMatches(command_.player, p.name, command_.contains)) continue;
    FoundPlayer match{p.name, p.score, p.ping, p.team, f};
    if (!command_.json) {
      if (env_.progress) env_.progress({});
      env_.out(FormatMatchLine(match));
    }
    matches_.push_back(std::move(match));
  }
}

void FinderRun::OnSweepFinished(const sweep::SweepSummary&) {
  if (env_.progress) env_.progress({});
  FinderSummary summary;
  summary.mode = command_.mode;
  summary.player = command_.player;
  summary.game = master::GameName(command_.game);
  summary.masters = outcomes_;
  summary.serversListed = int(servers_.size());
  summary.serversAnswered = answered_;
  summary.seconds = double(clock_.elapsed()) / 1000.0;
  if (command_.mode == FinderMode::ListServers) {
    std::vector<FoundServer> shown;
    for (size_t i = 0; i < found_.size(); ++i) {
      const bool ownName =
          listedUnderOwnName_.contains(QStringLiteral("%1:%2").arg(servers_[i].address).arg(servers_[i].queryPort));
      const std::optional<QString> type = found_[i].answered ? std::optional<QString>(found_[i].gameType) : std::nullopt;
      if (!master::BelongsToGame(command_.game, ownName, type)) continue;
      if (!command_.json && !found_[i].answered) env_.out(FormatServerLine(found_[i]));
      shown.push_back(found_[i]);
    }
    if (command_.json) env_.out(FormatListJson(summary, shown));
  } else if (command_.json) {
    env_.out(FormatFindJson(summary, matches_));
  }
  End(FinderExitCode(command_.mode, true, matches_.size()));
}

void FinderRun::End(int exitCode) {
  if (ended_) return;
  ended_ = true;
  emit Finished(exitCode);
}
