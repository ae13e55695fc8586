// The program's own web site: its home page, which the window links to, and
// the news the news button fetches.
#pragma once
#include <QString>

namespace app {

inline const QString kHomePage = QStringLiteral("http://www.quavik.de/");
inline const QString kNewsUrl = QStringLiteral("http://news.quavik.de/to/quaviknews.txt");
inline const QString kNewsSiteName = QStringLiteral("www.quavik.de");

}  // namespace app
