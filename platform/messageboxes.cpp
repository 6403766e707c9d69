#include "platform/messageboxes.h"

#include <QApplication>
#include <QMessageBox>

bool MessageBoxes::show(msg::Kind kind, const QString& text, bool yesNo)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case msg::Kind::Error:
        icon = QMessageBox::Critical;
        break;
    case msg::Kind::Information:
        icon = QMessageBox::Information;
        break;
    case msg::Kind::Warning:
        icon = QMessageBox::Warning;
        break;
    case msg::Kind::Confirmation:
        icon = QMessageBox::Question;
        break;
    case msg::Kind::Plain:
        break;
    }
    QMessageBox box(icon, QApplication::applicationDisplayName(), msg::displayText(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (yesNo) box.setDefaultButton(QMessageBox::Yes);
    return box.exec() != QMessageBox::No;
}
