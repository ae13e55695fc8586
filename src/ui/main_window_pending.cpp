// Handlers whose work belongs to the presence, game and news code.
#include "ui/main_window.h"

void TForm1::reloadClick() {
  // filled in with the presence/game/news work
}

void TForm1::button_aktivClick() {
  // filled in with the presence/game/news work
}

void TForm1::button_inaktivClick() {
  // filled in with the presence/game/news work
}

void TForm1::StartStop() {
  // filled in with the presence/game/news work
}

void TForm1::TimerTimer() {
  // filled in with the presence/game/news work
}

void TForm1::SendPlayerLocation(bool, bool) {
  // filled in with the presence/game/news work
}

void TForm1::LogoutUser() {
  // filled in with the presence/game/news work
}

void TForm1::RejectConnection() {
  // filled in with the presence/game/news work
}

void TForm1::ImportClanRoster() {
  // filled in with the presence/game/news work
}

void TForm1::ImportGlobalRoster() {
  // filled in with the presence/game/news work
}

void TForm1::ClearClanGrid() {
  // filled in with the presence/game/news work
}

void TForm1::ClearGlobalGrid() {
  // filled in with the presence/game/news work
}

void TForm1::InitGridHeadings() {
  // filled in with the presence/game/news work
}

void TForm1::UpdateVisDelay(int) {
  // filled in with the presence/game/news work
}

void TForm1::clan_activeClick() {
  // filled in with the presence/game/news work
}

void TForm1::DelayTimerTimer() {
  // filled in with the presence/game/news work
}

void TForm1::gridDblClick() {
  // filled in with the presence/game/news work
}

void TForm1::Image5Click() {
  // filled in with the presence/game/news work
}

void TForm1::serverlisteChange() {
  // filled in with the presence/game/news work
}

void TForm1::set_keybinder_echoChange() {
  // filled in with the presence/game/news work
}

void TForm1::GenKeyBind() {
  // filled in with the presence/game/news work
}

void TForm1::WriteKeyBindings() {
  // filled in with the presence/game/news work
}

void TForm1::WriteExecScripts() {
  // filled in with the presence/game/news work
}

void TForm1::Logsizecheck() {
  // filled in with the presence/game/news work
}

void TForm1::ShowPlayerName() {
  // filled in with the presence/game/news work
}

void TForm1::EnsureGameLog() {
  // filled in with the presence/game/news work
}

void TForm1::Image9Click() {
  // filled in with the presence/game/news work
}

void TForm1::SpeedButton1Click() {
  // filled in with the presence/game/news work
}
