// The settings file "quavik.ini": its keys, each written once, with its
// section and name, its default and the field of Settings that holds it.
// Settings::Load and Settings::Save (declared with Settings) are defined
// beside this table and go through it; its order is the order a save writes
// the keys in, so a file created by the first save lists them so.
#pragma once
#include <QString>
#include <variant>
#include <vector>

#include "app/settings.h"

namespace app {

struct SettingKey {
  QString section;
  QString key;
  int defaultNumber;  // of a flag or a number; text defaults to ""
  // The field's type is the key's kind: text as typed; a flag written "1"
  // or "0", any integer other than 0 reading as on; or a number (an item
  // index or a pixel position, a 32-bit integer).
  using Field = std::variant<QString Settings::*, bool Settings::*, int Settings::*>;
  Field field;
};

const std::vector<SettingKey>& SettingKeys();

}  // namespace app
