#pragma once
// Small pieces shared by the program's dialogs.

#include <QString>

class QGridLayout;
class QLineEdit;
class QRadioButton;
class QWidget;

// Places a window in the middle of the screen it is on.
void centreOnScreen(QWidget* window);

// A labelled text field on a row of a grid: the label in column 0, the field
// in column 1, at most `limit` characters.
QLineEdit* labelledField(QGridLayout* grid, int row, const QString& label, const char* name,
                         int limit, QWidget* parent);

QRadioButton* namedRadio(const QString& caption, const char* name, QWidget* parent);

// Two radio buttons in a titled frame, one under the other or side by side.
class QGroupBox;
QGroupBox* radioPair(const QString& title, QRadioButton* a, QRadioButton* b, QWidget* parent,
                     bool sideBySide = false);

// A push button that does not take Enter from the fields around it.
class QPushButton;
QPushButton* namedButton(const QString& caption, const char* name, QWidget* parent);
