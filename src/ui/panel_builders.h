// Small builders for the controls of the window's panels: each makes a named
// control on `parent` at its place, in the font the panels use.
#pragma once
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QStringList>

namespace panel_builders {

// A panel without bevel on the list background, hidden.
QFrame* Panel(QWidget* parent, const char* name, const QRect& geometry);

// A label whose top-left corner is `at`, sized to its text.
QLabel* Label(QWidget* parent, const char* name, const QPoint& at, const QString& text, const QFont& font);

// An edit; `masked` shows "*" for every character. Text set by the program
// shows from its start.
QLineEdit* Edit(QWidget* parent, const char* name, const QRect& geometry, bool masked = false);

// A drop-down list that allows only a choice of its items; nothing chosen.
QComboBox* ChoiceList(QWidget* parent, const char* name, const QRect& geometry, const QStringList& items = {});

// A check box in the application's colours (its box keeps its own shading
// on the panel's background), unchecked.
QCheckBox* CheckBox(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                    const QFont& font);

QPushButton* Button(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                    const QFont& font);

}  // namespace panel_builders
