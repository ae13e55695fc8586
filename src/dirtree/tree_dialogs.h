// The tree's message boxes: like the program's, but with Yes and No labelled
// in the tree's language.
#pragma once
#include <functional>

#include "dirtree/dir_tree_texts.h"
#include "platform/os/dialogs.h"

namespace dirtree {

class TreeDialogs : public platform::Dialogs {
 public:
  explicit TreeDialogs(std::function<TLanguage()> language) : language_(std::move(language)) {}
  // Modal; runs a nested event loop while it waits.
  platform::Answer ShowMessage(const QString& text, platform::Buttons buttons, platform::BoxKind kind) override;
  void MessageBeep(platform::Beep beep) override;

 private:
  std::function<TLanguage()> language_;
};

}  // namespace dirtree
