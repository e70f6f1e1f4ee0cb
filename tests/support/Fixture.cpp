#include "support/Fixture.h"

#include "app/Main.h"
#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "data/Seged.h"

#include <QApplication>
#include <QDir>
#include <QStorageInfo>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDialog>
#include <QFile>
#include <stdexcept>
#include <QTableView>
#include "data/Locations.h"

#include <QTest>
#include <QTimer>
#include <deque>

namespace kodexa::test {

void ProgramDirTest::SetUp() {
    ASSERT_TRUE(tmp_.isValid());
    UseLocations({RunMode::Portable, tmp_.path(), tmp_.path()});
}

void ProgramDirTest::TearDown() { db.close(); }

void ProgramDirTest::makeCatalogue(bool demo) {
    CreateCatalogue(path(QStringLiteral("Kodexa.sqb")), demo);
    db.open(path(QStringLiteral("Kodexa.sqb")));
}

QByteArray ProgramDirTest::readFile(const QString &name) const {
    QFile f(name.startsWith(QLatin1Char('/')) ? name : path(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void ProgramDirTest::writeFile(const QString &name, const QByteArray &bytes) const {
    QFile f(name.startsWith(QLatin1Char('/')) ? name : path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

EnvVar::EnvVar(const char *name, const QByteArray &value)
    : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
}

EnvVar::~EnvVar() {
    had_ ? qputenv(name_, old_) : qunsetenv(name_);
}

void WriteScript(const QString &path, const QByteArray &body) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

void CatalogueTest::TearDown() {
    // The context and the list hold on to the connection: they go before it closes.
    ctx.reset();
    tbl.reset();
    ProgramDirTest::TearDown();
}

void CatalogueTest::openCatalogue(bool demo) {
    makeCatalogue(demo);
    tbl = std::make_unique<BookList>(db);
    tbl->beforePost = TblBeforePost;
    reopenList();
    ctx = std::make_unique<AppContext>(AppContext{db, *tbl, settings, services});
}

void CatalogueTest::reopenList() { tbl->open(QStringLiteral("cims"), QStringLiteral("cim")); }

std::unique_ptr<Tfrm_Main> ShowMainWindow(DesktopServices &services) {
    auto w = std::make_unique<Tfrm_Main>(services);
    EXPECT_TRUE(w->FormCreate());
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->Grid()->setFocus();
    return w;
}

DemoMainWindowTest::~DemoMainWindowTest() = default;

void DemoMainWindowTest::SetUp() {
    ProgramDirTest::SetUp();
    makeCatalogue(true);
    w = ShowMainWindow(services);
}

void DemoMainWindowTest::TearDown() {
    w.reset();
    ProgramDirTest::TearDown();
}

void TypeText(QWidget *w, const QString &text) {
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void PressKey(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QApplication::setActiveWindow(target->window());
    QTest::keyClick(target, key, modifiers);
}

namespace {

// The actions waiting for their modal window, oldest first, and the one timer that looks
// for a modal window while any waits.
struct PendingModal {
    std::function<void(QWidget *)> action;
    std::source_location where;
};
std::deque<PendingModal> &PendingModals() {
    static std::deque<PendingModal> pending;
    return pending;
}
QTimer &ModalWatch() {
    static QTimer *timer = [] {
        auto *t = new QTimer(qApp);
        t->setInterval(10);
        QObject::connect(t, &QTimer::timeout, t, [t] {
            QWidget *w = QApplication::activeModalWidget();
            auto &pending = PendingModals();
            if (!w || pending.empty())
                return;
            PendingModal next = std::move(pending.front());
            pending.pop_front();
            if (pending.empty())
                t->stop();
            QApplication::setActiveWindow(w);
            next.action(w); // may itself wait for a further modal window
        });
        return t;
    }();
    return *timer;
}

// Fails the test that leaves an action waiting, and keeps it from answering a window of
// the next test.
class UnansweredModalCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo &) override { CheckModalsAnswered(); }
};

} // namespace

void WhenModal(std::function<void(QWidget *)> action, std::source_location where) {
    PendingModals().push_back({std::move(action), where});
    ModalWatch().start();
}

void CheckModalsAnswered() {
    auto &pending = PendingModals();
    for (const PendingModal &p : pending)
        ADD_FAILURE_AT(p.where.file_name(), static_cast<int>(p.where.line())) << "WhenModal: no modal window came";
    pending.clear();
    ModalWatch().stop();
}

WriteProtected::WriteProtected(const QString &path) : path_(path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return;
    if (::geteuid() == 0) {
        ok_ = immutable_ = setImmutable(true);
    } else {
        mode_ = st.st_mode & 07777;
        ok_ = ::chmod(QFile::encodeName(path).constData(), mode_ & ~0222) == 0;
    }
}

WriteProtected::~WriteProtected() {
    if (!ok_)
        return;
    if (immutable_)
        setImmutable(false);
    else
        ::chmod(QFile::encodeName(path_).constData(), mode_);
}

bool WriteProtected::setImmutable(bool on) {
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

SmallDisk::SmallDisk(const QString &folder, int kilobytes) : folder_(folder) {
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    ok_ = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (ok_)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

void ZeroRootPages(const QString &file, const QString &which) {
    QVector<qint64> pages;
    qint64 pageSize = 0;
    {
        Db raw;
        raw.open(file);
        pageSize = raw.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        Stmt s = raw.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE rootpage > 0 AND ") + which);
        while (s.step())
            pages << s.int64(0);
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot open the catalogue to damage it");
    for (qint64 page : pages) {
        f.seek((page - 1) * pageSize);
        f.write(QByteArray(int(pageSize), '\0'));
    }
}

void SmallDisk::fill(qint64 leave) {
    QFile f(folder_ + QStringLiteral("/kitoltes"));
    if (!f.open(QIODevice::Append))
        return;
    f.setTextModeEnabled(false);
    const QByteArray block(1024, 'x');
    while (QStorageInfo(folder_).bytesAvailable() > leave && f.write(block) == block.size() && f.flush()) {
    }
    f.close();
    // A block the disk refused may have left part of itself in the file; what is free stays.
}

} // namespace kodexa::test

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new kodexa::test::UnansweredModalCheck);
    return RUN_ALL_TESTS();
}
