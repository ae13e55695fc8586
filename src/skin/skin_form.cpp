#include "skin/skin_form.h"

#include <QEvent>
#include <string_view>

#include "skin/region_data.h"

TSkinForm::TSkinForm(QWidget* parent)
    : QLabel(parent), mask_(std::make_unique<TRegionType>(this)), drag_(new WindowDragFilter(this)) {
  setObjectName(QStringLiteral("SkinForm1"));
  // The picture covers everything: no background to erase first.
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  drag_->Watch(this);
  TakePlace();
}

TSkinForm::~TSkinForm() {
  if (watchedParent_) watchedParent_->removeEventFilter(this);
}

void TSkinForm::SetMask(TRegionType* mask) {
  if (!mask || mask == mask_.get()) return;  // setting the outline it holds changes nothing
  mask_.reset(mask);
  mask_->SetOwner(this);
}

void TSkinForm::Settop(int) { move(x(), 0); }
void TSkinForm::Setleft(int) { move(0, y()); }
void TSkinForm::Setwidth(int value) { resize(value, height()); }
void TSkinForm::Setheight(int value) { resize(width(), value); }

void TSkinForm::SetPicture(const QPixmap& picture) {
  setPixmap(picture);
  mask_->SetRegion(std::nullopt);
}

bool TSkinForm::LoadOutline(const QByteArray& stored) {
  const std::string_view bytes(stored.constData(), static_cast<std::size_t>(stored.size()));
  regionData_ = stored.size() > 4 ? stored.mid(4) : QByteArray();
  std::optional<QRegion> region = ParseOutline(bytes);
  if (!region) return false;
  mask_->SetRegion(region);
  if (!designing_ && parentWidget()) parentWidget()->window()->setMask(*region);
  return true;
}

QByteArray TSkinForm::StoredOutline() const {
  const std::string bytes = SerializeOutline(mask_->Region().value_or(QRegion()));
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool TSkinForm::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) TakePlace();
  return QLabel::event(event);
}

bool TSkinForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedParent_ && event->type() == QEvent::Resize) FillParent();
  return QLabel::eventFilter(watched, event);
}

// Placed on a window: the window loses its frame; anywhere: the skin sits at
// the top-left corner and fills its parent.
void TSkinForm::TakePlace() {
  QWidget* parent = parentWidget();
  if (watchedParent_ != parent) {
    if (watchedParent_) watchedParent_->removeEventFilter(this);
    watchedParent_ = parent;
    if (parent) parent->installEventFilter(this);
  }
  if (parent && parent->isWindow()) parent->setWindowFlag(Qt::FramelessWindowHint, true);
  Settop(0);
  Setleft(0);
  FillParent();
}

void TSkinForm::FillParent() {
  if (parentWidget()) setGeometry(parentWidget()->rect());
}
