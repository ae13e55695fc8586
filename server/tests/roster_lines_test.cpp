#include "roster_lines.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <map>

#include "roster_answer.h"

namespace clan {
namespace {

Member At(std::string name, std::string server, int minute) {
  return {std::move(name), std::move(server), "TO-Rapid",
          TimePoint(std::chrono::minutes(29'000'000 + minute))};
}

// The answer a roster of exactly these members must give, built from scratch.
std::string Expected(const std::map<std::string, Member, NameOrder>& members) {
  std::vector<Member> listed;
  for (const auto& [name, member] : members) listed.push_back(member);
  return RosterAnswer(listed);
}

std::string Gunzip(const std::vector<std::string_view>& parts) {
  std::string packed;
  for (const auto part : parts) packed += part;
  z_stream stream{};
  EXPECT_EQ(inflateInit2(&stream, 16 + MAX_WBITS), Z_OK);
  stream.next_in = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_in = static_cast<uInt>(packed.size());
  std::string out;
  char buffer[4096];
  int result = Z_OK;
  while (result == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
  }
  EXPECT_EQ(result, Z_STREAM_END) << "the gzip stream is broken";
  EXPECT_EQ(stream.avail_in, 0u) << "bytes after the gzip stream";
  inflateEnd(&stream);
  return out;
}

TEST(RosterLinesTest, AnswerAndGzipFollowEveryChangeAsIfBuiltAnew) {
  // Stretches of four, so that the roster splits, empties and refills them.
  RosterLines lines(4);
  AnswerMemory memory(1 << 20);
  std::map<std::string, Member, NameOrder> model;
  struct Step {
    const char* what;
    std::vector<std::string> put;
    std::vector<std::string> remove;
  };
  const Step steps[] = {
      {"empty", {}, {}},
      {"one", {"Kim"}, {}},
      {"fill beyond a stretch, out of order",
       {"zed", "Bob", "alice", "Carl", "m1", "m2", "m3", "m4", "M5", "bea"}, {}},
      {"before the first and after the last", {"Aaron", "zz"}, {}},
      {"update in place", {"m2", "Kim"}, {}},
      {"names that differ only in case", {"kim", "KIM"}, {}},
      {"remove a whole stretch", {}, {"Aaron", "alice", "bea", "Bob"}},
      {"remove the unknown", {}, {"nobody"}},
      {"remove everything", {}, {"Carl", "Kim", "kim", "KIM", "m1", "m2", "m3", "m4", "M5",
                                 "zed", "zz"}},
      {"again after empty", {"Lee"}, {}},
  };
  int minute = 0;
  for (const auto& step : steps) {
    for (const auto& name : step.put) {
      ++minute;
      const Member member = At(name, "10.0.0." + std::to_string(minute) + ":7777", minute);
      EXPECT_EQ(lines.Put(member), !model.contains(name)) << step.what << ": " << name;
      model.insert_or_assign(name, member);
    }
    for (const auto& name : step.remove) {
      EXPECT_EQ(lines.Remove(name), model.erase(name) == 1) << step.what << ": " << name;
    }
    const AnswerRef answer = lines.Answer(memory);
    ASSERT_TRUE(answer) << step.what;
    EXPECT_EQ(answer->Flatten(), Expected(model)) << step.what;
    EXPECT_EQ(answer->Size(), Expected(model).size()) << step.what;
    EXPECT_EQ(lines.Size(), model.size()) << step.what;
    const auto gzip = answer->Gzip(memory);
    ASSERT_TRUE(gzip) << step.what;
    EXPECT_EQ(Gunzip(*gzip), Expected(model)) << step.what;
  }
}

TEST(RosterLinesTest, AReportRebuildsOnlyThePieceOfItsMember) {
  RosterLines lines(64);
  AnswerMemory memory(std::size_t{64} << 20);
  for (int i = 0; i < 1000; ++i) lines.Put(At("m" + std::to_string(10000 + i), "a", i));
  const AnswerRef before = lines.Answer(memory);
  EXPECT_EQ(lines.Answer(memory), before) << "an unchanged roster answers with the same object";
  ASSERT_GT(before->Pieces().size(), 10u);
  const auto beforeGzip = before->Gzip(memory);

  lines.Put(At("m10500", "b", 2000));
  const AnswerRef after = lines.Answer(memory);
  ASSERT_EQ(after->Pieces().size(), before->Pieces().size());
  size_t rebuilt = 0;
  for (size_t i = 0; i < after->Pieces().size(); ++i) {
    rebuilt += after->Pieces()[i] != before->Pieces()[i];
  }
  EXPECT_EQ(rebuilt, 1u);
  EXPECT_NE(before->Flatten(), after->Flatten()) << "an answer already given never changes";
  const auto afterGzip = after->Gzip(memory);
  ASSERT_TRUE(beforeGzip && afterGzip);
  EXPECT_EQ(Gunzip(*beforeGzip), before->Flatten());
  EXPECT_EQ(Gunzip(*afterGzip), after->Flatten());
  // The unchanged pieces keep their compressed forms.
  size_t shared = 0;
  for (size_t i = 1; i + 1 < afterGzip->size(); ++i) {
    shared += (*afterGzip)[i].data() == (*beforeGzip)[i].data();
  }
  EXPECT_EQ(shared, after->Pieces().size() - 1);
}

TEST(RosterLinesTest, AssigningARosterChangesOnlyWhatDiffers) {
  RosterLines lines(64);
  AnswerMemory memory(std::size_t{64} << 20);
  std::vector<Member> members;
  for (int i = 0; i < 1000; ++i) members.push_back(At("m" + std::to_string(10000 + i), "a", i));
  lines.Assign(members);
  const AnswerRef before = lines.Answer(memory);
  EXPECT_EQ(before->Flatten(), RosterAnswer(members));

  members[100].server = "b";                           // changed
  members.erase(members.begin() + 500);                // gone
  members.push_back(At("m20000", "c", 5000));          // new, last
  members.insert(members.begin(), At("a", "d", 5001));  // new, first
  lines.Assign(members);
  const AnswerRef after = lines.Answer(memory);
  EXPECT_EQ(after->Flatten(), RosterAnswer(members));
  EXPECT_EQ(lines.Size(), members.size());
  size_t kept = 0;
  for (const PieceRef& piece : after->Pieces()) {
    kept += std::count(before->Pieces().begin(), before->Pieces().end(), piece);
  }
  EXPECT_GE(kept + 4, after->Pieces().size()) << "only the stretches with a change are rebuilt";

  lines.Assign({});
  EXPECT_EQ(lines.Answer(memory)->Flatten(), "");
}

TEST(RosterLinesTest, AnAnswerBeyondTheMemoryBoundIsHeldBack) {
  RosterLines lines(4);
  AnswerMemory memory(300);  // room for a few records only
  for (int i = 0; i < 20; ++i) lines.Put(At("m" + std::to_string(10 + i), "a", i));
  EXPECT_EQ(lines.Answer(memory), nullptr);
  AnswerMemory roomy(1 << 20);
  const AnswerRef answer = lines.Answer(roomy);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->Flatten(), RosterAnswer(lines.Members()));
  // Compressing needs room of its own; without it the answer goes plain.
  AnswerMemory none(0);
  EXPECT_FALSE(answer->Gzip(none));
}

}  // namespace
}  // namespace clan
