// The right-click menu's items, in menu order, and when each is enabled.
#pragma once

namespace dirtree {

enum class EntryKind { None, Root, Drive, Folder };

enum class MenuItem {
  AddNode, EditNode, DelNode,
  CutNode, CopyNode, PasteNode,
  GetTreeSize, ShowFolderContents,
  ConnectNetResource, DisConnectNetResource,
  ItemProperty,
  Count
};

// Whether `item` is enabled while an entry of kind `selected` is selected
// (None: no selection) and a paste is or isn't pending.
bool MenuItemEnabled(MenuItem item, EntryKind selected, bool pastePending);

// Whether a separator follows `item` in the menu.
bool SeparatorAfter(MenuItem item);

}  // namespace dirtree
