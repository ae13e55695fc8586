#include "master/internal/gamespy_validate.h"

#include <array>
#include <cstdint>
#include <utility>

namespace master {

QByteArray GamespyValidate(std::string_view challenge, std::string_view secret) {
  std::array<std::uint8_t, 256> state{};
  for (int i = 0; i < 256; ++i) state[i] = std::uint8_t(i);
  if (!secret.empty()) {
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
      j = std::uint8_t(j + state[i] + std::uint8_t(secret[size_t(i) % secret.size()]));
      std::swap(state[i], state[j]);
    }
  }
  QByteArray mixed;
  mixed.reserve(qsizetype(challenge.size()));
  std::uint8_t a = 0;
  std::uint8_t b = 0;
  for (const char letter : challenge) {
    const auto c = std::uint8_t(letter);
    a = std::uint8_t(a + c + 1);
    b = std::uint8_t(b + state[a]);
    std::swap(state[a], state[b]);
    mixed.append(char(c ^ state[std::uint8_t(state[a] + state[b])]));
  }
  return mixed.toBase64();
}

}  // namespace master
