// INI semantics as file-before / operation / file-after cases.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/os/errors.h"
#include "platform/os/ini_file.h"
#include "support/file_replace_counter.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::FileReplaceCounter;
using testing_support::TempDir;

namespace {

struct WriteCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};
void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyTheKeyAndKeepsEveryOtherByte) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(IniSetValue(c.before, c.section, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"EmptyFileGetsSectionWithCrLf", "", "MAIN", "Pass", "x", "[MAIN]\r\nPass=x\r\n"},
        WriteCase{"ReplaceInPlaceKeepsKeySpelling", "[main]\r\npass=old\r\nOther=1\r\n", "MAIN", "Pass",
                  "new", "[main]\r\npass=new\r\nOther=1\r\n"},
        WriteCase{"FirstOfDuplicateKeys", "[A]\r\nk=1\r\nk=2\r\n", "A", "K", "9", "[A]\r\nk=9\r\nk=2\r\n"},
        WriteCase{"NewKeyAfterLastEntryBeforeBlankLines", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
                  "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"NewSectionAtEndNoBlankLine", "[A]\r\nx=1\r\n", "GUI", "XPOS", "40",
                  "[A]\r\nx=1\r\n[GUI]\r\nXPOS=40\r\n"},
        WriteCase{"LastLineWithoutLineEnd", "[A]\r\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2"},
        WriteCase{"MissingFinalLineEndBeforeNewSection", "[A]\r\nx=1", "B", "y", "2",
                  "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        WriteCase{"LfOnlyFileStaysLf", "[A]\nx=1\n", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        WriteCase{"CommentIsNotAKey", "[A]\r\n;k=1\r\n", "A", "k", "2", "[A]\r\nk=2\r\n;k=1\r\n"},
        WriteCase{"NewKeyAfterLastKeyNotTrailingComment", "[A]\r\nx=1\r\n; end of A\r\n[B]\r\n", "A", "y", "2",
                  "[A]\r\nx=1\r\ny=2\r\n; end of A\r\n[B]\r\n"},
        WriteCase{"KeyInLaterSectionOnly", "[A]\r\na=1\r\n[B]\r\nk=1\r\n", "A", "k", "2",
                  "[A]\r\na=1\r\nk=2\r\n[B]\r\nk=1\r\n"},
        WriteCase{"BlanksAroundNames", "[ A ]\r\n  k = 1\r\n", "a", "K", "2", "[ A ]\r\nk=2\r\n"},
        // A file cut between CR and LF, and one with CR-only line ends: what
        // we add must start on a line of its own as the reader sees lines.
        WriteCase{"LastLineEndsInBareCr", "[A]\r\nx=1\r", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"BareCrBeforeNewSection", "[A]\nx=1\r", "B", "y", "2", "[A]\nx=1\r\n[B]\ny=2\n"},
        WriteCase{"CrOnlyLineEnds", "[A]\rx=1\r", "A", "y", "2", "[A]\rx=1\r\ny=2\r\n"},
        WriteCase{"CrOnlyFileGetsCrLfSection", "[A]\rx=1\r", "B", "y", "2", "[A]\rx=1\r\n[B]\r\ny=2\r\n"},
        WriteCase{"LineBreaksInValueBecomeBlanks", "[A]\r\nk=1\r\n", "A", "k", "a\r\nb\nc\rd",
                  "[A]\r\nk=a  b c d\r\n"},
        WriteCase{"LineBreaksInNewValue", "", "A", "k", "x\n[B]", "[A]\r\nk=x [B]\r\n"},
        // UT 469 writes its INI files as UTF-8 with a byte order mark: the
        // mark stays in front, and the first section is found behind it.
        WriteCase{"ByteOrderMarkKeptFirstSectionFound", "\xEF\xBB\xBF[A]\nx=1\n[B]\ny=2\n", "A", "x", "5",
                  "\xEF\xBB\xBF[A]\nx=5\n[B]\ny=2\n"},
        WriteCase{"ByteOrderMarkKeptNewSection", "\xEF\xBB\xBF[A]\nx=1\n", "B", "y", "2",
                  "\xEF\xBB\xBF[A]\nx=1\n[B]\ny=2\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What a write sets reads back, and writing it again changes nothing: a
// file must not grow at every save.
TEST_P(IniWrite, ReadsBackAndIsStableOnTheNextSave) {
  const WriteCase& c = GetParam();
  const std::string once = IniSetValue(c.before, c.section, c.key, c.value);
  bool found = false;
  const std::string value = IniLookup(once, c.section, c.key, found);
  EXPECT_TRUE(found);
  std::string expected = c.value;
  for (char& ch : expected)
    if (ch == '\r' || ch == '\n') ch = ' ';
  EXPECT_EQ(value, expected);
  EXPECT_EQ(IniSetValue(once, c.section, c.key, c.value), once);
}

struct ReadCase {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  bool found;
  std::string value;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheFirstMatchingKey) {
  const ReadCase& c = GetParam();
  bool found = false;
  const std::string v = IniLookup(c.content, c.section, c.key, found);
  EXPECT_EQ(found, c.found);
  EXPECT_EQ(v, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(ReadCase{"CaseInsensitive", "[main]\r\nscript-url=a\r\n", "MAIN", "Script-URL", true, "a"},
                      ReadCase{"Trimmed", "[A]\r\n k =  v w  \r\n", "A", "k", true, "v w"},
                      ReadCase{"Quoted", "[A]\r\nk=\"  q \"\r\n", "A", "k", true, "  q "},
                      ReadCase{"FirstDuplicate", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", true, "1"},
                      ReadCase{"MissingKey", "[A]\r\nj=1\r\n", "A", "k", false, ""},
                      ReadCase{"OtherSection", "[B]\r\nk=1\r\n", "A", "k", false, ""},
                      ReadCase{"Comment", "[A]\r\n;k=1\r\n", "A", "k", false, ""},
                      ReadCase{"EmptyValue", "[A]\r\nk=\r\n", "A", "k", true, ""},
                      ReadCase{"BehindByteOrderMark", "\xEF\xBB\xBF[DefaultPlayer]\nName=Kim\n", "DefaultPlayer",
                               "Name", true, "Kim"},
                      ReadCase{"LfOnly", "[A]\nj=0\nk=1\n[B]\nk=2\n", "A", "k", true, "1"},
                      ReadCase{"CutAt2047", "[A]\r\nk=" + std::string(3000, 'x') + "\r\n", "A", "k", true,
                               std::string(2047, 'x')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniInteger, DecimalHexAndDefaults) {
  TempDir dir;
  const QString path = dir.Write("t.ini",
                                 "[A]\r\ndec=12\r\nneg=-1\r\nhex=0x3\r\nHEX=0X1f\r\ndollar=$3\r\n"
                                 "word=abc\r\nempty=\r\nhuge=99999999999\r\nmixed=12abc\r\n");
  const struct {
    const char* key;
    int expected;
  } cases[] = {{"dec", 12},   {"neg", -1},  {"hex", 3},   {"HEX", 3},    {"dollar", 3},
               {"word", 77},  {"empty", 77}, {"huge", 77}, {"mixed", 77}, {"missing", 77}};
  for (const auto& c : cases) EXPECT_EQ(IniReadInteger(path, "A", c.key, 77), c.expected) << c.key;
  EXPECT_EQ(IniReadInteger(path, "A", "hex", 77), 3);
  EXPECT_EQ(IniReadInteger(dir.File("none.ini"), "A", "dec", 5), 5);
}

TEST(IniFile, LargeGameIniKeepsEveryOtherByte) {
  TempDir dir;
  std::string before = "; game settings\r\n[Engine.Engine]\r\nGameRenderDevice=D3DDrv.D3DRenderDevice\r\n\r\n";
  for (int s = 0; s < 40; ++s) {
    before += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 25; ++k) before += "Key" + std::to_string(k) + "=Value \xE4 " + std::to_string(s * k) + "\r\n";
    before += "\r\n";
  }
  before += "[Engine.Input]\r\nF1=\r\nF2=Say hello\r\nAliases[0]=(Command=\"Button bFire\",Alias=Fire)\r\n";
  const QString path = dir.Write("UnrealTournament.ini", before);
  IniWriteString(path, "engine.input", "f2", "exec quavik_say.txt");
  std::string expected = before;
  expected.replace(expected.find("F2=Say hello"), 12, "F2=exec quavik_say.txt");
  EXPECT_EQ(dir.Read("UnrealTournament.ini"), expected);
  EXPECT_EQ(IniReadString(path, "Section7", "Key3", ""), QString::fromUtf8("Value ä 21"));
}

TEST(IniFile, FailedWriteNamesTheFileAndLeavesItUnchanged) {
  TempDir dir;
  const QString path = dir.Write("quavik.ini", "[MAIN]\r\nPass=a\r\n");
  ::chmod(path.toLocal8Bit().constData(), 0444);
  try {
    IniWriteString(path, "MAIN", "Pass", "b");
    FAIL() << "no error";
  } catch (const IoError& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + path);
  }
  EXPECT_EQ(dir.Read("quavik.ini"), "[MAIN]\r\nPass=a\r\n");
}

TEST(IniFile, UnwritableDirectoryRaisesAndKeepsFile) {
  TempDir dir;
  const QString path = dir.File("missing-dir/quavik.ini");
  EXPECT_THROW(IniWriteString(path, "MAIN", "Pass", "b"), IoError);
}

TEST(IniFile, NewFileModeAndKeptPermissions) {
  TempDir dir;
  const QString path = dir.File("quavik.ini");
  IniWriteString(path, "MAIN", "Pass", "secret", 0600);
  struct stat st {};
  ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ::chmod(path.toLocal8Bit().constData(), 0640);
  IniWriteString(path, "MAIN", "Pass", "other", 0600);
  ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.Read("quavik.ini"), "[MAIN]\r\nPass=other\r\n");
}

TEST(IniFile, ManyKeysInOneWriteInOrder) {
  TempDir dir;
  const QString path = dir.Write("User.ini", "[Engine.Input]\r\nF1=\r\nF2=Jump\r\n");
  FileReplaceCounter writes(path);
  IniWriteStrings(path, {{"Engine.Input", "F2", "EXEC a.txt"},
                         {"Engine.Input", "F3", "EXEC b.txt"},
                         {"Engine.Input", "f3", "EXEC c.txt"},
                         {"GUI", "XPOS", "4"}});
  EXPECT_EQ(writes.Count(), 1);
  EXPECT_EQ(dir.Read("User.ini"),
            "[Engine.Input]\r\nF1=\r\nF2=EXEC a.txt\r\nF3=EXEC c.txt\r\n[GUI]\r\nXPOS=4\r\n");
}

// A native game's INI: LF line ends, and either Windows-1252 or UTF-8 behind
// a byte order mark. Names read as the game meant them, and what we write
// keeps the file's line ends, mark and encoding; no mark is ever added.
TEST(IniFile, EncodingFollowsTheByteOrderMark) {
  struct Case {
    const char* name;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"Cp1252", "[DefaultPlayer]\nName=J\xE4ger\n", "[DefaultPlayer]\nName=J\xE4ger\nTeam=\xB1\n"},
      {"Utf8WithMark", "\xEF\xBB\xBF[DefaultPlayer]\nName=J\xC3\xA4ger\n",
       "\xEF\xBB\xBF[DefaultPlayer]\nName=J\xC3\xA4ger\nTeam=\xC2\xB1\n"},
      // Older builds kept single bytes in a file with the mark: read as Windows-1252.
      {"SingleBytesBehindTheMark", "\xEF\xBB\xBF[DefaultPlayer]\nName=J\xE4ger\n",
       "\xEF\xBB\xBF[DefaultPlayer]\nName=J\xE4ger\nTeam=\xC2\xB1\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const QString path = dir.Write("User.ini", c.before);
    EXPECT_EQ(IniReadString(path, "defaultplayer", "NAME", "?"), QStringLiteral("Jäger")) << c.name;
    IniWriteString(path, "DefaultPlayer", "Team", QStringLiteral("±"));
    EXPECT_EQ(dir.Read("User.ini"), c.after) << c.name;
  }
}

}  // namespace
