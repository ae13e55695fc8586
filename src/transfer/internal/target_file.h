// Making a download's or a copy's target ready, once its path is known and
// stored as the run's last target: the question before an existing file is
// overwritten, the target's folders, and the replacement file its content
// goes into. The HTTP download, the FTP download and the copy all do it
// here; what differs between them is said in their TargetRules.
#pragma once
#include <QString>
#include <functional>

#include "transfer/internal/transfer_context.h"

class ReplacementFile;

// Which folders of the target's path are made before it is created.
enum class TargetFolders {
  // Every missing one (HTTP download). A target without a folder part
  // raises "Cannot create directory", as the component always has.
  All,
  // Every missing one, when the target names a folder (copy).
  AllWhenNamed,
  // None: the target's folder must be there already (FTP download).
  None,
};

struct TargetRules {
  TargetFolders folders = TargetFolders::None;
  // Raised when the replacement file can't be created. Its text differs:
  // "Cannot create file " on the HTTP download, "Cannot create target
  // file " on the others.
  TransferError cannotCreate;
  // Runs before that error is raised: the HTTP download closes its request
  // first; the others hold their source open until they return.
  std::function<void()> beforeCannotCreate;
};

// False when the user keeps the existing file (OnCopyOverWrite said no; no
// error event) or when the replacement file can't be created (the rules'
// error raised). A folder is never overwritten: it counts as no file.
bool PrepareTarget(TransferRunContext& context, const QString& target, const TargetRules& rules,
                   ReplacementFile& file);
