// The window's artwork, painted at run time so the program needs no image
// files: the 299 x 399 skin and the pictures of the image buttons, in the
// sizes of the controls that show them.
#pragma once
#include <QIcon>
#include <QPixmap>
#include <QVector>

namespace artwork {

QPixmap Skin();                       // 299 x 399, the whole window
QIcon WindowIcon();
// The program's icon, `size` pixels square; the desktop's menu shows it too.
QPixmap AppIcon(int size);
// The tray's icon: green while logged in, grey while logged out.
QIcon StatusIcon(bool loggedIn);

QPixmap ClanSiteButton();             // 21 x 15
QPixmap NewsButton();                 // 19 x 15
QPixmap ReloadButton(bool enabled);   // 20 x 15; disabled = the inert look while logged out
QPixmap SetupButton();                // 19 x 15
QPixmap StartGameButton();            // 41 x 15
QPixmap MinimizeGlyph();              // 12 x 12
QPixmap CloseGlyph();                 // 12 x 12
QPixmap FolderGlyph();                // 16 x 14, the directory chooser button

// 95 x 57: "Anmelden" while logged out, "Abmelden" while logged in. The
// lower right corner stays free for the "Server-Bookmarks:" label.
QPixmap LoginButton(bool loggedIn);

// 38 x 9: the clan or global half of the list switch, lit when active.
QPixmap ListSwitch(bool global, bool active);

// 105 x 11: the frames of the running "Update..." bar.
QVector<QPixmap> UpdateIndicatorFrames();

}  // namespace artwork
