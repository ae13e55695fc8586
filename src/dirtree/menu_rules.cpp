#include "dirtree/menu_rules.h"

namespace dirtree {

bool MenuItemEnabled(MenuItem item, EntryKind selected, bool pastePending) {
  const bool belowRoot = selected == EntryKind::Drive || selected == EntryKind::Folder;
  const bool folder = selected == EntryKind::Folder;
  switch (item) {
    case MenuItem::AddNode:
    case MenuItem::GetTreeSize:
    case MenuItem::ShowFolderContents:
    case MenuItem::ItemProperty: return belowRoot;
    case MenuItem::EditNode:
    case MenuItem::DelNode:
    case MenuItem::CutNode:
    case MenuItem::CopyNode: return folder;
    case MenuItem::PasteNode: return folder && pastePending;
    case MenuItem::ConnectNetResource:
    case MenuItem::DisConnectNetResource: return true;
    case MenuItem::Count: break;
  }
  return false;
}

bool SeparatorAfter(MenuItem item) {
  return item == MenuItem::DelNode || item == MenuItem::PasteNode ||
         item == MenuItem::ShowFolderContents || item == MenuItem::DisConnectNetResource;
}

}  // namespace dirtree
