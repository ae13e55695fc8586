// Window dragging: a press alone leaves the window where it is and reaches
// the control; a left drag past the drag distance hands the move over.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>

#include "support/window_fixture.h"
#include "ui/image_control.h"
#include "skin/window_drag_filter.h"

using testing_support::WindowDriver;

namespace {

// The pointer's screen position is `origin` + `local`, wherever the window
// has gone meanwhile.
void Send(QWidget* target, QPoint origin, QEvent::Type type, QPoint local, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(local), QPointF(origin + local), button, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Press at (5, 5), move by `delta` with `button` held, release.
void Drag(QWidget* target, Qt::MouseButton button, QPoint delta) {
  const QPoint origin = target->mapToGlobal(QPoint(0, 0));
  const QPoint start(5, 5);
  Send(target, origin, QEvent::MouseButtonPress, start, button, button);
  Send(target, origin, QEvent::MouseMove, start + delta / 2, Qt::NoButton, button);
  Send(target, origin, QEvent::MouseMove, start + delta, Qt::NoButton, button);
  Send(target, origin, QEvent::MouseButtonRelease, start + delta, button, Qt::NoButton);
}

struct DragBench {
  DragBench() {
    window.resize(200, 100);
    image = new TImage(&window);
    image->setGeometry(10, 10, 100, 40);
    filter.Watch(image);
    filter.SetStartMove([this](QWidget* w) {
      moved.push_back(w);
      return managerTakesMove;
    });
    QObject::connect(image, &TImage::clicked, [this] { ++clicks; });
    QObject::connect(image, &TImage::doubleClicked, [this] { ++doubleClicks; });
    window.move(100, 100);
    window.show();
  }
  QWidget window;
  TImage* image;
  WindowDragFilter filter;
  std::vector<QWidget*> moved;
  bool managerTakesMove = true;
  int clicks = 0;
  int doubleClicks = 0;
};

// Just past the distance at which a press becomes a drag.
int Far() { return QApplication::startDragDistance() + 3; }

struct DragCase {
  const char* name;
  Qt::MouseButton button;
  QPoint delta;
  int expectedMoves;
  int expectedClicks;
};

TEST(WindowDragFilter, OnlyALeftDragPastTheDistanceMovesTheWindow) {
  const int near = QApplication::startDragDistance() / 2;
  const DragCase cases[] = {
      {"click without movement", Qt::LeftButton, {0, 0}, 0, 1},
      {"jitter below the drag distance", Qt::LeftButton, {near, 0}, 0, 1},
      {"left drag", Qt::LeftButton, {Far(), Far()}, 1, 0},
      {"right drag", Qt::RightButton, {Far(), Far()}, 0, 0},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    DragBench bench;
    Drag(bench.image, c.button, c.delta);
    ASSERT_EQ(bench.moved.size(), size_t(c.expectedMoves));
    if (c.expectedMoves) {
      EXPECT_EQ(bench.moved[0], &bench.window);
    }
    EXPECT_EQ(bench.clicks, c.expectedClicks);
  }
}

TEST(WindowDragFilter, DoubleClickStillReachesTheControl) {
  DragBench bench;
  QTest::mouseDClick(bench.image, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(bench.doubleClicks, 1);
  EXPECT_TRUE(bench.moved.empty());
}

TEST(WindowDragFilter, WindowFollowsThePointerWhenTheManagerCannotMoveIt) {
  DragBench bench;
  bench.managerTakesMove = false;
  const QPoint before = bench.window.pos();
  Drag(bench.image, Qt::LeftButton, {Far(), 2 * Far()});
  EXPECT_EQ(bench.window.pos(), before + QPoint(Far(), 2 * Far()));
  EXPECT_EQ(bench.clicks, 0);
}

TEST(WindowDragFilter, MainWindowMovesByItsFourDragControls) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  std::vector<QWidget*> moved;
  f.Control<WindowDragFilter>("windowDrag")->SetStartMove([&](QWidget* window) {
    moved.push_back(window);
    return true;
  });
  f.Control<TSkinForm>("SkinForm1")->Drag()->SetStartMove([&](QWidget* window) {
    moved.push_back(window);
    return true;
  });
  for (QWidget* handle : {static_cast<QWidget*>(f.Label("OwnerLabel")), static_cast<QWidget*>(f.Image("Image12")),
                          static_cast<QWidget*>(f.Label("Label8")), f.ClanList()->viewport(), f.ClanList()->horizontalHeader()->viewport(),
                          static_cast<QWidget*>(f.Control<TSkinForm>("SkinForm1"))}) {
    moved.clear();
    Drag(handle, Qt::LeftButton, {Far(), Far()});
    ASSERT_EQ(moved.size(), 1u) << handle->objectName().toStdString();
    EXPECT_EQ(moved[0], &f.window());
  }
  // A plain click on the clan list selects, it does not move.
  moved.clear();
  QTest::mouseClick(f.ClanList()->viewport(), Qt::LeftButton, {}, f.ClanList()->visualItemRect(f.ClanList()->item(1, 0)).center());
  EXPECT_TRUE(moved.empty());
  EXPECT_EQ(f.ClanList()->currentRow(), 1);
}

}  // namespace
