// HTTP uploads: the server receives the file's exact bytes with the
// announced length, by POST or PUT, on the port the URL names.
#include "transfer_fixture.h"

namespace transfer_test {
namespace {

class Upload : public TransferTest {
 protected:
  TFileTransferItem& AddUpload(const std::string& path, const std::string& content, TTransferHTTPCommand verb) {
    dir.Write("up.bin", content);
    TFileTransferItem& item = transfer->Items.Add();
    item.Protocol = wpHttpUpload;
    item.HTTPCommand = verb;
    item.URL = Url(path);
    item.TargetDir = dir.Path();
    item.TargetFilename = "up.bin";
    return item;
  }
};

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 4096) & 0xff);
  return bytes;
}

TEST_F(Upload, ServerReceivesTheWholeFileWithItsLength) {
  for (const std::string method : {"POST", "PUT"})
    server.Handle(method, "/store.php", [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/plain"); });
  struct Case {
    std::size_t size;
    std::size_t blocks;  // progress calls: one per 4096-byte read, plus the final short or empty one
  } const cases[] = {{0, 1}, {100, 1}, {4096, 2}, {8192, 3}, {3 * 1024 * 1024 + 5, 769}};
  for (const TTransferHTTPCommand verb : {hcPost, hcPut}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "verb " << verb << " size " << c.size);
      transfer->Items.Clear();
      events->progress.clear();
      events->lines.clear();
      const std::size_t before = server.RequestCount();
      const std::string content = Pattern(c.size);
      AddUpload("/store.php?id=7", content, verb);
      RunToEnd();

      EXPECT_TRUE(transfer->Items[0].Copied());
      EXPECT_EQ(events->lines, QStringList({"FileStart 0", "FileDone 0", "CopyDone"}));
      ASSERT_EQ(server.RequestCount(), before + 1);
      const testing_support::RecordedRequest request = server.Requests().back();
      EXPECT_EQ(request.method, verb == hcPut ? "PUT" : "POST");
      EXPECT_EQ(request.target, "/store.php?id=7");
      EXPECT_EQ(request.Header("Content-Length"), std::to_string(c.size));
      EXPECT_TRUE(request.body == content) << "body differs, received " << request.body.size() << " bytes";
      EXPECT_EQ(events->progress.size(), c.blocks);
      EXPECT_EQ(events->progress.back().size, std::int64_t(c.size));
      EXPECT_EQ(events->progress.back().totsize, std::int64_t(c.size));
    }
  }
}

// Without a progress handler or dialog the file goes out in larger blocks.
TEST_F(Upload, UnwatchedUploadSendsTheWholeFile) {
  server.Handle("PUT", "/store.php", [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/plain"); });
  transfer->OnCopyProgress = nullptr;
  for (const std::size_t size : {std::size_t(0), std::size_t(2 * 1024 * 1024), std::size_t(3 * 1024 * 1024 + 9)}) {
    transfer->Items.Clear();
    const std::string content = Pattern(size);
    AddUpload("/store.php", content, hcPut);
    RunToEnd();
    EXPECT_TRUE(transfer->Items[0].Copied()) << size;
    EXPECT_TRUE(server.Requests().back().body == content) << size;
  }
}

TEST_F(Upload, FailuresToReachTheServerCarryTheInternetErrorCode) {
  int closedPort = 0;
  {
    testing_support::LoopbackHttpServer gone;
    closedPort = gone.Port();
  }
  AddUpload("/x", "data", hcPost).URL = QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort);
  AddUpload("/x", "data", hcPut).URL = QStringLiteral("http://nowhere.invalid/x");
  AddUpload("/x", "data", hcPost).URL = QStringLiteral("http:///x");  // no host: no request
  RunToEnd();
  EXPECT_EQ(events->lines,
            QStringList({"FileStart 0", "Error 12029",
                         "ErrorInfo 12029 A connection with the server could not be established", "FileDone 0",
                         "FileStart 1", "Error 12007", "ErrorInfo 12007 The server name could not be resolved",
                         "FileDone 1", "FileStart 2", "Error 6", "ErrorInfo 6 Cannot connect to server ",
                         "FileDone 2", "CopyDone"}));
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_FALSE(transfer->Items[1].Copied());
}

TEST_F(Upload, MissingSourceFailsWithoutAnEvent) {
  AddUpload("/x", "data", hcPost).TargetFilename = "absent.bin";
  RunToEnd();
  EXPECT_EQ(events->lines, QStringList({"FileStart 0", "FileDone 0", "CopyDone"}));
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(server.RequestCount(), 0u);
}

}  // namespace
}  // namespace transfer_test
