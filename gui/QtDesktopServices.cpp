#include "gui/QtDesktopServices.h"

#include "data/Seged.h"
// The windows' own input box; it is a window like the others, so it lives with them.
#include "edit/InpStr.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace kodexa {

namespace {
QWidget *ownerWidget(QObject *owner) {
    auto *w = qobject_cast<QWidget *>(owner);
    return w ? w : QApplication::activeWindow();
}
} // namespace

QString QtFileFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pat = parts[i + 1];
        pat.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << (parts[i].contains(QLatin1Char('(')) ? parts[i] : parts[i] + QStringLiteral(" (") + pat + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

void QtDesktopServices::message(MessageKind kind, const QString &caption, const QString &text, QObject *owner) {
    const auto icon = kind == MessageKind::Error     ? QMessageBox::Critical
                      : kind == MessageKind::Warning ? QMessageBox::Warning
                                                     : QMessageBox::Information;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, ownerWidget(owner));
    box.exec();
}

bool QtDesktopServices::askYesNo(const QString &message, const QString &caption, QObject *owner) {
    QMessageBox box(QMessageBox::Question, caption, message, QMessageBox::Yes | QMessageBox::No, ownerWidget(owner));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Igen"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nem"));
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Answer QtDesktopServices::askYesNoCancel(const QString &message, const QString &caption, QObject *owner) {
    QMessageBox box(QMessageBox::Question, caption, message, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    ownerWidget(owner));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Igen"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nem"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Mégse"));
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool QtDesktopServices::queryText(const QString &caption, const QString &prompt, const QString &mask, QString &value,
                                  QObject *owner) {
    QDialog dlg(ownerWidget(owner));
    dlg.setObjectName(QStringLiteral("QueryTextBox"));
    dlg.setWindowTitle(caption);
    // Dialog units: a quarter of the average character width, an eighth of the height.
    const QFontMetrics fm(dlg.font());
    const double avg = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    auto hx = [avg](int u) { return int(u * avg / 4.0 + 0.5); };
    auto vy = [&fm](int u) { return int(u * fm.height() / 8.0 + 0.5); };
    auto *label = new QLabel(prompt, &dlg);
    label->setWordWrap(true);
    label->setMaximumWidth(hx(164));
    label->move(hx(8), vy(8));
    label->adjustSize();
    auto *edit = new QLineEdit(value, &dlg);
    edit->setObjectName(QStringLiteral("Edit"));
    edit->setMaxLength(255);
    if (!mask.isEmpty())
        edit->setInputMask(mask);
    edit->setGeometry(hx(8), label->y() + label->height() + 5, hx(164), edit->sizeHint().height());
    edit->selectAll();
    const int by = edit->y() + edit->height() + 15;
    auto *ok = new QPushButton(QStringLiteral("OK"), &dlg);
    ok->setGeometry(hx(38), by, hx(50), vy(14));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), &dlg);
    cancel->setGeometry(hx(92), by, hx(50), vy(14));
    QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    dlg.setFixedSize(hx(180), by + vy(14) + 13);
    if (auto *scr = QApplication::primaryScreen())
        dlg.move(scr->geometry().center() - QPoint(dlg.width() / 2, dlg.height() / 2));
    edit->setFocus();
    if (dlg.exec() != QDialog::Accepted)
        return false;
    value = edit->text();
    return true;
}

bool QtDesktopServices::inputString(const QString &caption, const QString &prompt, const QString &mask, QString &text,
                                    QObject *owner) {
    return ShowInpStr(*this, caption, prompt, mask, text, ownerWidget(owner));
}

QString QtDesktopServices::openFileName(const QString &title, const QString &dir, const QString &filter,
                                        const QString &defaultExt, QObject *owner) {
    QFileDialog d(ownerWidget(owner), title, dir, QtFileFilter(filter));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    d.setDefaultSuffix(QString(defaultExt).remove(QLatin1Char('.')));
    return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty() ? d.selectedFiles().first() : QString();
}

QString QtDesktopServices::saveFileName(const QString &title, const QString &dir, const QString &filter,
                                        const QString &defaultExt, QObject *owner) {
    QFileDialog d(ownerWidget(owner), title, dir, QtFileFilter(filter));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setDefaultSuffix(QString(defaultExt).remove(QLatin1Char('.')));
    return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty() ? d.selectedFiles().first() : QString();
}

QString QtDesktopServices::chooseFolder(const QString &title, const QString &dir, QObject *owner) {
    return QFileDialog::getExistingDirectory(ownerWidget(owner), title, dir);
}

bool QtDesktopServices::choosePrinter(QPrinter &printer, int pageCount, QObject *owner) {
    QPrintDialog dlg(&printer, ownerWidget(owner));
    dlg.setWindowTitle(QStringLiteral("Nyomtatás"));
    if (pageCount > 0) {
        dlg.setMinMax(1, pageCount);
        dlg.setOption(QAbstractPrintDialog::PrintPageRange);
    }
    return dlg.exec() == QDialog::Accepted;
}

void QtDesktopServices::openDocument(const QString &target) {
    // Without waiting, in the program directory; failures are not reported.
    if (target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:")))
        QDesktopServices::openUrl(QUrl(target));
    else if (QFileInfo(target).isExecutable() && !QFileInfo(target).isDir())
        QProcess::startDetached(target, {}, ProgramDir());
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

void QtDesktopServices::sendMail(const QStringList &command, QObject *owner, const std::function<void()> &failed) {
    const QPointer<QObject> alive(owner);
    auto report = [alive, failed, owned = owner != nullptr] {
        if (failed && (!owned || alive))
            failed();
    };
    const QString program = QStandardPaths::findExecutable(command.value(0));
    if (program.isEmpty()) {
        report();
        return;
    }
    // Not detached: its exit code tells whether a mail client took the message. The
    // client itself outlives it (xdg-email starts it and, for most clients, returns).
    auto *p = new QProcess(qApp);
    p->setProgram(program);
    p->setArguments(command.mid(1));
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(p, &QProcess::errorOccurred, p, [p, report](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            report();
            p->deleteLater();
        }
    });
    QObject::connect(p, &QProcess::finished, p, [p, report](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            report();
        p->deleteLater();
    });
    p->start();
}

} // namespace kodexa
