#include "platform/mailsender.h"

#include "platform/messages.h"
#include "store/texts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QUrl>

namespace mail
{
namespace
{

const QString CRLF = QStringLiteral("\r\n");

// Linux refuses to start a program with one argument of 128 KiB or more
// (MAX_ARG_STRLEN, terminating zero included).
constexpr qsizetype MaxArgumentBytes = 128 * 1024 - 1;

QString encoded(const QString& text, const QByteArray& keep = QByteArray())
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

// Addresses separated by commas; each is encoded on its own, so that a comma
// inside one does not split it. An empty address stays an empty item.
QString addressList(const QStringList& addresses)
{
    QStringList items;
    items.reserve(addresses.size());
    for (const QString& a : addresses)
        items.append(encoded(a, "@"));
    return items.join(QLatin1Char(','));
}

} // namespace

QString bodyText(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + CRLF;
    return text;
}

// The recipients, subject and body travel in a mailto: address that we build
// ourselves rather than through xdg-email's --cc, --subject and --body:
// - xdg-email refuses an empty value for those options (and an address
//   without "@" as a plain argument), whereas the program must hand over a
//   recipient list holding one empty address and open the compose window;
// - xdg-email encodes option texts through the shell's echo, which reads
//   backslashes as escapes and turns each CR LF of the body into CR CR LF.
// Percent-encoding here gives the client exactly the body lines, each followed
// by CR LF. To, then CC, then BCC, each list in its order.
QString mailtoAddress(const Message& message)
{
    QString address = QStringLiteral("mailto:") + addressList(message.to);
    QStringList fields;
    if (!message.cc.isEmpty()) fields.append(QStringLiteral("cc=") + addressList(message.cc));
    if (!message.bcc.isEmpty()) fields.append(QStringLiteral("bcc=") + addressList(message.bcc));
    if (!message.subject.isEmpty())
        fields.append(QStringLiteral("subject=") + encoded(message.subject));
    if (!message.bodyLines.isEmpty())
        fields.append(QStringLiteral("body=") + encoded(bodyText(message.bodyLines)));
    if (!fields.isEmpty()) address += QLatin1Char('?') + fields.join(QLatin1Char('&'));
    return address;
}

QStringList xdgEmailArguments(const Message& message)
{
    // --utf8: our arguments are UTF-8 whatever the locale says.
    QStringList args{QStringLiteral("--utf8")};
    // Attachments stay options: xdg-email passes them on in the form the
    // client expects (there is no standard mailto: field for them).
    for (const QString& path : message.attachments)
        args << QStringLiteral("--attach") << QFileInfo(path).absoluteFilePath();
    args << mailtoAddress(message);
    return args;
}

int codeForOutcome(const ProcessOutcome& outcome)
{
    switch (outcome.state) {
    case ProcessOutcome::NotStarted:
        return Unavailable;
    case ProcessOutcome::Crashed:
        return Failure;
    case ProcessOutcome::StillRunning:
        // Some clients (a mail program started by xdg-email in the
        // foreground) keep xdg-email waiting until their window is closed:
        // a run still going at the end of the wait has opened the compose
        // window. Failures are reported within a second or two.
        return Success;
    case ProcessOutcome::Finished:
        break;
    }
    // xdg-utils exit codes.
    switch (outcome.exitCode) {
    case 0:
        return Success;
    case 2: // a file named on the command line does not exist
        return AttachmentNotFound;
    case 3: // no tool or mail client able to open a mailto: address
        return Unavailable;
    case 5: // no permission to read a file
        return AttachmentOpenFailure;
    default: // 1 syntax error, 4 the client failed, anything else
        return Failure;
    }
}

int checkAttachments(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists()) return AttachmentNotFound;
        if (!info.isFile()) return AttachmentOpenFailure;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return AttachmentOpenFailure;
    }
    return Success;
}

QString errorText(int code)
{
    if (code == AttachmentNotFound || code == AttachmentOpenFailure) return GetTxt(214);
    return QStringLiteral("Erreur lors de l'envoi du mail") + QStringLiteral(" (") +
           QString::number(code) + QStringLiteral(").");
}

