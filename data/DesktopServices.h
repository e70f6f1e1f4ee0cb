#pragma once
// Every message box, question, input box, file or folder chooser, document opening and
// mail hand-over goes through this interface: the program uses the Qt implementation,
// tests a scripted one that answers from queues and records what was shown.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <deque>
#include <functional>
#include <optional>

namespace kodexa {

enum class MessageKind { Error, Warning, Info };

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    virtual void message(MessageKind kind, const QString &caption, const QString &text, QObject *owner) = 0;
    virtual bool askYesNo(const QString &message, const QString &caption, QObject *owner) = 0;
    // true on OK with value replaced; on cancel value is left as it was.
    virtual bool queryText(const QString &caption, const QString &prompt, const QString &mask, QString &value,
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

// For tests: answers come from queues filled in advance; everything shown is recorded.
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
    std::deque<std::optional<QString>> textAnswers;  // nullopt or empty queue: cancel
    std::deque<QString> fileAnswers;                 // open and save choosers; empty: cancel
    std::deque<QString> folderAnswers;

    QVector<Message> messages;
    QVector<Question> questions;   // yes/no and text prompts, in order
    QStringList openedDocuments;
    QStringList fileDialogs;       // titles of the choosers shown
    QVector<QStringList> mails;    // the mail hand-over command lines
    bool mailClient = true;        // false: every hand-over fails

    void message(MessageKind kind, const QString &caption, const QString &text, QObject *) override {
        messages.append({kind, caption, text});
    }
    bool askYesNo(const QString &m, const QString &caption, QObject *) override {
        questions.append({caption, m});
        if (yesNoAnswers.empty())
            return false;
        const bool a = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return a;
    }
    bool queryText(const QString &caption, const QString &prompt, const QString &, QString &value, QObject *) override {
        questions.append({caption, prompt});
        if (textAnswers.empty())
            return false;
        auto a = textAnswers.front();
        textAnswers.pop_front();
        if (!a)
            return false;
        value = *a;
        return true;
    }
    QString openFileName(const QString &title, const QString &, const QString &, const QString &, QObject *) override {
        return nextFile(title);
    }
    QString saveFileName(const QString &title, const QString &, const QString &, const QString &, QObject *) override {
        return nextFile(title);
    }
    QString chooseFolder(const QString &title, const QString &, QObject *) override {
        fileDialogs.append(title);
        if (folderAnswers.empty())
            return QString();
        const QString a = folderAnswers.front();
        folderAnswers.pop_front();
        return a;
    }
    void openDocument(const QString &target) override { openedDocuments.append(target); }
    void sendMail(const QStringList &command, QObject *, const std::function<void()> &failed) override {
        mails.append(command);
        if (!mailClient && failed)
            failed();
    }

    QStringList errorTexts() const {
        QStringList r;
        for (const auto &m : messages)
            if (m.kind == MessageKind::Error)
                r << m.text;
        return r;
    }

private:
    QString nextFile(const QString &title) {
        fileDialogs.append(title);
        if (fileAnswers.empty())
            return QString();
        const QString a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
};

} // namespace kodexa
