#include "gui/QtDesktopServices.h"

#include "data/Seged.h"
// The windows' own input box; it is a window like the others, so it lives with them.
#include "edit/InpStr.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

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

namespace {

// Exit codes of RunWatched beside the program's own.
constexpr int NotStarted = -1, Crashed = -2;

// Runs program without waiting; ended gets its exit code on the GUI thread when it ends, or
// NotStarted / Crashed. The process belongs to the application, so none is left unwatched.
void RunWatched(const QString &program, const QStringList &args, const QString &dir,
                const std::function<void(int)> &ended) {
    auto *p = new QProcess(qApp);
    p->setProgram(program);
    p->setArguments(args);
    if (!dir.isEmpty())
        p->setWorkingDirectory(dir);
    // The xdg tools may ask on a terminal; they get none.
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(p, &QProcess::errorOccurred, p, [p, ended](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            ended(NotStarted);
            p->deleteLater();
        }
    });
    QObject::connect(p, &QProcess::finished, p, [p, ended](int code, QProcess::ExitStatus status) {
        ended(status == QProcess::NormalExit ? code : Crashed);
        p->deleteLater();
    });
    p->start();
}

// failed, guarded so it never runs after its owner is gone.
template <class... A> std::function<void(A...)> WhileOwnerLives(QObject *owner, const std::function<void(A...)> &failed) {
    return [alive = QPointer<QObject>(owner), failed, owned = owner != nullptr](A... a) {
        if (failed && (!owned || alive))
            failed(a...);
    };
}

// xdg-open's exit codes: 2 the file is missing, 3 no program for it, anything else failure.
OpenFailure XdgOpenFailure(int code, bool windowsProgram) {
    switch (code) {
    case NotStarted:
        return OpenFailure::NoOpener;
    case 2:
        return OpenFailure::FileMissing;
    case 3:
        return windowsProgram ? OpenFailure::ProgramUnavailable : OpenFailure::NoApplication;
    default:
        return OpenFailure::Failed;
    }
}

} // namespace

void QtDesktopServices::openDocument(const QString &target, QObject *owner,
                                     const std::function<void(OpenFailure)> &failed) {
    const auto report = WhileOwnerLives(owner, failed);
    QString subject = target;
    if (!IsAddress(target)) {
        const QFileInfo file(target);
        if (!file.exists()) {
            report(IsWindowsProgram(target) ? OpenFailure::ProgramUnavailable : OpenFailure::FileMissing);
            return;
        }
        if (file.isExecutable() && !file.isDir()) {
            // A program runs on its own, past this one's end: only its start is ours to see.
            if (!QProcess::startDetached(file.absoluteFilePath(), {}, ProgramDir()))
                report(OpenFailure::Failed);
            return;
        }
        subject = file.absoluteFilePath();
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        report(OpenFailure::NoOpener);
        return;
    }
    // Not detached: its exit code says whether anything took the target. On a desktop where
    // xdg-open waits for the program it started, that is when the program ends.
    RunWatched(opener, {subject}, ProgramDir(), [report, windows = IsWindowsProgram(target)](int code) {
        if (code != 0)
            report(XdgOpenFailure(code, windows));
    });
}

void QtDesktopServices::sendMail(const QStringList &command, QObject *owner, const std::function<void()> &failed) {
    const auto report = WhileOwnerLives(owner, failed);
    const QString program = QStandardPaths::findExecutable(command.value(0));
    if (program.isEmpty()) {
        report();
        return;
    }
    // Not detached: its exit code tells whether a mail client took the message. The
    // client itself outlives it (xdg-email starts it and, for most clients, returns).
    RunWatched(program, command.mid(1), QString(), [report](int code) {
        if (code != 0)
            report();
    });
}

