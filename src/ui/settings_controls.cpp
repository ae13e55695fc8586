#include "ui/settings_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <vector>

#include "app/settings_file.h"

namespace settings_controls {
namespace {

struct Control {
  app::SettingKey::Field field;
  const char* name;
};

const std::vector<Control>& Controls() {
  using S = app::Settings;
  static const std::vector<Control> controls{
      {&S::globalScriptUrl, "set_globalserver"}, {&S::globalPass, "set_globalpass"},
      {&S::scriptUrl, "set_server"},             {&S::directory, "set_todir"},
      {&S::pass, "set_pass"},                    {&S::updateInterval, "set_intervall"},
      {&S::clansite, "set_clansite"},            {&S::logSizeCheck, "set_logkill"},
      {&S::notify, "set_notify"},                {&S::trayMinimize, "set_traymin"},
      {&S::gameIndex, "set_retailmod"},          {&S::keyEcho, "set_keybinder_echo"},
      {&S::keySay, "set_keybinder_say"},         {&S::keyTeamsay, "set_keybinder_teamsay"},
  };
  return controls;
}

}  // namespace

void WatchEdits(QWidget& form, const std::function<void()>& edited) {
  for (const Control& c : Controls()) {
    QWidget* control = form.findChild<QWidget*>(QString::fromLatin1(c.name));
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      QObject::connect(edit, &QLineEdit::textChanged, &form, edited);
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
      QObject::connect(box, &QCheckBox::toggled, &form, edited);
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      QObject::connect(list, &QComboBox::currentIndexChanged, &form, edited);
    }
  }
}

void Show(QWidget& form, const app::Settings& v) {
  for (const Control& c : Controls()) {
    QWidget* control = form.findChild<QWidget*>(QString::fromLatin1(c.name));
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      const QString& text = v.*std::get<QString app::Settings::*>(c.field);
      if (edit->text() != text) edit->setText(text);
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
      box->setChecked(v.*std::get<bool app::Settings::*>(c.field));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      const int index = v.*std::get<int app::Settings::*>(c.field);
      list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    }
  }
}

app::Settings Read(const QWidget& form, const app::Settings& base) {
  app::Settings v = base;
  for (const Control& c : Controls()) {
    QWidget* control = form.findChild<QWidget*>(QString::fromLatin1(c.name));
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      v.*std::get<QString app::Settings::*>(c.field) = edit->text();
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
      v.*std::get<bool app::Settings::*>(c.field) = box->isChecked();
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      v.*std::get<int app::Settings::*>(c.field) = list->currentIndex();
    }
  }
  return v;
}

}  // namespace settings_controls
