// One kind of answer (the page of one roster) built once per roster and shared by every request that answers with that roster,
// however many connections still send it. While one request builds it, the
// others for the same roster wait for it instead of building it too.
#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "answer_text.h"
#include "roster_store.h"

namespace clan {

class AnswerCache {
 public:
  using Build = std::function<std::string(const std::vector<Member>&)>;

  AnswerCache(AnswerMemory& memory, Build build);

  // The answer for `roster`: the last one built when the roster is the same,
  // else a new one. None when the answers held leave no room for a new one.
  // May wait while another request builds the answer.
  AnswerRef For(const Roster& roster);

 private:
  AnswerMemory& memory_;
  const Build build_;
  std::mutex mutex_;
  Roster roster_;    // what body_ was built from
  AnswerRef body_;
};

}  // namespace clan
