#include "master/ut2004_credentials.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace master {

namespace {

QByteArray Md5Hex(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

// Shaped like a key (four groups of five) and made of zeros: it cannot be
// anyone's.
constexpr char kPlaceholderKey[] = "00000-00000-00000-00000";

}  // namespace

Ut2004Credentials Ut2004Credentials::Placeholder() {
  const QByteArray key(kPlaceholderKey);
  return Ut2004Credentials(Md5Hex(key), key);
}

std::optional<Ut2004Credentials> Ut2004Credentials::FromCdKey(const QString& key, QString* error) {
  QString compact = key.trimmed().toUpper();
  compact.remove(QLatin1Char('-'));
  static const QRegularExpression shape(QStringLiteral("^[A-Z0-9]{20}$"));
  if (!shape.match(compact).hasMatch()) {
    if (error) *error = QStringLiteral("Der CD-Key hat nicht die Form XXXXX-XXXXX-XXXXX-XXXXX.");
    return std::nullopt;
  }
  const QString grouped = compact.mid(0, 5) + '-' + compact.mid(5, 5) + '-' + compact.mid(10, 5) + '-' +
                          compact.mid(15, 5);
  const QByteArray text = grouped.toLatin1();
  return Ut2004Credentials(Md5Hex(text), text);
}

std::optional<Ut2004Credentials> Ut2004Credentials::FromKeyHash(const QString& hash, QString* error) {
  const QString lower = hash.trimmed().toLower();
  static const QRegularExpression shape(QStringLiteral("^[0-9a-f]{32}$"));
  if (!shape.match(lower).hasMatch()) {
    if (error) *error = QStringLiteral("Der Key-Hash muss aus 32 Hexadezimalziffern bestehen.");
    return std::nullopt;
  }
  const QByteArray bytes = lower.toLatin1();
  return Ut2004Credentials(bytes, bytes);
}

QByteArray Ut2004Credentials::ChallengeResponse(const QByteArray& challenge) const {
  return Md5Hex(responseSecret_ + challenge);
}

}  // namespace master
