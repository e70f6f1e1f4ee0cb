#include "gui/BackgroundWork.h"

#include <QEventLoop>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <memory>

namespace kodexa {

void RunWithNote(QWidget *parent, const QString &note, const std::function<void()> &work) {
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    std::unique_ptr<QLabel> label;
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, &loop, [&] {
        label = std::make_unique<QLabel>(note, parent, Qt::Tool | Qt::FramelessWindowHint);
        label->setObjectName(QStringLiteral("BackgroundNote"));
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->setMargin(12);
        label->adjustSize();
        if (parent && parent->isVisible())
            label->move(parent->mapToGlobal(parent->rect().center()) - label->rect().center());
        label->show();
    });
    thread->start();
    later.start(500);
    // Input waits: the user cannot start a second command meanwhile.
    if (!thread->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace kodexa
