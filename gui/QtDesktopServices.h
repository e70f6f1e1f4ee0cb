#pragma once
// The desktop services of the running program: Qt message boxes, choosers, xdg tools.

#include "data/DesktopServices.h"

namespace kodexa {

class QtDesktopServices final : public DesktopServices {
public:
    void message(MessageKind kind, const QString &caption, const QString &text, QObject *owner) override;
    bool askYesNo(const QString &message, const QString &caption, QObject *owner) override;
    Answer askYesNoCancel(const QString &message, const QString &caption, QObject *owner) override;
    bool queryText(const QString &caption, const QString &prompt, const QString &mask, QString &value,
                   QObject *owner) override;
    bool inputString(const QString &caption, const QString &prompt, const QString &mask, QString &text,
                     QObject *owner) override;
    QString openFileName(const QString &title, const QString &dir, const QString &filter, const QString &defaultExt,
                         QObject *owner) override;
    QString saveFileName(const QString &title, const QString &dir, const QString &filter, const QString &defaultExt,
                         QObject *owner) override;
    QString chooseFolder(const QString &title, const QString &dir, QObject *owner) override;
    void openDocument(const QString &target, QObject *owner, const std::function<void(OpenFailure)> &failed) override;
    void sendMail(const QStringList &command, QObject *owner, const std::function<void()> &failed) override;
    MailSetup mailSetup() override;
    bool choosePrinter(QPrinter &printer, int pageCount, QObject *owner) override;
};

// "desc|*.a|desc2|*.b" -> "desc (*.a);;desc2 (*.b)"
QString QtFileFilter(const QString &filter);

} // namespace kodexa
