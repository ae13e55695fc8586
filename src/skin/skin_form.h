// TSkinForm: the picture that turns the window it is placed on into a skinned
// window. Placed on a top-level window it takes that window's frame away,
// fills the window's client area with its picture (it always sits at the
// top-left corner and follows the window's size), and lets the user move the
// window by dragging the picture with the left button. A stored outline
// ("Mask2", see region_data.h) is kept in its Mask and, outside design mode,
// applied to the window as its shape.
#pragma once
#include <QByteArray>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <memory>
#include <optional>

#include "skin/window_drag_filter.h"

class TSkinForm;

// The skin's outline: a region, or none.
class TRegionType {
 public:
  explicit TRegionType(TSkinForm* owner = nullptr) : owner_(owner) {}
  const std::optional<QRegion>& Region() const { return region_; }
  void SetRegion(std::optional<QRegion> region) { region_ = std::move(region); }
  TSkinForm* Owner() const { return owner_; }
  void SetOwner(TSkinForm* owner) { owner_ = owner; }

 private:
  std::optional<QRegion> region_;
  TSkinForm* owner_;
};

class TSkinForm : public QLabel {
  Q_OBJECT

 public:
  explicit TSkinForm(QWidget* parent = nullptr);
  ~TSkinForm() override;

  // The outline object; SetMask replaces it and takes ownership (null, or the
  // object it already holds, is ignored).
  TRegionType* Mask() const { return mask_.get(); }
  void SetMask(TRegionType* mask);

  // Stored and kept; the drag does not consult it.
  bool Draggable = true;

  // Position and size: top and left always become 0, width and height are taken.
  virtual void Settop(int value);
  virtual void Setleft(int value);
  virtual void Setwidth(int value);
  virtual void Setheight(int value);

  // The picture; a change forgets an outline the skin still holds (an outline
  // already applied to the window stays).
  void SetPicture(const QPixmap& picture);

  // Loads the stored "Mask2" block; a usable outline is kept in Mask and,
  // outside design mode, applied to the window. Malformed data is ignored and
  // the window keeps its shape. Returns whether an outline was loaded.
  bool LoadOutline(const QByteArray& stored);
  // The "Mask2" block of the outline the skin holds (4 zero bytes for none).
  QByteArray StoredOutline() const;
  // The raw region data as last loaded.
  const QByteArray& RegionData() const { return regionData_; }

  // While designing, a loaded outline is not applied to the window.
  void SetDesigning(bool designing) { designing_ = designing; }

  WindowDragFilter* Drag() const { return drag_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TakePlace();
  void FillParent();

  std::unique_ptr<TRegionType> mask_;
  QByteArray regionData_;
  bool designing_ = false;
  WindowDragFilter* drag_;
  QPointer<QWidget> watchedParent_;
};
