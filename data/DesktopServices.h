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
    // Hands a file, URL or program to the desktop; failures are not reported.
    virtual void openDocument(const QString &target) = 0;
    // Runs the mail client hand-over (a command line built by the mail unit, program first)
    // without waiting. failed runs on the GUI thread, now or when the command has ended,
    // when no mail client could be started; never after owner is gone.
    virtual void sendMail(const QStringList &command, QObject *owner, const std::function<void()> &failed) = 0;
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
    void OpenDocument(const QString &target) { openDocument(target); }
};

} // namespace kodexa
