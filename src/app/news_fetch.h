// The news text: fetched by a transfer of its own into "quaviknews.txt"
// beside the other temporary files, so a news click never disturbs a
// report. Start hands the request over and returns at once; after the fixed
// wait, Text says what the news panel shows.
#pragma once
#include <QString>
#include <QStringList>

class TFileTransfer;

namespace app {

inline const QString kNewsFileName = QStringLiteral("quaviknews.txt");

class NewsFetch {
 public:
  // Takes over `transfer`'s URL-not-found event.
  NewsFetch(TFileTransfer& transfer, QString dir);
  void Start(const QString& url);
  // True once the request of the latest Start could not be opened.
  bool Unreachable() const { return unreachable_; }
  // The panel's lines: the file's lines, below a notice when the news could
  // not be fetched (then the file is one of an earlier fetch, or absent).
  // Throws platform::IoError when the file can't be read and nothing failed.
  QStringList Text() const;

 private:
  TFileTransfer& transfer_;
  QString dir_;
  bool unreachable_ = false;
};

}  // namespace app
