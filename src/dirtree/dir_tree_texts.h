// The texts of the directory tree in its five languages: menu captions,
// messages, box and window texts. Every language carries every text.
#pragma once
#include <QLocale>
#include <QString>

enum TLanguage { lnSysDefault, lnEnglish, lnFrench, lnGerman, lnSpanish, lnPortuguese };

namespace dirtree {

enum class Text {
  // menu captions, in menu order
  NewFolder, RenameFolder, DeleteFolder, Cut, Copy, Paste, TreeSize, FolderContents,
  MapNetworkDrive, DisconnectNetworkDrive, Property,
  // the root entry
  Computer,
  // selection and editing
  DriveNotReady, InvalidDirectoryName, RenameQuestion, RenameFrom, RenameTo, RenameFailed,
  // commands
  ErrorPrefix, CantAddDrives, NotFound, DeleteQuestion, TrashFailed, FileOperationFailed,
  // tree size box
  TreeSizeTitle, TreeSizeDrive, TreeSizeFolder, TreeSizeSubFolders, TreeSizeBytes,
  TreeSizeShortForm, UnitKB, UnitMB,
  // the wait while a tree is walked
  CountingFiles,
  // folder contents window
  FilesIn, FilesHint, OkButton, CantOpenFile,
  // network drives
  MapPrompt, InvalidAddress, NoNetworkMounting, MapFailed, DisconnectPrompt, NoNetworkDrives,
  DisconnectFailed, CancelButton,
  // properties box
  PropertiesTitle, PropPath, PropType, PropTypeDrive, PropTypeFolder, PropSize, PropContains,
  PropContainsValue, PropOwner, PropPermissions, PropModified, CloseButton,
  // buttons of the tree's own boxes
  YesButton, NoButton,
  Count
};

// The language `language` stands for: lnSysDefault follows `system`
// (German, Spanish, French, Portuguese, anything else English).
TLanguage ResolveLanguage(TLanguage language, QLocale::Language system);

// One text in one language (lnSysDefault resolved from the user's locale).
// Texts with "%1" are completed by the caller with QString::arg.
QString Tr(TLanguage language, Text text);

}  // namespace dirtree
