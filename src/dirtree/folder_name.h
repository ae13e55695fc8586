// The rule for a folder's new name typed into the tree.
#pragma once
#include <QString>

namespace dirtree {

// False for an empty name, for "." and "..", and for a name holding any of
// \ * ? / = " < > | : , ; + ^ (names other systems and the games can't use).
bool IsValidFolderName(const QString& name);

}  // namespace dirtree
