#include "dirtree/folder_properties.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dirtree {
namespace {

QString PermissionText(QFile::Permissions p) {
  const QFile::Permission bits[] = {QFile::ReadOwner, QFile::WriteOwner, QFile::ExeOwner,
                                    QFile::ReadGroup, QFile::WriteGroup, QFile::ExeGroup,
                                    QFile::ReadOther, QFile::WriteOther, QFile::ExeOther};
  QString text;
  for (int i = 0; i < 9; ++i) text += (p & bits[i]) ? QLatin1Char("rwx"[i % 3]) : QLatin1Char('-');
  return text;
}

}  // namespace

QVector<QPair<QString, QString>> PropertyRows(TLanguage language, const QString& path, bool isDrive,
                                              const TreeTotals& totals, const QLocale& locale) {
  const QFileInfo info(path);
  const QString size = ShortSize(totals.bytes, language, locale) + QStringLiteral(" (") +
                       locale.toString(qulonglong(totals.bytes)) + ' ' + Tr(language, Text::TreeSizeBytes) + ')';
  const QString contains =
      Tr(language, Text::PropContainsValue).arg(locale.toString(qulonglong(totals.files)),
                                                 locale.toString(qulonglong(totals.folders)));
  QString owner = info.owner();
  if (!info.group().isEmpty()) owner += QStringLiteral(" / ") + info.group();
  return {
      {Tr(language, Text::PropPath), path},
      {Tr(language, Text::PropType), Tr(language, isDrive ? Text::PropTypeDrive : Text::PropTypeFolder)},
      {Tr(language, Text::PropSize), size},
      {Tr(language, Text::PropContains), contains},
      {Tr(language, Text::PropOwner), owner},
      {Tr(language, Text::PropPermissions), PermissionText(info.permissions())},
      {Tr(language, Text::PropModified), locale.toString(info.lastModified(), QLocale::ShortFormat)},
  };
}

}  // namespace dirtree

TFolderPropertiesBox::TFolderPropertiesBox(QWidget* parent, TLanguage language, const QString& path,
                                           const QVector<QPair<QString, QString>>& rows)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FolderProperties"));
  setWindowTitle(dirtree::Tr(language, dirtree::Text::PropertiesTitle) + QStringLiteral(" - ") +
                 (QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName()));
  auto* form = new QFormLayout;
  for (const auto& [label, value] : rows) {
    auto* shown = new QLabel(value);
    shown->setTextFormat(Qt::PlainText);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(label, shown);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(dirtree::Tr(language, dirtree::Text::CloseButton));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}
