#pragma once
// TFormImpressionSociete: prints the sheet of the company shown, or the
// sheets of every company.

#include <QDialog>

class QRadioButton;

class TFormImpressionSociete : public QDialog
{
    Q_OBJECT
public:
    explicit TFormImpressionSociete(QWidget* parent);

    // Shown with "the selected sheet only" checked; true when the user
    // confirmed, `all` telling which choice.
    bool choose(bool* all);

    QRadioButton* RadioSelection = nullptr;
    QRadioButton* RadioTout = nullptr;
};
