#pragma once
#include <initializer_list>

class QFormLayout;
class QAction;
class QHBoxLayout;
class QKeySequence;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// The few pieces the small dialogs of the shell are made of, so that they look and behave alike.

// A line edit that masks what is typed (passwords).
QLineEdit *NewPasswordEdit(QWidget *parent, const QString &objectName);
// A form with its captions right-aligned beside the fields.
QFormLayout *NewForm();
// A grey explanatory text beside a field or under a form.
QLabel *NoteLabel(const QString &text, QWidget *parent);
// The buttons at the foot of a dialog, right-aligned, with an optional note at the left. The
// first button is the one Enter presses.
QHBoxLayout *ButtonRow(std::initializer_list<QPushButton *> buttons, QWidget *note = nullptr);
// A dialog made of its fields above the button row.
void LayOutFormDialog(QWidget *dialog, QLayout *fields, std::initializer_list<QPushButton *> buttons,
                      QWidget *note = nullptr);

// Enter in each field but the last moves on to the next one (its text selected) instead of
// pressing the default button; Enter in the last field presses it as usual. For forms where a
// premature OK would do harm, e.g. store an empty new password.
void EnterMovesOn(std::initializer_list<QLineEdit *> fields);

// Gives a tool-bar action of a window a key that works wherever the window's focus is (tool-bar
// buttons take no focus, so without it the action is out of the keyboard's reach) and names the
// key in the action's tool tip.
void AddWindowKey(QWidget *window, QAction *action, const QKeySequence &key);
