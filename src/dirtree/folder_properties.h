// The tree's own properties box for a drive or folder: path, type, size,
// item count, owner, permissions and last change.
#pragma once
#include <QDialog>
#include <QLocale>
#include <QPair>
#include <QString>
#include <QVector>

#include "dirtree/dir_tree_texts.h"
#include "dirtree/tree_size.h"

namespace dirtree {

// The rows of the box, label and value, in display order.
QVector<QPair<QString, QString>> PropertyRows(TLanguage language, const QString& path, bool isDrive,
                                              const TreeTotals& totals, const QLocale& locale);

}  // namespace dirtree

class TFolderPropertiesBox : public QDialog {
  Q_OBJECT

 public:
  TFolderPropertiesBox(QWidget* parent, TLanguage language, const QString& path,
                       const QVector<QPair<QString, QString>>& rows);
};
