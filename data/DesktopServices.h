#pragma once
// Every message box, question, input box, file or folder chooser, document opening and
// mail hand-over goes through this interface: the program uses the Qt implementation,
// tests a scripted one (tests/support/ScriptedServices.h) that answers from queues and
// records what was shown. A window gets the services in its constructor and never opens a
// standard dialog of its own, so a test can press a command and answer what it asks.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;

namespace kodexa {

enum class MessageKind { Error, Warning, Info };
enum class Answer { Yes, No, Cancel };

// Why a file, address or program handed to the desktop did not open.
enum class OpenFailure {
    FileMissing,        // the file is not there
    ProgramUnavailable, // a program this system cannot run (a Windows program) or one that is not there
    NoOpener,           // the desktop's opener (xdg-open) is not installed
    NoApplication,      // no program on this desktop opens this kind of file or address
    Failed,             // the opener or the program started for it reported failure
};

// The error text for a target that did not open: what it was, on the first line, and why.
QString OpenFailureText(const QString &target, OpenFailure why);
// An address for the desktop (https://..., mailto:...) rather than a path.
bool IsAddress(const QString &target);
// A program of Windows by its name (.exe, .com, .bat, .cmd): nothing this system runs.
bool IsWindowsProgram(const QString &path);

// What decides whether a mail handed to xdg-email reaches the client with its attachment:
// only a client that xdg-email starts itself gets the file; the others receive a plain
// mailto: address, which carries none.
struct MailSetup {
    QString mailer;       // $MAILER: xdg-email hands it a mailto: address
    QString desktop;      // the desktop as xdg-email names it ("kde", "gnome3", "xfce", "generic", ...)
    QString mailtoClient; // the desktop's mail client for mailto: addresses, as a command or program path
    bool hook = false;    // an xdg-email-hook.sh on PATH takes every hand-over itself
};

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    virtual void message(MessageKind kind, const QString &caption, const QString &text, QObject *owner) = 0;
    virtual bool askYesNo(const QString &message, const QString &caption, QObject *owner) = 0;
    // A question with "Igen", "Nem" and "Mégse"; Esc or closing the box answers Mégse.
    virtual Answer askYesNoCancel(const QString &message, const QString &caption, QObject *owner) = 0;
    // true on OK with value replaced; on cancel value is left as it was.
    virtual bool queryText(const QString &caption, const QString &prompt, const QString &mask, QString &value,
                           QObject *owner) = 0;
    // The one-line input box of the windows (Tfrm_InpStr): same contract as queryText.
    virtual bool inputString(const QString &caption, const QString &prompt, const QString &mask, QString &text,
                             QObject *owner) = 0;
    // Filters are written "description|pattern|description|pattern"; empty result = cancelled.
    virtual QString openFileName(const QString &title, const QString &dir, const QString &filter,
                                 const QString &defaultExt, QObject *owner) = 0;
    virtual QString saveFileName(const QString &title, const QString &dir, const QString &filter,
                                 const QString &defaultExt, QObject *owner) = 0;
    virtual QString chooseFolder(const QString &title, const QString &dir, QObject *owner) = 0;
    // Hands a file, URL or program to the desktop without waiting, the program directory
    // being the working directory. failed runs on the GUI thread, now or when the opener has
    // ended, with the reason it did not open; never after owner is gone (with no owner it
    // always runs). A program started is not watched past its start.
    virtual void openDocument(const QString &target, QObject *owner,
                              const std::function<void(OpenFailure)> &failed) = 0;
    // Runs the mail client hand-over (a command line built by the mail unit, program first)
    // without waiting. failed runs on the GUI thread, now or when the command has ended,
    // when no mail client could be started; never after owner is gone.
    virtual void sendMail(const QStringList &command, QObject *owner, const std::function<void()> &failed) = 0;
    // The desktop's mail set-up as xdg-email will find it (see MailSetup).
    virtual MailSetup mailSetup() = 0;
    // The system's print dialog "Nyomtatás" over printer, whose document name, copies and
    // margins are set already; with pageCount > 0 it offers a range of pages 1..pageCount.
    // true when the user chose to print (the printer then carries the choice).
    virtual bool choosePrinter(QPrinter &printer, int pageCount, QObject *owner) = 0;

    void ShowError(const QString &m, QObject *owner = nullptr) { message(MessageKind::Error, QStringLiteral("Hiba"), m, owner); }
    void ShowWarning(const QString &m, QObject *owner = nullptr) {
        message(MessageKind::Warning, QStringLiteral("Figyelmeztetés"), m, owner);
    }
    void ShowInfo(const QString &m, QObject *owner = nullptr) { message(MessageKind::Info, QStringLiteral("Üzenet"), m, owner); }
    bool AskYesNo(const QString &m, const QString &caption, QObject *owner = nullptr) { return askYesNo(m, caption, owner); }
    bool QueryText(const QString &caption, const QString &prompt, const QString &mask, QString &value, QObject *owner = nullptr) {
        return queryText(caption, prompt, mask, value, owner);
    }
    // Opens target; when it does not open, an error box names it and says why.
    void OpenDocument(const QString &target, QObject *owner) {
        openDocument(target, owner, [this, target, owner](OpenFailure why) { ShowError(OpenFailureText(target, why), owner); });
    }
};

} // namespace kodexa
