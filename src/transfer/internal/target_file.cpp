#include "transfer/internal/target_file.h"

#include <QFileInfo>

#include "transfer/internal/replacement_file.h"
#include "transfer/url_routines.h"

bool PrepareTarget(TransferRunContext& context, const QString& target, const TargetRules& rules,
                   ReplacementFile& file) {
  const QFileInfo existing(target);
  if (existing.exists() && !existing.isDir() && !context.AllowOverwrite(target)) return false;
  const QString folder = DirectoryPartOf(target);
  if (rules.folders == TargetFolders::All || (rules.folders == TargetFolders::AllWhenNamed && !folder.isEmpty()))
    ForceDirectories(folder);
  if (!file.Create(target)) {
    if (rules.beforeCannotCreate) rules.beforeCannotCreate();
    context.Error(rules.cannotCreate);
    return false;
  }
  return true;
}
