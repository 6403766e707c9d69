// The mail hand-off: the command line given to xdg-email, what its outcome
// becomes, and what the user sees for each result.
#include "common/fakemessages.h"
#include "platform/mailsender.h"
#include "store/texts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

Q_DECLARE_METATYPE(mail::ProcessOutcome)

namespace
{

using mail::ProcessOutcome;

// A mail client that answers from a script and remembers what it was given.
struct FakeRunner {
    ProcessOutcome answer{ProcessOutcome::Finished, 0};
    QList<QPair<QString, QStringList>> calls;

    mail::ProcessRunner runner()
    {
        return [this](const QString& program, const QStringList& args) {
            calls.append({program, args});
            return answer;
        };
    }
};

// What a mail client reads from a mailto: address.
struct Decoded {
    QStringList to;
    QUrlQuery query;
    QString field(const QString& name) const
    {
        return query.queryItemValue(name, QUrl::FullyDecoded);
    }
    QStringList list(const QString& name) const
    {
        QStringList out;
        const QString raw = query.queryItemValue(name, QUrl::FullyEncoded);
        for (const QString& item : raw.split(QLatin1Char(',')))
            out.append(QUrl::fromPercentEncoding(item.toLatin1()));
        return out;
    }
};

Decoded decode(const QString& address)
{
    Decoded d;
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("mailto")) return d;
    // Split before decoding: a comma inside an address is encoded.
    for (const QString& item : url.path(QUrl::FullyEncoded).split(QLatin1Char(',')))
        d.to.append(QUrl::fromPercentEncoding(item.toLatin1()));
    d.query = QUrlQuery(url.query(QUrl::FullyEncoded));
    return d;
}

QString writeFile(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write("%PDF-1.4\n");
    return path;
}

const QString Generic = QStringLiteral("Erreur lors de l'envoi du mail (%1).");

} // namespace

