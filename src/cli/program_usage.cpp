#include "cli/program_usage.h"

#include <array>

namespace {

// Qt's own start-up options: those followed by a value, and the switches.
constexpr std::array kQtValueOptions{"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                     "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style",
                                     "stylesheet", "name", "title", "visual", "qmljsdebugger"};
constexpr std::array kQtSwitches{"reverse", "nograb", "dograb", "sync", "widgetcount", "testability"};

template <size_t N>
bool Contains(const std::array<const char*, N>& names, const QString& name) {
  for (const char* known : names)
    if (name == QLatin1String(known)) return true;
  return false;
}

}  // namespace

QString QuavikUsage() {
  return QStringLiteral(
      "Usage: quavik [LOG]                 the window; LOG writes the activity log quavik.log\n"
      "       quavik --find-games          the game installs found (game, tab, directory)\n"
      "       quavik --query HOST[:PORT] --game ut|to|ut2003|ut2004 [--json] [--timeout MS] [--query-port N]\n"
      "       quavik --find-player NAME --game ut|to|ut2003|ut2004 [--master HOST:PORT]... [--contains] [--json]\n"
      "                            [--timeout MS] [--refresh]   a player on the public servers\n"
      "       quavik --list-servers --game ut|to|ut2003|ut2004 [--master HOST:PORT]... [--json] [--timeout MS]\n"
      "                            [--refresh]                  the public servers\n"
      "       quavik --help                this text\n"
      "The window also takes Qt's own options, e.g. -platform NAME or -style NAME.\n"
      "Exit status: 0 done, 1 nothing found or no answer, 2 usage error.\n");
}

StartChoice ChooseStart(const QStringList& arguments) {
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) return {StartRequest::Help, {}};
    if (!argument.startsWith('-')) continue;
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    const bool valueAttached = name.contains('=');
    name = name.section('=', 0, 0);
    if (Contains(kQtSwitches, name)) continue;
    if (Contains(kQtValueOptions, name)) {
      if (!valueAttached) ++i;
      continue;
    }
    return {StartRequest::UnknownOption, argument};
  }
  return {StartRequest::Window, {}};
}
