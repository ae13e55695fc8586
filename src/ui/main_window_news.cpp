// The news panel: starts the news fetch, waits a fixed five seconds with the
// update indicator, then shows what app::NewsFetch found.
#include "app/news_fetch.h"
#include "ui/main_window.h"

const QString TForm1::kNewsUrl = QStringLiteral("http://news.quavik.de/to/quaviknews.txt");
const QString TForm1::kNewsSiteName = QStringLiteral("www.quavik.de");

void TForm1::Image9Click() {
  NewsPanel->show();
  NewsMemo->clear();
  NewsMemo->appendPlainText(QStringLiteral("Einen Moment, die aktuellen News werden von der Website ") +
                            kNewsSiteName + QStringLiteral(" geladen. Dauert ein paar Sekunden..."));
  newsFetch->Start(newsUrl);
  UpdateVisDelay(5000);
  NewsMemo->clear();
  for (const QString& line : newsFetch->Text()) NewsMemo->appendPlainText(line);
  NewsMemo->moveCursor(QTextCursor::Start);
}
