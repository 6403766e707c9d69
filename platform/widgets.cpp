#include "platform/widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

void centreOnScreen(QWidget* w)
{
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const QRect g = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    // A window not shown yet and never given a size takes the one its
    // layout asks for, so that its middle is where it will be.
    if (!w->isVisible() && !w->testAttribute(Qt::WA_Resized)) w->adjustSize();
    w->move(g.x() + (g.width() - w->width()) / 2, g.y() + (g.height() - w->height()) / 2);
}

QLineEdit* labelledField(QGridLayout* grid, int row, const QString& label, const char* name,
                         int limit, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(limit);
    edit->setMinimumWidth(220);
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    edit->setAccessibleName(label);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QRadioButton* namedRadio(const QString& caption, const char* name, QWidget* parent)
{
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QPushButton* namedButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QGroupBox* radioPair(const QString& title, QRadioButton* a, QRadioButton* b, QWidget* parent,
                     bool sideBySide)
{
    auto* g = new QGroupBox(title, parent);
    QBoxLayout* l = sideBySide ? static_cast<QBoxLayout*>(new QHBoxLayout(g))
                               : static_cast<QBoxLayout*>(new QVBoxLayout(g));
    a->setParent(g);
    b->setParent(g);
    l->addWidget(a);
    l->addWidget(b);
    if (sideBySide) l->addStretch(1);
    return g;
}
