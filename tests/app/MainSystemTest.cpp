// The main window's statistics, settings, read-me and about commands, and the splash
// window of start-up.
#include "admin/Logo.h"
#include "app/Main.h"
#include "support/Fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class MainSystemTest : public ProgramDirTest {
protected:
    bool start() {
        w = std::make_unique<Tfrm_Main>(services);
        return w->FormCreate();
    }
    QList<Tfrm_Logo *> splashes() { return w->findChildren<Tfrm_Logo *>(); }
    std::unique_ptr<Tfrm_Main> w;
};

TEST_F(MainSystemTest, SplashFollowsTheLoginAndClosesWhenItsTimerFires) {
    makeCatalogue();
    db.exec(QStringLiteral("UPDATE beallit SET vanbelep = 'I'"));
    bool splashDuringLogin = true;
    WhenModal([&](QWidget *login) {
        EXPECT_EQ(login->objectName(), QStringLiteral("frm_Login"));
        splashDuringLogin = !splashes().isEmpty();
        TypeText(Child<QLineEdit>(login, QStringLiteral("edtFelhasznalo")), QStringLiteral("admin"));
        TypeText(Child<QLineEdit>(login, QStringLiteral("edtJelszo")), QStringLiteral("admin"));
        Child<QPushButton>(login, QStringLiteral("btnOK"))->click();
    });
    ASSERT_TRUE(start());
    EXPECT_FALSE(splashDuringLogin);
    EXPECT_TRUE(splashes().isEmpty()) << "it comes with the main window";
    w->show();
    ASSERT_EQ(splashes().size(), 1);
    Tfrm_Logo *logo = splashes().first();
    EXPECT_TRUE(logo->isVisible());
    EXPECT_EQ(logo->size(), QSize(400, 240));
    EXPECT_TRUE(logo->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(logo->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(logo->isModal());
    // The grey of the window is cut out of its shape; the picture stays.
    EXPECT_FALSE(logo->mask().contains(QPoint(398, 2)));
    EXPECT_TRUE(logo->mask().contains(QPoint(200, 120)));
    QTimer *timer = logo->Timer1();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 4000);
    // The main window is usable meanwhile.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    w->Action(QStringLiteral("aBetuNovel"))->trigger();
    EXPECT_EQ(w->Beall().FontSize, 9);
    // The timer's first tick closes and destroys it.
    QPointer<Tfrm_Logo> guard(logo);
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(splashes().isEmpty());
}

TEST_F(MainSystemTest, CommandsOpenTheirWindows) {
    makeCatalogue(true);
    ASSERT_TRUE(start());
    w->show();
    QStringList opened;
    for (const char *name : {"aStat", "aBeallit", "aFontos", "aNevjegy"}) {
        WhenModal([&](QWidget *dlg) {
            opened << dlg->objectName() + QLatin1Char(':') + dlg->windowTitle();
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        w->Action(QLatin1String(name))->trigger();
    }
    EXPECT_EQ(opened, (QStringList{"frm_Stat:Statisztika", "frm_Beallit:Beállítások", "frm_Readme:Fontos információk",
                                   "frm_Nevjegy:Névjegy"}));
    EXPECT_TRUE(services.errorTexts().isEmpty());
}

TEST_F(MainSystemTest, SettingsSurviveARestartAndTheLoginChoiceAppliesThen) {
    makeCatalogue(true);
    ASSERT_TRUE(start());
    w->show();
    WhenModal([&](QWidget *dlg) {
        Child<QCheckBox>(dlg, QStringLiteral("CheckBox1"))->click();
        Child<QCheckBox>(dlg, QStringLiteral("DBCheckBox1"))->click();
        Child<QPushButton>(dlg, QStringLiteral("Button1"))->click();
    });
    w->Action(QStringLiteral("aBeallit"))->trigger();
    EXPECT_TRUE(w->Beall().FullScreen);
    EXPECT_FALSE(w->Beall().LoginRequired) << "the login choice is read at the next start";
    w->close();
    w.reset();
    QSettings ini(path(QStringLiteral("Kodexa.ini")), QSettings::IniFormat);
    EXPECT_TRUE(ini.value(QStringLiteral("Screen/FullScreen")).toBool());

    QString seen;
    WhenModal([&](QWidget *login) {
        seen = login->objectName();
        QTest::keyClick(login, Qt::Key_Escape);
    });
    EXPECT_FALSE(start()) << "the login is now required and was cancelled";
    EXPECT_EQ(seen, QStringLiteral("frm_Login"));
    EXPECT_TRUE(w->Beall().FullScreen);
}

} // namespace