class TestMailSender : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setTextSource([](int id) { return QStringLiteral("texte %1").arg(id); });
    }
    void cleanupTestCase() { setTextSource(nullptr); }

    void theClientGetsRecipientsSubjectAndBodyAsSet()
    {
        mail::Message m;
        m.to = QStringList{QStringLiteral("rh@exemple.fr"),
                           QStringLiteral("Dupont, Jean <j.dupont@exemple.fr>")};
        m.cc = QStringList{QStringLiteral("copie@exemple.fr")};
        m.bcc = QStringList{QStringLiteral("cachee@exemple.fr"), QStringLiteral("moi@exemple.fr")};
        m.subject = QStringLiteral("Candidature n°12 : développeur C++ & Qt ? 100% = oui #1");
        m.bodyLines =
            QStringList{QStringLiteral("Bonjour,"), QString(),
                        QStringLiteral("Voir C:\\new\\cv.doc"), QStringLiteral("Cordialement")};
        const QStringList args = mail::xdgEmailArguments(m);
        QVERIFY(!args.isEmpty());

        const Decoded d = decode(args.last());
        QCOMPARE(d.to, m.to);
        QCOMPARE(d.list(QStringLiteral("cc")), m.cc);
        QCOMPARE(d.list(QStringLiteral("bcc")), m.bcc);
        QCOMPARE(d.field(QStringLiteral("subject")), m.subject);
        QCOMPARE(d.field(QStringLiteral("body")),
                 QStringLiteral("Bonjour,\r\n\r\nVoir C:\\new\\cv.doc\r\nCordialement\r\n"));
        // To, then copies, then blind copies.
        const auto items = d.query.queryItems();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[0].first, QStringLiteral("cc"));
        QCOMPARE(items[1].first, QStringLiteral("bcc"));
        // Texts reach xdg-email already encoded: its own encoding would mangle
        // backslashes and line ends.
        QVERIFY(!args.contains(QStringLiteral("--subject")));
        QVERIFY(!args.contains(QStringLiteral("--body")));
        QVERIFY(!args.last().contains(QLatin1Char('\\')));
        QVERIFY(!args.last().contains(QLatin1Char('\r')));
        QCOMPARE(args.first(), QStringLiteral("--utf8"));
    }

    void emptyAddressesStayRecipientsWithoutAnEmptyArgument()
    {
        mail::Message m;
        m.to = QStringList{QString()};
        QStringList args = mail::xdgEmailArguments(m);
        QCOMPARE(args, (QStringList{QStringLiteral("--utf8"), QStringLiteral("mailto:")}));
        QCOMPARE(decode(args.last()).to, QStringList{QString()});

        m.to = QStringList{QStringLiteral("a@exemple.fr"), QString()};
        m.cc = QStringList{QString()};
        args = mail::xdgEmailArguments(m);
        const Decoded d = decode(args.last());
        QCOMPARE(d.to, (QStringList{QStringLiteral("a@exemple.fr"), QString()}));
        QVERIFY(d.query.hasQueryItem(QStringLiteral("cc")));
        QCOMPARE(d.list(QStringLiteral("cc")), QStringList{QString()});
        // xdg-email refuses an empty argument or option value.
        for (const QString& a : args)
            QVERIFY2(!a.isEmpty(), qPrintable(args.join(' ')));
    }

    void attachmentsArePassedWithTheirFullPath()
    {
        QTemporaryDir dir;
        const QString cv = writeFile(dir, QStringLiteral("CV Jean.pdf"));
        const QString lettre = writeFile(dir, QStringLiteral("lettre.pdf"));
        QVERIFY(!cv.isEmpty() && !lettre.isEmpty());
        mail::Message m;
        m.attachments = QStringList{cv, QDir::current().relativeFilePath(lettre)};
        const QStringList args = mail::xdgEmailArguments(m);
        QCOMPARE(args.mid(1, 4),
                 (QStringList{QStringLiteral("--attach"), cv, QStringLiteral("--attach"), lettre}));
        QVERIFY(args.last().startsWith(QStringLiteral("mailto:")));
    }

    void whatTheUserSeesAfterSending_data()
    {
        QTest::addColumn<ProcessOutcome>("outcome");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("box"); // empty: no box
        QTest::newRow("compose window opened")
            << ProcessOutcome{ProcessOutcome::Finished, 0} << true << QString();
        QTest::newRow("client still open")
            << ProcessOutcome{ProcessOutcome::StillRunning, 0} << true << QString();
        QTest::newRow("xdg-email missing")
            << ProcessOutcome{ProcessOutcome::NotStarted, 0} << false << Generic.arg(-1);
        QTest::newRow("no mail client")
            << ProcessOutcome{ProcessOutcome::Finished, 3} << false << Generic.arg(-1);
        QTest::newRow("attachment vanished")
            << ProcessOutcome{ProcessOutcome::Finished, 2} << false << QStringLiteral("texte 214");
        QTest::newRow("attachment unreadable")
            << ProcessOutcome{ProcessOutcome::Finished, 5} << false << QStringLiteral("texte 214");
        QTest::newRow("client failed")
            << ProcessOutcome{ProcessOutcome::Finished, 4} << false << Generic.arg(2);
        QTest::newRow("refused by xdg-email")
            << ProcessOutcome{ProcessOutcome::Finished, 1} << false << Generic.arg(2);
        QTest::newRow("crashed") << ProcessOutcome{ProcessOutcome::Crashed, 0} << false
                                 << Generic.arg(2);
    }
    void whatTheUserSeesAfterSending()
    {
        QFETCH(ProcessOutcome, outcome);
        QFETCH(bool, success);
        QFETCH(QString, box);
        FakeMessages messages;
        FakeRunner client;
        client.answer = outcome;
        MailSender sender;
        sender.setRunner(client.runner());
        sender.setTo({QStringLiteral("rh@exemple.fr")});
        sender.setSubject(QStringLiteral("Candidature"));

        QCOMPARE(sender.sendAndReport(), success);
        QCOMPARE(client.calls.size(), 1);
        QCOMPARE(client.calls[0].first, QStringLiteral("xdg-email"));
        QCOMPARE(decode(client.calls[0].second.last()).to,
                 QStringList{QStringLiteral("rh@exemple.fr")});
        if (box.isEmpty()) {
            QCOMPARE(messages.count(), 0);
        } else {
            QCOMPARE(messages.texts(), QStringList{box});
            QCOMPARE(messages.shown[0].kind, msg::Kind::Error);
            QVERIFY(!messages.shown[0].yesNo);
        }
        // Only a user abort forgets the message.
        QCOMPARE(sender.message().subject, QStringLiteral("Candidature"));
    }

    void userAbortClearsSilentlyOtherCodesShowTheirNumber()
    {
        FakeMessages messages;
        MailSender sender;
        sender.setTo({QStringLiteral("a@exemple.fr")});
        sender.setCc({QStringLiteral("b@exemple.fr")});
        sender.setBcc({QStringLiteral("c@exemple.fr")});
        sender.setSubject(QStringLiteral("Objet"));
        sender.setBody({QStringLiteral("ligne")});
        sender.addBodyLine(QStringLiteral("suite"));
        QCOMPARE(sender.message().bodyLines.size(), 2);
        sender.setAttachments({QStringLiteral("/tmp/cv.pdf")});

        for (int code : {9, 10, 18, 7})
            QVERIFY(!sender.report(code));
        QCOMPARE(messages.texts(),
                 (QStringList{Generic.arg(9), Generic.arg(10), Generic.arg(18), Generic.arg(7)}));
        QCOMPARE(sender.message().to.size(), 1);

        messages.clear();
        QVERIFY(!sender.report(mail::UserAbort));
        QCOMPARE(messages.count(), 0);
        const mail::Message& m = sender.message();
        QVERIFY(m.to.isEmpty() && m.cc.isEmpty() && m.bcc.isEmpty() && m.subject.isEmpty() &&
                m.bodyLines.isEmpty() && m.attachments.isEmpty());
        QVERIFY(sender.report(mail::Success));
        QCOMPARE(messages.count(), 0);
    }

    void attachmentsAreCheckedBeforeAnythingRuns()
    {
        QTemporaryDir dir;
        const QString cv = writeFile(dir, QStringLiteral("cv.pdf"));
        FakeMessages messages;
        FakeRunner client;
        MailSender sender;
        sender.setRunner(client.runner());

        sender.setAttachments({cv, dir.filePath(QStringLiteral("absent.pdf"))});
        QCOMPARE(sender.send(), int(mail::AttachmentNotFound));
        sender.setAttachments({dir.path()}); // a folder cannot be attached
        QCOMPARE(sender.send(), int(mail::AttachmentOpenFailure));
        QVERIFY(client.calls.isEmpty());

        sender.setAttachments({dir.filePath(QStringLiteral("absent.pdf"))});
        QVERIFY(!sender.sendAndReport());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("texte 214")});
        QVERIFY(client.calls.isEmpty());

        sender.setAttachments({cv});
        QCOMPARE(sender.send(), int(mail::Success));
        QCOMPARE(client.calls.size(), 1);
        QVERIFY(client.calls[0].second.contains(cv));
    }

    void aBodyTooLongForTheCommandLineIsRefused()
    {
        FakeMessages messages;
        FakeRunner client;
        MailSender sender;
        sender.setRunner(client.runner());
        // 30 000 accented letters: 180 000 bytes once encoded.
        sender.setBody({QString(30000, QChar(0xE9))});
        QVERIFY(!sender.sendAndReport());
        QCOMPARE(messages.texts(), QStringList{Generic.arg(18)});
        QVERIFY(client.calls.isEmpty());

        messages.clear();
        sender.setBody({QString(10000, QChar(0xE9))});
        QVERIFY(sender.sendAndReport());
        QCOMPARE(client.calls.size(), 1);
    }

    void runningAProcessNeverHangs()
    {
        using mail::runProcess;
        QCOMPARE(runProcess(QStringLiteral("/nonexistent/xdg-email"), {}, 5000).state,
                 ProcessOutcome::NotStarted);

        ProcessOutcome o = runProcess(QStringLiteral("/bin/sh"),
                                      {QStringLiteral("-c"), QStringLiteral("exit 5")}, 5000);
        QCOMPARE(o.state, ProcessOutcome::Finished);
        QCOMPARE(o.exitCode, 5);
        o = runProcess(QStringLiteral("/bin/sh"),
                       {QStringLiteral("-c"), QStringLiteral("kill -9 $$")}, 5000);
        QCOMPARE(o.state, ProcessOutcome::Crashed);

        QElapsedTimer clock;
        clock.start();
        o = runProcess(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 3")},
                       300);
        QCOMPARE(o.state, ProcessOutcome::StillRunning);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    }

    // The interface is never held by the mail client: a client still open
    // leaves the call at once, one that fails says so when it ends.
    void theClientRunsOnItsOwn()
    {
        FakeMessages messages;
        const QByteArray path = qgetenv("PATH");
        std::vector<std::unique_ptr<QTemporaryDir>> bins;
        auto tool = [&](const QByteArray& body) {
            // A folder of its own each time: a client still running goes on
            // reading its own script.
            bins.push_back(std::make_unique<QTemporaryDir>());
            const QString script = bins.back()->filePath("xdg-email");
            qputenv("PATH", bins.back()->path().toLocal8Bit() + ':' + path);
            QFile f(script);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("#!/bin/sh\n" + body + "\n");
            f.close();
            f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ExeOwner);
        };
        MailSender sender;
        sender.setTo({QStringLiteral("rh@example.com")});

        tool("sleep 3");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(sender.sendAndReport());
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(messages.count(), 0);

        tool("exit 4"); // the client failed
        QVERIFY(sender.sendAndReport());
        QTRY_COMPARE(messages.texts(), QStringList(mail::errorText(mail::Failure)));

        // No client at all: said at once.
        messages.clear();
        qputenv("PATH", "/nonexistent");
        QVERIFY(!sender.sendAndReport());
        QCOMPARE(messages.texts(), QStringList(mail::errorText(mail::Unavailable)));
        qputenv("PATH", path);
    }

    // With the real xdg-email, a MAILER that records the address it is given.
    void theRealXdgEmailHandsOverTheSameMessage()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty())
            QSKIP("xdg-email (xdg-utils) is not installed");
        QTemporaryDir dir;
        const QString received = dir.filePath(QStringLiteral("received"));
        const QString client = dir.filePath(QStringLiteral("client"));
        {
            QFile f(client);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\nprintf '%s' \"$1\" > \"$RECEIVED\"\nexit \"$ANSWER\"\n");
        }
        QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString cv = writeFile(dir, QStringLiteral("cv.pdf"));
        qputenv("MAILER", client.toLocal8Bit());
        qputenv("RECEIVED", received.toLocal8Bit());
        qputenv("ANSWER", "0");

        FakeMessages messages;
        MailSender sender;
        sender.setTo({QString()});
        sender.setSubject(QStringLiteral("Coordonnées de société"));
        sender.setBody({QStringLiteral("ACME"), QStringLiteral("  Tél: 01 02 03 04 05")});
        sender.setAttachments({cv});
        QVERIFY(sender.sendAndReport());
        QTRY_VERIFY(QFileInfo(received).size() > 0);
        QCOMPARE(messages.count(), 0);
        QFile r(received);
        QVERIFY(r.open(QIODevice::ReadOnly));
        const Decoded d = decode(QString::fromUtf8(r.readAll()));
        QCOMPARE(d.to, QStringList{QString()});
        QCOMPARE(d.field(QStringLiteral("subject")), QStringLiteral("Coordonnées de société"));
        QCOMPARE(d.field(QStringLiteral("body")),
                 QStringLiteral("ACME\r\n  Tél: 01 02 03 04 05\r\n"));
        QCOMPARE(d.field(QStringLiteral("attach")), cv);

        qputenv("ANSWER", "1");
        QVERIFY(sender.sendAndReport()); // handed over; the failure comes when the client ends
        QTRY_COMPARE(messages.texts(), QStringList{Generic.arg(2)});
        qunsetenv("MAILER");
    }
};

QTEST_GUILESS_MAIN(TestMailSender)
#include "tst_mailsender.moc"
