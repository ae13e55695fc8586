// What the FTP client reads from a server: listing lines, the search for
// one name in a listing that arrives in pieces, and the sizes and times the
// control answers give, with the hostile forms a server can send.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/net/ftp_listing.h"
#include "platform/net/ftp_replies.h"

namespace {

using platform::AnnouncedSize;
using platform::FtpListingSearch;
using platform::ParseFtpTime;
using platform::ParseMlsdLine;

constexpr std::int64_t k2024Feb29Noon = 1709208000;

TEST(FtpListing, LinesGiveNameSizeDateAndKind) {
  struct Case {
    const char* line;
    const char* name;
    std::optional<std::int64_t> size;
    std::optional<std::int64_t> modified;
    bool isFile;
  } const cases[] = {
      {"type=file;size=300000;modify=20240229120000; a b.bin", "a b.bin", 300000, k2024Feb29Noon, true},
      {"Type=File;Size=5;Modify=20240229120000.123;UNIX.mode=0644; x", "x", 5, k2024Feb29Noon, true},
      {"type=cdir;modify=20240229120000; .", ".", std::nullopt, k2024Feb29Noon, false},
      {"type=pdir; ..", "..", std::nullopt, std::nullopt, false},
      {"size=-5;modify=20230229120000; x", "x", -1, std::nullopt, true},   // no 29 February in 2023
      {"size=9223372036854775808; x", "x", -1, std::nullopt, true},        // beyond 63 bits
      {"size=;modify=2024; x", "x", -1, std::nullopt, true},
      {"nofacts;=;; x", "x", std::nullopt, std::nullopt, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<platform::FtpListEntry> entry = ParseMlsdLine(c.line);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, c.name);
    EXPECT_EQ(entry->size, c.size);
    EXPECT_EQ(entry->modified, c.modified);
    EXPECT_EQ(entry->isFile, c.isFile);
  }
  EXPECT_FALSE(ParseMlsdLine("no-name-after-the-facts"));
  EXPECT_FALSE(ParseMlsdLine("size=5; "));
  EXPECT_EQ(ParseFtpTime("19700101000000"), 0);
  EXPECT_FALSE(ParseFtpTime("2024022912000"));
  EXPECT_FALSE(ParseFtpTime("20241301000000"));
}

// The same listing cut anywhere finds the same entry; only the first file
// of the name counts, and a folder of the name is no file.
TEST(FtpListing, SearchFindsTheEntryWhereverThePiecesEnd) {
  const std::string listing =
      "type=cdir; .\r\n"
      "type=dir;modify=20240229120000; x.bin\r\n"
      "type=file;size=7;modify=20240229120000; x.bin.old\n"
      "type=file;size=12;modify=20240229120000; x.bin\r\n"
      "type=file;size=99; x.bin";
  for (std::size_t step = 1; step <= listing.size(); ++step) {
    FtpListingSearch search("x.bin");
    for (std::size_t at = 0; at < listing.size(); at += step) search.Feed(std::string_view(listing).substr(at, step));
    const std::optional<platform::FtpListEntry> found = search.Finish();
    ASSERT_TRUE(found) << step;
    EXPECT_EQ(found->size, 12) << step;
  }
  FtpListingSearch last("last");
  last.Feed("type=file;size=3; last");  // no line end at all
  EXPECT_EQ(last.Finish()->size, 3);
}

TEST(FtpListing, OverlongLineIsSkippedAndTheSearchGoesOn) {
  FtpListingSearch search("x.bin");
  search.Feed("type=file;size=1;junk=");
  for (int i = 0; i < 40; ++i) search.Feed(std::string(4096, 'j'));  // 160 KiB in one line
  search.Feed("; x.bin\n");
  EXPECT_FALSE(search.Finish());
  search.Feed(std::string(1 << 20, '\n'));
  search.Feed("type=file;size=2; x.bin\n");
  EXPECT_EQ(search.Finish()->size, 2);
}

TEST(FtpReplies, SizesAnnounced) {
  struct Case {
    const char* line;
    std::optional<std::int64_t> size;
  } const cases[] = {
      {"213 300000\r\n", 300000},
      {"213 0", 0},
      {"150 Opening BINARY mode data connection for a (b).bin (4096 bytes)\r\n", 4096},
      {"125 Data connection already open; transfer starting (12 bytes)", 12},
      {"213 -5", -1},
      {"213 -9223372036854775808", -1},
      {"213 99999999999999999999", -1},
      {"150 sending (many bytes)", -1},
      {"213", -1},
      {"150 Opening BINARY mode data connection", std::nullopt},
      {"213-Status of x:", std::nullopt},  // not the answer's last line
      {"226 Transfer complete (4096 bytes)", std::nullopt},
      {"", std::nullopt},
      {"21", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(AnnouncedSize(c.line), c.size) << c.line;
  EXPECT_EQ(platform::FinalReply("550 No such file\r\n")->code, 550);
  EXPECT_EQ(platform::FinalReply("550 No such file\r\n")->text, "No such file");
}

}  // namespace
