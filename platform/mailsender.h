#pragma once
// The program never sends mail itself: the mail sender hands a prepared
// message to the user's mail client, whose compose window opens pre-filled,
// and the user completes and sends it there. The hand-off goes through
// xdg-email; its outcome is reported with the codes below.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace mail
{

// Result codes of a hand-off.
enum Code : int {
    Unavailable = -1, // no mail interface: xdg-email missing or no client for mailto
    Success = 0,
    UserAbort = 1, // the user closed the compose window without sending
    Failure = 2,   // the hand-off failed for another reason
    TooManyFiles = 9,
    TooManyRecipients = 10,
    AttachmentNotFound = 11,
    AttachmentOpenFailure = 12,
    TextTooLarge = 18, // the message does not fit on a command line
};

struct Message {
    QStringList to;
    QStringList cc;
    QStringList bcc;
    QString subject;
    QStringList bodyLines;
    QStringList attachments; // file paths
};

// What became of the process that was run.
struct ProcessOutcome {
    enum State {
        NotStarted,   // the program could not be started (not installed)
        Finished,     // it ended by itself with exitCode
        Crashed,      // it was killed by a signal
        StillRunning, // it had not ended when the wait was over; it is left running
    };
    State state = NotStarted;
    int exitCode = 0;
};

// Runs a program with its arguments and tells what became of it. It must
// return within a bounded time.
using ProcessRunner =
    std::function<ProcessOutcome(const QString& program, const QStringList& arguments)>;

// The body as the mail client receives it: every line followed by CR LF.
QString bodyText(const QStringList& lines);

// The mailto: address carrying the recipients, subject and body.
QString mailtoAddress(const Message& message);

// The arguments given to xdg-email for a message.
QStringList xdgEmailArguments(const Message& message);

// The result code of an xdg-email run.
int codeForOutcome(const ProcessOutcome& outcome);

// Checks the attachments before anything is run: AttachmentNotFound for a
// path that does not exist, AttachmentOpenFailure for one that cannot be
// read as a file, Success when all can be attached.
int checkAttachments(const QStringList& paths);

// The text of the error box for a code that is neither a success nor a user
// abort: text id 214 for the attachment errors, otherwise
// "Erreur lors de l'envoi du mail (<code>)."
QString errorText(int code);

// Starts `program` and waits at most `timeoutMs` for it to end. A program
// still running then is left running on its own.
ProcessOutcome runProcess(const QString& program, const QStringList& arguments, int timeoutMs);

// Starts `program` without waiting for it to end: `done` gets what became of
// it, at once when it could not be started, otherwise when it ends (from the
// event loop of the calling thread). A program still running is never killed.
void startProcess(const QString& program, const QStringList& arguments,
                  std::function<void(const ProcessOutcome&)> done);

} // namespace mail

class MailSender
{
public:
    // How long a hand-off may hold the interface.
    static constexpr int DefaultTimeoutMs = 10000;

    MailSender();
    ~MailSender();

    void clear();
    void setTo(const QStringList& addresses);
    void setCc(const QStringList& addresses);
    void setBcc(const QStringList& addresses);
    void setSubject(const QString& subject);
    void setBody(const QStringList& lines);
    void addBodyLine(const QString& line);
    void setAttachments(const QStringList& paths);

    const mail::Message& message() const { return m_message; }

    // Hands the message to the mail client; returns the result code.
    int send();

    // What the main window does with a result code: nothing for a success;
    // a user abort clears the sender and shows nothing; any other code shows
    // its error box. Returns true for a success.
    bool report(int code);

    // Hands the message over and reports the result, without holding the
    // interface: the mail client runs on its own, and a failure it reports
    // when it ends is shown then. False when the message could not be
    // handed over at all (an attachment missing, a text too long, no client).
    bool sendAndReport();

    // A runner that send() and sendAndReport() wait for instead of starting
    // xdg-email on its own (tests).
    void setRunner(mail::ProcessRunner runner);

private:
    // The checks made before anything runs; the arguments of xdg-email.
    int prepare(QStringList* arguments) const;

    mail::Message m_message;
    mail::ProcessRunner m_runner;
    // Tells a client that ends after this sender is gone not to report.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
