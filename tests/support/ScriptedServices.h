#pragma once
// The desktop services of the tests: answers come from queues filled in advance and
// everything shown is recorded, so a test presses a command and checks what it asked.

#include "data/DesktopServices.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <deque>
#include <functional>
#include <optional>

namespace kodexa {

class ScriptedServices final : public DesktopServices {
public:
    struct Message {
        MessageKind kind;
        QString caption;
        QString text;
    };
    struct Question {
        QString caption;
        QString text;
    };

    std::deque<bool> yesNoAnswers;                   // empty: No
    std::deque<Answer> yesNoCancelAnswers;           // empty: Cancel
    // Answers both text boxes (queryText and the input box), in the order they are asked;
    // nullopt or an empty queue: cancel.
    std::deque<std::optional<QString>> textAnswers;
    std::deque<QString> fileAnswers;                 // open and save choosers; empty: cancel
    std::deque<QString> folderAnswers;

    QVector<Message> messages;
    QVector<Question> questions;   // yes/no and text prompts, in order
    QStringList textShown;         // the initial text each text box was opened with
    QStringList openedDocuments;
    QMap<QString, OpenFailure> openFailures; // targets that do not open, and why
    QStringList fileDialogs;       // titles of the choosers shown
    QVector<QStringList> mails;    // the mail hand-over command lines
    bool mailClient = true;        // false: every hand-over fails
    // The mail set-up the hand-over finds; by default a client that takes the attachment.
    MailSetup mailSetupAnswer{.mailer = {}, .desktop = QStringLiteral("generic"), .mailtoClient = QStringLiteral("/usr/bin/thunderbird")};
    // The print dialog: each answer prints into a PDF file, pages from..to (0: all); an
    // empty queue cancels. printDialogs records the page count each dialog offered.
    struct PrinterAnswer {
        QString pdf;
        int from = 0, to = 0;
    };
    std::deque<PrinterAnswer> printerAnswers;
    QVector<int> printDialogs;

    void message(MessageKind kind, const QString &caption, const QString &text, QObject *) override;
    bool askYesNo(const QString &m, const QString &caption, QObject *) override;
    Answer askYesNoCancel(const QString &m, const QString &caption, QObject *) override;
    bool queryText(const QString &caption, const QString &prompt, const QString &mask, QString &value,
                   QObject *) override;
    bool inputString(const QString &caption, const QString &prompt, const QString &mask, QString &text,
                     QObject *) override;
    QString openFileName(const QString &title, const QString &, const QString &, const QString &, QObject *) override;
    QString saveFileName(const QString &title, const QString &, const QString &, const QString &, QObject *) override;
    QString chooseFolder(const QString &title, const QString &, QObject *) override;
    void openDocument(const QString &target, QObject *, const std::function<void(OpenFailure)> &failed) override;
    void sendMail(const QStringList &command, QObject *, const std::function<void()> &failed) override;
    MailSetup mailSetup() override { return mailSetupAnswer; }
    bool choosePrinter(QPrinter &printer, int pageCount, QObject *) override;

    QStringList errorTexts() const;

private:
    bool nextText(const QString &caption, const QString &prompt, QString &value);
    QString nextFile(const QString &title);
};

} // namespace kodexa
