// What a UT 2004 master wants to see of a CD key: the key's MD5 (32
// lower-case hex digits) and, for each connection, the MD5 of the key's
// text followed by the master's challenge. Quavik never reads the game's
// key on its own: by default it shows a placeholder key, well-formed but
// nobody's; the user may hand over a key or a key hash of their own.
#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace master {

class Ut2004Credentials {
 public:
  // The placeholder: a key of the right shape that belongs to no one.
  static Ut2004Credentials Placeholder();
  // The user's own key as printed on the box (four groups of five letters
  // and digits, hyphens optional in what is typed). Empty and *error set when it
  // does not look like one.
  static std::optional<Ut2004Credentials> FromCdKey(const QString& key, QString* error);
  // The user's own key hash (32 hex digits). Without the key itself the
  // per-connection answer is the MD5 of the hash and the challenge; the
  // community masters take it, a master that checks it against the key does
  // not.
  static std::optional<Ut2004Credentials> FromKeyHash(const QString& hash, QString* error);

  // 32 lower-case hex digits.
  QByteArray KeyHash() const { return keyHash_; }
  // The answer to one challenge: 32 lower-case hex digits.
  QByteArray ChallengeResponse(const QByteArray& challenge) const;

 private:
  Ut2004Credentials(QByteArray keyHash, QByteArray responseSecret)
      : keyHash_(std::move(keyHash)), responseSecret_(std::move(responseSecret)) {}

  QByteArray keyHash_;
  QByteArray responseSecret_;  // what goes in front of the challenge
};

}  // namespace master
