// The answer a GameSpy-style master expects to its challenge (the
// "\secure\" value): the game's secret keys an RC4 state, each challenge
// byte is mixed with it, and the bytes that come out are sent in standard
// Base64. Six challenge letters give eight answer characters.
#pragma once
#include <QByteArray>
#include <string_view>

namespace master {

QByteArray GamespyValidate(std::string_view challenge, std::string_view secret);

}  // namespace master
