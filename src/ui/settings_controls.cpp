#include "ui/settings_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "app/settings_keys.h"

namespace settings_controls {

void Show(QWidget& form, const app::SettingsValues& v) {
  for (const app::SettingKey& k : app::SettingKeys()) {
    if (k.control.isEmpty()) continue;
    QWidget* control = form.findChild<QWidget*>(k.control);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      edit->setText(v.*std::get<QString app::SettingsValues::*>(k.field));
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
      box->setChecked(v.*std::get<bool app::SettingsValues::*>(k.field));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      const int index = v.*std::get<int app::SettingsValues::*>(k.field);
      list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    }
  }
}

app::SettingsValues Read(const QWidget& form) {
  app::SettingsValues v;
  for (const app::SettingKey& k : app::SettingKeys()) {
    if (k.control.isEmpty()) continue;
    QWidget* control = form.findChild<QWidget*>(k.control);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      v.*std::get<QString app::SettingsValues::*>(k.field) = edit->text();
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
      v.*std::get<bool app::SettingsValues::*>(k.field) = box->isChecked();
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      v.*std::get<int app::SettingsValues::*>(k.field) = list->currentIndex();
    }
  }
  return v;
}

}  // namespace settings_controls
