// The URL and path routines, as tables of text in and text out.
#include <gtest/gtest.h>

#include <QDir>

#include "platform/os/errors.h"
#include "support/temp_dir.h"
#include "transfer/internal/http_upload.h"
#include "transfer/url_routines.h"

namespace {

struct UrlCase {
  QString url, fileName, host, path;
};

TEST(UrlRoutines, SplitAUrlIntoFileNameHostAndPath) {
  const UrlCase cases[] = {
      {"http://srv/to/home.php?x=1", "home.php?x=1", "srv", "/to/home.php?x=1"},
      {"http://srv:8080/a", "a", "srv:8080", "/a"},
      {"http://user:pw@srv.example/dir/f.bin", "f.bin", "srv.example", "/dir/f.bin"},
      {"http://srv/up.php?mail=a@b.de", "up.php?mail=a@b.de", "srv", "/up.php?mail=a@b.de"},
      {"http://u:p@srv/a@b", "a@b", "srv", "/a@b"},
      {"ftp://srv/pub/", "", "srv", "/pub/"},
      {"http://srv", "srv", "srv", "srv"},
      {"srv/x\\y.txt", "y.txt", "srv", "/x\\y.txt"},
      {"plain.txt", "plain.txt", "plain.txt", "plain.txt"},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(c.url.toStdString());
    EXPECT_EQ(FileNameOfURL(c.url), c.fileName);
    EXPECT_EQ(HostOfURL(c.url), c.host);
    EXPECT_EQ(PathOfURL(c.url), c.path);
  }
}

TEST(UrlRoutines, ProxyCredentialsGoIntoHttpUrlsOnlyWhenBothAreSet) {
  struct Case {
    QString url, user, password, expected;
  } const cases[] = {
      {"http://srv/a", "ann", "pw", "http://ann:pw@srv/a"},
      {"HTTP://srv/a", "ann", "pw", "http://ann:pw@srv/a"},
      {"http://srv/a", "ann", "", "http://srv/a"},
      {"http://srv/a", "", "pw", "http://srv/a"},
      {"ftp://srv/a", "ann", "pw", "ftp://srv/a"},
      {"http://srv/a", "a@b", "p:w", "http://a@b:p:w@srv/a"},  // nothing escaped
  };
  for (const Case& c : cases) EXPECT_EQ(AddProxyCredentials(c.url, c.user, c.password), c.expected) << c.url.toStdString();
}

TEST(UrlRoutines, UploadGoesToTheHostAndPortTheUrlNames) {
  struct Case {
    QString url, expected;
  } const cases[] = {
      {"http://srv/up.php", "http://srv:80/up.php"},
      {"http://srv:8080/up.php?a=1", "http://srv:8080/up.php?a=1"},
      {"http://ann:pw@127.0.0.1:5000/x", "http://127.0.0.1:5000/x"},
      {"http://srv", "http://srv:80/"},
      {"http://srv:81/up.php?mail=a@b.de", "http://srv:81/up.php?mail=a@b.de"},
  };
  for (const Case& c : cases) EXPECT_EQ(UploadRequestURL(c.url), c.expected) << c.url.toStdString();
}

TEST(PathRoutines, JoinPathAddsOneSeparator) {
  EXPECT_EQ(JoinPath("/data", "x.tmp"), "/data/x.tmp");
  EXPECT_EQ(JoinPath("/data/", "x.tmp"), "/data/x.tmp");
  EXPECT_EQ(JoinPath("", "x.tmp"), "x.tmp");
  EXPECT_EQ(JoinPath("/data", ""), "/data/");
  EXPECT_EQ(DirectoryPartOf("/data/x.tmp"), "/data/");
  EXPECT_EQ(DirectoryPartOf("x.tmp"), "");
}

TEST(PathRoutines, ForceDirectoriesCreatesMissingParents) {
  testing_support::TempDir dir;
  EXPECT_TRUE(ForceDirectories(dir.File("a/b/c/")));
  EXPECT_TRUE(QDir(dir.File("a/b/c")).exists());
  EXPECT_TRUE(ForceDirectories(dir.File("a/b")));  // exists already
  dir.Write("file", "x");
  EXPECT_FALSE(ForceDirectories(dir.File("file/sub")));  // a file is in the way
  EXPECT_THROW(ForceDirectories(""), platform::IoError);
}

}  // namespace
