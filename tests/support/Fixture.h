#pragma once
// Test fixtures: a temporary program directory with a real catalogue file made by the
// same code as kodexa-init, plus helpers to type text and answer modal windows.

#include "data/Db.h"
#include "data/DesktopServices.h"

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

class QWidget;

namespace kodexa::test {

class ProgramDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates dir()/Kodexa.sqb (demo books when demo) and opens db on it.
    void makeCatalogue(bool demo = false);
    QString dir() const { return tmp_.path(); }
    QString path(const QString &name) const { return tmp_.path() + QLatin1Char('/') + name; }
    QByteArray readFile(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;

    QTemporaryDir tmp_;
    Db db;
    ScriptedServices services;
};

// Types text into the widget one character at a time (works for accented letters too).
void TypeText(QWidget *w, const QString &text);
// Runs action on the next modal window (or top-level dialog) that appears; the action
// receives the window. Call before the code that opens it.
void WhenModal(std::function<void(QWidget *)> action);
// Finds a child by objectName and type, failing the test when absent.
template <class T> T *Child(QWidget *parent, const QString &name);

} // namespace kodexa::test

#include <QWidget>
template <class T> T *kodexa::test::Child(QWidget *parent, const QString &name) {
    T *w = parent->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << "missing child " << name.toStdString();
    return w;
}
