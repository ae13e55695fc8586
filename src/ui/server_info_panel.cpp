#include "ui/server_info_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "serverinfo/server_display.h"
#include "ui/program_style.h"
#include "skin/ui_style.h"

namespace {

constexpr int kTickMs = 1000;
const QColor kStatusText{170, 170, 170};

QLabel* PlainLabel(QWidget* parent, const char* name, const QFont& font) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);  // server text: never markup
  label->setFont(font);
  return label;
}

QTableWidget* PlayerTable(QWidget* parent) {
  auto* table = new QTableWidget(0, 3, parent);
  table->setObjectName(QStringLiteral("playerTable"));
  table->setHorizontalHeaderLabels({QStringLiteral("Spieler"), QStringLiteral("Punkte"), QStringLiteral("Ping")});
  // Headings stand over their cells: the name on the left, the numbers on the right.
  table->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int column : {1, 2}) table->horizontalHeaderItem(column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  table->setFont(ui_style::ListFont());
  table->horizontalHeader()->setFont(ui_style::ListFont());
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(15);
  table->horizontalHeader()->setFixedHeight(15);
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table->setColumnWidth(1, 48);
  table->setColumnWidth(2, 40);
  table->setShowGrid(false);
  table->setFrameShape(QFrame::NoFrame);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setFocusPolicy(Qt::NoFocus);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setWordWrap(false);
  table->setTextElideMode(Qt::ElideRight);
  ui_style::PaintListColours(table, ui_style::kListText, true);
  // Flat headings on the heading colour.
  QHeaderView* headings = table->horizontalHeader();
  ui_style::MarkFlat(headings);
  QPalette colours = headings->palette();
  colours.setColor(QPalette::Button, ui_style::kHeading);
  colours.setColor(QPalette::ButtonText, ui_style::kListText);
  headings->setPalette(colours);
  return table;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  return item;
}

QTableWidgetItem* NumberCell(int number) { return Cell(QString::number(number), Qt::AlignRight); }

}  // namespace

ServerInfoPanel::ServerInfoPanel(serverinfo::ServerInfoCache& cache, QWidget* parent)
    : QDialog(parent, ui_style::kSmallWindowFlags), cache_(cache) {
  ProgramStyle::Install();
  setObjectName(QStringLiteral("ServerInfo"));
  setWindowTitle(QStringLiteral("Quavik RC5 - Server-Info"));
  setFixedSize(299, 356);
  ui_style::PaintBlackWindow(this);

  serverName = PlainLabel(this, "serverName", ui_style::Verdana(13, true));

  auto* facts = new QFrame(this);
  facts->setObjectName(QStringLiteral("facts"));
  ui_style::PaintListColours(facts, ui_style::kListText);
  auto* factGrid = new QGridLayout(facts);
  factGrid->setContentsMargins(6, 4, 6, 4);
  factGrid->setVerticalSpacing(1);
  factGrid->setColumnStretch(1, 1);
  const auto fact = [&](int row, const QString& captionText, const char* name) {
    QLabel* caption = PlainLabel(facts, "", ui_style::Arial(11));
    caption->setText(captionText);
    factGrid->addWidget(caption, row, 0);
    QLabel* value = PlainLabel(facts, name, ui_style::Arial(11));
    factGrid->addWidget(value, row, 1);
    return value;
  };
  addressValue = fact(0, QStringLiteral("Adresse:"), "addressValue");
  addressValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
  mapValue = fact(1, QStringLiteral("Karte:"), "mapValue");
  gameTypeValue = fact(2, QStringLiteral("Spielart:"), "gameTypeValue");
  playersValue = fact(3, QStringLiteral("Spieler:"), "playersValue");
  pingValue = fact(4, QStringLiteral("Ping:"), "pingValue");

  playerTable = PlayerTable(this);

  status = PlainLabel(this, "status", ui_style::SmallFonts(9));
  ui_style::PaintText(status, kStatusText);
  refreshNote = PlainLabel(this, "refreshNote", ui_style::SmallFonts(9));
  ui_style::PaintText(refreshNote, kStatusText);

  refreshButton = new QPushButton(QStringLiteral("Aktualisieren"), this);
  refreshButton->setObjectName(QStringLiteral("refreshButton"));
  refreshButton->setToolTip(QStringLiteral("Den Server erneut abfragen (höchstens alle 30 Sekunden)"));
  joinButton = new QPushButton(QStringLiteral("Beitreten"), this);
  joinButton->setObjectName(QStringLiteral("joinButton"));
  joinButton->setToolTip(QStringLiteral("Das Spiel auf diesem Server starten"));
  for (QPushButton* button : {refreshButton, joinButton}) {
    button->setFont(ui_style::SmallFonts(9, true));
    button->setFixedHeight(20);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
  }
  connect(refreshButton, &QPushButton::clicked, this, &ServerInfoPanel::RefreshClick);
  connect(joinButton, &QPushButton::clicked, this, &ServerInfoPanel::JoinClick);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  buttons->addWidget(refreshButton);
  buttons->addWidget(joinButton);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 8);
  layout->setSpacing(5);
  layout->addWidget(serverName);
  layout->addWidget(facts);
  layout->addWidget(playerTable, 1);
  layout->addWidget(status);
  layout->addWidget(refreshNote);
  layout->addLayout(buttons);

  ticker_.setInterval(kTickMs);
  connect(&ticker_, &QTimer::timeout, this, [this] { ShowLookup(cache_.Peek(target_)); });
  connect(&cache_, &serverinfo::ServerInfoCache::Answered, this, &ServerInfoPanel::CacheAnswered);
}

