// The 28 x 28 pictures of the right-click menu, painted at run time:
// NewFolder28, EditFolder28, DelFolder28, Cut28, Copy28, Paste28, TreeSize28,
// DirContents28, NetConnect28, NetDisConnect28, Attributes28.
#pragma once
#include <QPixmap>

#include "dirtree/menu_rules.h"

namespace dirtree {

QPixmap MenuBitmap(MenuItem item);

}  // namespace dirtree