namespace {

// The desktop as xdg-email detects it (its detectDE, without the D-Bus and X property probes).
QString XdgDesktop(const QProcessEnvironment &env) {
    const QString current = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"));
    QString de;
    if (current == QLatin1String("Cinnamon") || current == QLatin1String("X-Cinnamon"))
        de = QStringLiteral("cinnamon");
    else if (current == QLatin1String("ENLIGHTENMENT"))
        de = QStringLiteral("enlightenment");
    else if (current.startsWith(QLatin1String("GNOME")))
        de = QStringLiteral("gnome");
    else if (current == QLatin1String("KDE"))
        de = QStringLiteral("kde");
    else if (current.compare(QLatin1String("deepin"), Qt::CaseInsensitive) == 0)
        de = QStringLiteral("deepin");
    else if (current == QLatin1String("LXDE"))
        de = QStringLiteral("lxde");
    else if (current == QLatin1String("LXQt"))
        de = QStringLiteral("lxqt");
    else if (current == QLatin1String("MATE"))
        de = QStringLiteral("mate");
    else if (current == QLatin1String("XFCE"))
        de = QStringLiteral("xfce");
    else if (current == QLatin1String("X-Generic"))
        de = QStringLiteral("generic");
    if (de.isEmpty()) {
        const QString session = env.value(QStringLiteral("DESKTOP_SESSION"));
        if (!env.value(QStringLiteral("KDE_FULL_SESSION")).isEmpty())
            de = QStringLiteral("kde");
        else if (!env.value(QStringLiteral("GNOME_DESKTOP_SESSION_ID")).isEmpty() || session == QLatin1String("gnome"))
            de = QStringLiteral("gnome");
        else if (!env.value(QStringLiteral("MATE_DESKTOP_SESSION_ID")).isEmpty() || session == QLatin1String("MATE"))
            de = QStringLiteral("mate");
        else if (env.value(QStringLiteral("DESKTOP")).startsWith(QLatin1String("Enlightenment")))
            de = QStringLiteral("enlightenment");
        else if (!env.value(QStringLiteral("LXQT_SESSION_CONFIG")).isEmpty())
            de = QStringLiteral("lxqt");
        else if (session == QLatin1String("LXDE") || session == QLatin1String("Lubuntu"))
            de = QStringLiteral("lxde");
        else if (session == QLatin1String("xfce") || session == QLatin1String("xfce4") ||
                 session == QLatin1String("Xfce Session"))
            de = QStringLiteral("xfce");
    }
    if (de == QLatin1String("gnome") &&
        QStandardPaths::findExecutable(QStringLiteral("gnome-default-applications-properties")).isEmpty())
        de = QStringLiteral("gnome3");
    const QString runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/flatpak-info")))
        de = QStringLiteral("flatpak");
    return de.isEmpty() ? QStringLiteral("generic") : de;
}

QString FirstWord(const QString &command) {
    return command.trimmed().section(QLatin1Char(' '), 0, 0);
}

// The mail client a KDE session names in its e-mail defaults.
QString KdeMailClient(const QProcessEnvironment &env) {
    const QString config = env.value(QStringLiteral("XDG_CONFIG_HOME"), QDir::homePath() + QStringLiteral("/.config"));
    const QSettings ini(config + QStringLiteral("/emaildefaults"), QSettings::IniFormat);
    const QString profile = ini.value(QStringLiteral("Defaults/Profile")).toString();
    return profile.isEmpty()
               ? QString()
               : FirstWord(ini.value(QStringLiteral("PROFILE_%1/EmailClient").arg(profile)).toString());
}

// The program of the desktop's default mailto: handler, resolved as xdg-email resolves it:
// the desktop file's Exec command, found on PATH, links followed. Empty when none.
QString DefaultMailtoProgram(const QProcessEnvironment &env) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return QString();
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/mailto")});
    // A shell script reading a few files; it is not left to hold the window up.
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return QString();
    }
    const QString desktopFile = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed().section(QLatin1Char('\n'), 0, 0);
    if (desktopFile.isEmpty())
        return QString();
    const QString home = env.value(QStringLiteral("XDG_DATA_HOME"), QDir::homePath() + QStringLiteral("/.local/share"));
    QStringList dirs{home};
    dirs += env.value(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QString found;
    for (const QString &dir : std::as_const(dirs)) {
        QStringList candidates;
        if (desktopFile.contains(QLatin1Char('-')))
            candidates << QStringLiteral("%1/applications/%2/%3").arg(dir, desktopFile.section(QLatin1Char('-'), 0, -2),
                                                                       desktopFile.section(QLatin1Char('-'), -1));
        candidates << QStringLiteral("%1/applications/%2").arg(dir, desktopFile);
        for (const QString &sub : QDir(dir + QStringLiteral("/applications")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            candidates << QStringLiteral("%1/applications/%2/%3").arg(dir, sub, desktopFile);
        for (const QString &c : std::as_const(candidates))
            if (QFileInfo(c).isReadable() && QFileInfo(c).isFile()) {
                found = c;
                break;
            }
        if (!found.isEmpty())
            break;
    }
    QFile file(found);
    if (found.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    static const QRegularExpression exec(QStringLiteral("^Exec(\\[[^]=]*\\])?=(.*)$"));
    while (!file.atEnd()) {
        const auto m = exec.match(QString::fromUtf8(file.readLine()).trimmed());
        if (!m.hasMatch())
            continue;
        const QString program = QStandardPaths::findExecutable(FirstWord(m.captured(2)));
        return program.isEmpty() ? QString() : QFileInfo(program).canonicalFilePath();
    }
    return QString();
}

} // namespace

MailSetup QtDesktopServices::mailSetup() {
    const auto env = QProcessEnvironment::systemEnvironment();
    MailSetup s;
    s.mailer = env.value(QStringLiteral("MAILER"));
    s.hook = !QStandardPaths::findExecutable(QStringLiteral("xdg-email-hook.sh")).isEmpty();
    s.desktop = XdgDesktop(env);
    s.mailtoClient = s.desktop == QLatin1String("kde") ? KdeMailClient(env) : DefaultMailtoProgram(env);
    return s;
}

} // namespace kodexa