void ServerInfoPanel::ShowServer(const QString& serverText, const serverinfo::QueryTarget& target) {
  serverText_ = serverText;
  target_ = target;
  addressValue->setText(serverinfo::AddressText(target_));
  ShowLookup(cache_.Ask(target_));
}

void ServerInfoPanel::RefreshClick() { ShowLookup(cache_.Ask(target_)); }

void ServerInfoPanel::JoinClick() { emit JoinRequested(serverText_); }

void ServerInfoPanel::CacheAnswered(const QString& key) {
  if (key == target_.Key()) ShowLookup(cache_.Peek(target_));
}

void ServerInfoPanel::ShowLookup(const serverinfo::ServerLookup& lookup) {
  const query::ServerInfo* info = lookup.result && lookup.result->ok ? &lookup.result->info : nullptr;
  const QString none = QStringLiteral("-");
  serverName->setText(info ? serverinfo::DisplayText(info->name, 36) : serverinfo::DisplayText(serverText_, 36));
  mapValue->setText(info ? serverinfo::DisplayText(info->map, 40) : none);
  gameTypeValue->setText(info ? serverinfo::DisplayText(info->gameType, 40) : none);
  playersValue->setText(info ? serverinfo::PlayerCountText(*info) : none);
  pingValue->setText(info ? serverinfo::PingText(info->pingMs) : none);
  ShowPlayers(info);
  status->setText(serverinfo::StatusText(lookup));
  const qint64 msUntilDue = cache_.MsUntilDue(target_);
  refreshNote->setText(serverinfo::RefreshText(lookup, msUntilDue, cache_.Idle()));
  refreshButton->setEnabled(!lookup.pending && !cache_.Idle() && msUntilDue == 0);
}

void ServerInfoPanel::ShowPlayers(const query::ServerInfo* info) {
  const QList<query::PlayerInfo> players = info ? serverinfo::PlayersByScore(*info) : QList<query::PlayerInfo>{};
  playerTable->setRowCount(int(players.size()));
  for (int row = 0; row < players.size(); ++row) {
    const query::PlayerInfo& player = players[row];
    playerTable->setItem(row, 0, Cell(serverinfo::DisplayText(player.name, 40)));
    playerTable->setItem(row, 1, NumberCell(player.score));
    playerTable->setItem(row, 2, NumberCell(player.ping));
  }
}

void ServerInfoPanel::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ticker_.start();
}

void ServerInfoPanel::hideEvent(QHideEvent* event) {
  ticker_.stop();
  QDialog::hideEvent(event);
}
