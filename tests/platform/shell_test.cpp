// What the shell opens for a document target: local files as files, web
// addresses as web addresses.
#include <gtest/gtest.h>

#include <QDir>

#include "platform/os/shell.h"
#include "support/temp_dir.h"

namespace {

TEST(DocumentUrl, LocalPathsOpenAsFilesAndAddressesAsWebPages) {
  testing_support::TempDir dir;
  dir.Write("n.txt", "x");
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.Path()));
  struct Case {
    QString target;
    QUrl expected;
  } const cases[] = {
      {"n.txt", QUrl::fromLocalFile(dir.File("n.txt"))},
      {".", QUrl::fromLocalFile(dir.Path())},
      {dir.File("n.txt"), QUrl::fromLocalFile(dir.File("n.txt"))},
      {"/no/such/file.txt", QUrl::fromLocalFile("/no/such/file.txt")},
      {"www.clan.de", QUrl("http://www.clan.de")},
      {"http://srv/a?b=1", QUrl("http://srv/a?b=1")},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::DocumentUrl(c.target), c.expected) << c.target.toStdString();
  QDir::setCurrent(previous);
}

}  // namespace
