#include "support/ScriptedServices.h"

#include <QPrinter>

namespace kodexa {

void ScriptedServices::message(MessageKind kind, const QString &caption, const QString &text, QObject *) {
    messages.append({kind, caption, text});
}

bool ScriptedServices::askYesNo(const QString &m, const QString &caption, QObject *) {
    questions.append({caption, m});
    if (yesNoAnswers.empty())
        return false;
    const bool a = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return a;
}

Answer ScriptedServices::askYesNoCancel(const QString &m, const QString &caption, QObject *) {
    questions.append({caption, m});
    if (yesNoCancelAnswers.empty())
        return Answer::Cancel;
    const Answer a = yesNoCancelAnswers.front();
    yesNoCancelAnswers.pop_front();
    return a;
}

bool ScriptedServices::queryText(const QString &caption, const QString &prompt, const QString &, QString &value,
                                 QObject *) {
    return nextText(caption, prompt, value);
}

bool ScriptedServices::inputString(const QString &caption, const QString &prompt, const QString &, QString &text,
                                   QObject *) {
    return nextText(caption, prompt, text);
}

bool ScriptedServices::nextText(const QString &caption, const QString &prompt, QString &value) {
    questions.append({caption, prompt});
    textShown.append(value);
    if (textAnswers.empty())
        return false;
    auto a = textAnswers.front();
    textAnswers.pop_front();
    if (!a)
        return false;
    value = *a;
    return true;
}

QString ScriptedServices::openFileName(const QString &title, const QString &, const QString &, const QString &,
                                       QObject *) {
    return nextFile(title);
}

QString ScriptedServices::saveFileName(const QString &title, const QString &, const QString &, const QString &,
                                       QObject *) {
    return nextFile(title);
}

QString ScriptedServices::chooseFolder(const QString &title, const QString &, QObject *) {
    fileDialogs.append(title);
    if (folderAnswers.empty())
        return QString();
    const QString a = folderAnswers.front();
    folderAnswers.pop_front();
    return a;
}

void ScriptedServices::openDocument(const QString &target, QObject *, const std::function<void(OpenFailure)> &failed) {
    openedDocuments.append(target);
    if (openFailures.contains(target) && failed)
        failed(openFailures.value(target));
}

void ScriptedServices::sendMail(const QStringList &command, QObject *, const std::function<void()> &failed) {
    mails.append(command);
    if (!mailClient && failed)
        failed();
}

bool ScriptedServices::choosePrinter(QPrinter &printer, int pageCount, QObject *) {
    printDialogs.append(pageCount);
    if (printerAnswers.empty())
        return false;
    const PrinterAnswer a = printerAnswers.front();
    printerAnswers.pop_front();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(a.pdf);
    if (a.from > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(a.from, a.to);
    }
    return true;
}

QStringList ScriptedServices::errorTexts() const {
    QStringList r;
    for (const auto &m : messages)
        if (m.kind == MessageKind::Error)
            r << m.text;
    return r;
}

QString ScriptedServices::nextFile(const QString &title) {
    fileDialogs.append(title);
    if (fileAnswers.empty())
        return QString();
    const QString a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

} // namespace kodexa
