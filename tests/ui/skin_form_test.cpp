// The skin on a window: no frame, pinned to the top-left corner, and the
// stored outline applied to the window, kept, written back or refused.
#include <gtest/gtest.h>

#include "skin/region_data.h"
#include "skin/skin_form.h"

namespace {

QByteArray Stored(const QRegion& region) {
  const std::string bytes = SerializeOutline(region);
  return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

const QRegion kOutline = QRegion(0, 0, 200, 150).subtracted(QRegion(0, 0, 8, 8));

struct SkinBench {
  SkinBench() {
    window.resize(200, 150);
    skin = new TSkinForm(&window);
  }
  QWidget window;
  TSkinForm* skin;
};

TEST(SkinForm, TakesTheFrameAndFillsTheWindowFromTheCorner) {
  SkinBench b;
  EXPECT_TRUE(b.window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(b.skin->geometry(), QRect(0, 0, 200, 150));
  EXPECT_TRUE(b.skin->Draggable);
  b.skin->Setleft(50);
  b.skin->Settop(20);
  EXPECT_EQ(b.skin->pos(), QPoint(0, 0));
  b.skin->Setwidth(100);
  EXPECT_EQ(b.skin->width(), 100);
  b.window.show();
  b.window.resize(220, 160);
  EXPECT_EQ(b.skin->geometry(), QRect(0, 0, 220, 160));
}

TEST(SkinForm, OnAPanelItOnlyTakesTheCorner) {
  QWidget window;
  auto* panel = new QWidget(&window);
  panel->setGeometry(30, 30, 80, 60);
  auto* skin = new TSkinForm(panel);
  EXPECT_EQ(skin->geometry(), QRect(0, 0, 80, 60));
  EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
}

TEST(SkinForm, StoredOutlineShapesTheWindowAndIsWrittenBack) {
  SkinBench b;
  EXPECT_TRUE(b.skin->LoadOutline(Stored(kOutline)));
  EXPECT_EQ(b.window.mask(), kOutline);
  ASSERT_TRUE(b.skin->Mask()->Region().has_value());
  EXPECT_EQ(b.skin->StoredOutline(), Stored(kOutline));
}

TEST(SkinForm, NoOutlineOrABrokenOneLeavesTheWindowRectangular) {
  const QByteArray cases[] = {QByteArray(4, '\0'), QByteArray("\x40\x00\x00\x00\x20", 5),
                              Stored(kOutline).left(40)};
  for (const QByteArray& stored : cases) {
    SkinBench b;
    EXPECT_FALSE(b.skin->LoadOutline(stored));
    EXPECT_TRUE(b.window.mask().isEmpty());
    EXPECT_EQ(b.skin->StoredOutline(), QByteArray(4, '\0'));
  }
}

TEST(SkinForm, WhileDesigningTheOutlineIsHeldButNotApplied) {
  SkinBench b;
  b.skin->SetDesigning(true);
  EXPECT_TRUE(b.skin->LoadOutline(Stored(kOutline)));
  EXPECT_TRUE(b.window.mask().isEmpty());
  EXPECT_EQ(b.skin->StoredOutline(), Stored(kOutline));
}

TEST(SkinForm, ANewPictureForgetsTheHeldOutlineButNotTheWindowShape) {
  SkinBench b;
  b.skin->LoadOutline(Stored(kOutline));
  QPixmap picture(200, 150);
  picture.fill(Qt::blue);
  b.skin->SetPicture(picture);
  EXPECT_FALSE(b.skin->Mask()->Region().has_value());
  EXPECT_EQ(b.skin->StoredOutline(), QByteArray(4, '\0'));
  EXPECT_EQ(b.window.mask(), kOutline);
}

TEST(SkinForm, MaskIsReplacedButNeverByNothing) {
  SkinBench b;
  TRegionType* first = b.skin->Mask();
  b.skin->SetMask(nullptr);
  EXPECT_EQ(b.skin->Mask(), first);
  auto* replacement = new TRegionType;
  replacement->SetRegion(QRegion(0, 0, 5, 5));
  b.skin->SetMask(replacement);
  EXPECT_EQ(b.skin->Mask(), replacement);
  EXPECT_EQ(replacement->Owner(), b.skin);
  EXPECT_EQ(b.skin->StoredOutline(), Stored(QRegion(0, 0, 5, 5)));
  // Handing it the outline it holds keeps that outline alive.
  b.skin->SetMask(b.skin->Mask());
  EXPECT_EQ(b.skin->Mask(), replacement);
  EXPECT_EQ(b.skin->StoredOutline(), Stored(QRegion(0, 0, 5, 5)));
}

}  // namespace