namespace
{
// Starts a process whose output nobody reads: a chatty client must not fill
// a pipe nobody empties once we have stopped waiting.
QProcess* startQuiet(const QString& program, const QStringList& arguments)
{
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    return process;
}
} // namespace

ProcessOutcome runProcess(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QProcess* process = startQuiet(program, arguments);
    if (!process->waitForStarted(timeoutMs)) {
        delete process;
        return {ProcessOutcome::NotStarted, 0};
    }
    const int left = int(qMax<qint64>(0, timeoutMs - clock.elapsed()));
    if (process->waitForFinished(left)) {
        const ProcessOutcome outcome{process->exitStatus() == QProcess::NormalExit
                                         ? ProcessOutcome::Finished
                                         : ProcessOutcome::Crashed,
                                     process->exitCode()};
        delete process;
        return outcome;
    }
    // Deleting the QProcess would kill the client along with its compose
    // window: let it run, and free the object once it ends.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return {ProcessOutcome::StillRunning, 0};
}

void startProcess(const QString& program, const QStringList& arguments,
                  std::function<void(const ProcessOutcome&)> done)
{
    QProcess* process = startQuiet(program, arguments);
    // Whether the program could be run is known within milliseconds.
    if (!process->waitForStarted(2000)) {
        delete process;
        done({ProcessOutcome::NotStarted, 0});
        return;
    }
    QObject::connect(process, &QProcess::finished, process,
                     [process, done](int exitCode, QProcess::ExitStatus status) {
                         done({status == QProcess::NormalExit ? ProcessOutcome::Finished
                                                              : ProcessOutcome::Crashed,
                               exitCode});
                         process->deleteLater();
                     });
}

} // namespace mail

MailSender::MailSender() = default;

MailSender::~MailSender()
{
    *m_alive = false;
}

void MailSender::clear()
{
    m_message = mail::Message();
}
void MailSender::setTo(const QStringList& addresses)
{
    m_message.to = addresses;
}
void MailSender::setCc(const QStringList& addresses)
{
    m_message.cc = addresses;
}
void MailSender::setBcc(const QStringList& addresses)
{
    m_message.bcc = addresses;
}
void MailSender::setSubject(const QString& subject)
{
    m_message.subject = subject;
}
void MailSender::setBody(const QStringList& lines)
{
    m_message.bodyLines = lines;
}
void MailSender::addBodyLine(const QString& line)
{
    m_message.bodyLines.append(line);
}
void MailSender::setAttachments(const QStringList& paths)
{
    m_message.attachments = paths;
}
void MailSender::setRunner(mail::ProcessRunner runner)
{
    m_runner = std::move(runner);
}

int MailSender::prepare(QStringList* arguments) const
{
    const int checked = mail::checkAttachments(m_message.attachments);
    if (checked != mail::Success) return checked;
    *arguments = mail::xdgEmailArguments(m_message);
    for (const QString& a : *arguments)
        if (a.toUtf8().size() > mail::MaxArgumentBytes) return mail::TextTooLarge;
    return mail::Success;
}

int MailSender::send()
{
    QStringList args;
    const int prepared = prepare(&args);
    if (prepared != mail::Success) return prepared;
    const mail::ProcessOutcome outcome =
        m_runner ? m_runner(QStringLiteral("xdg-email"), args)
                 : mail::runProcess(QStringLiteral("xdg-email"), args, DefaultTimeoutMs);
    return mail::codeForOutcome(outcome);
}

bool MailSender::report(int code)
{
    if (code == mail::Success) return true;
    if (code == mail::UserAbort)
        clear();
    else
        msg::error(mail::errorText(code));
    return false;
}

bool MailSender::sendAndReport()
{
    if (m_runner) return report(send());
    QStringList args;
    const int prepared = prepare(&args);
    if (prepared != mail::Success) return report(prepared);
    auto started = std::make_shared<bool>(true);
    std::weak_ptr<bool> alive = m_alive;
    mail::startProcess(QStringLiteral("xdg-email"), args,
                       [this, alive, started](const mail::ProcessOutcome& outcome) {
                           if (outcome.state == mail::ProcessOutcome::NotStarted) *started = false;
                           const auto still = alive.lock();
                           if (still && *still) report(mail::codeForOutcome(outcome));
                       });
    return *started;
}
