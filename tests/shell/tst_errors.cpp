// Errors that no handler deals with reach the program's error box, and the
// program goes on; Qt's own texts come in the language of the module.
#include "common/fakemessages.h"
#include "platform/cutstring.h"
#include "shell/application.h"
#include "store/helpers.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

namespace
{

// A window whose click handler meets a stored date that is not one.
class Faulty : public QObject
{
public:
    int handled = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++handled;
            CompteJours(QStringLiteral("2026x101"), QStringLiteral("20260101"));
        }
        return QObject::event(e);
    }
};

} // namespace

class TestErrors : public QObject
{
    Q_OBJECT
private slots:
    void anUnhandledErrorShowsItsTextAndTheProgramGoesOn()
    {
        FakeMessages m;
        Faulty faulty;
        QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(faulty.handled, 2);
        QCOMPARE(m.count(), 2);
        QCOMPARE(m.shown[0].kind, msg::Kind::Error);
        QCOMPARE(m.shown[0].text, QStringLiteral("'2026x101' n'est pas une date valide"));
    }

    void windowTitlesAreNotSuffixedWithTheProgramName()
    {
        // A display name set by the program would be appended to every
        // title (" — ORVALDIS"); unset, it only follows the application name.
        const QString name = QCoreApplication::applicationName();
        QCOMPARE(name, QStringLiteral("ORVALDIS"));
        QCoreApplication::setApplicationName(QStringLiteral("autre"));
        const QString shown = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(shown, QStringLiteral("autre"));
    }

    void qtButtonsInFrench()
    {
        installQtTranslations(QStringLiteral("Francais"));
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text().remove('&'), QStringLiteral("Oui"));
        QCOMPARE(box.button(QDialogButtonBox::No)->text().remove('&'), QStringLiteral("Non"));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove('&'),
                 QStringLiteral("Annuler"));
    }

    void cutStringMeasuresInTheFontOfTheGrid()
    {
        QFont f;
        f.setPointSize(9);
        const QString title = QStringLiteral("Ingénieur développement logiciel embarqué");
        QCOMPARE(CutString(f, title, 2000), title);
        const QString cut = CutString(f, title, 120);
        QVERIFY(cut.endsWith(QStringLiteral("...")));
        QVERIFY(title.startsWith(cut.chopped(3)));
        QFont arial(f);
        arial.setFamily(QStringLiteral("Arial"));
        QVERIFY(QFontMetrics(arial).horizontalAdvance(cut.chopped(3)) <= 119);
        QVERIFY(QFontMetrics(arial).horizontalAdvance(title.left(cut.size() - 2)) > 119);
    }
};

int main(int argc, char** argv)
{
    OrvaldisApplication app(argc, argv);
    TestErrors t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_errors.moc"
