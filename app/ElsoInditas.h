#pragma once
// The first-start window (Tfrm_ElsoInditas) of an installed program whose user has no
// catalogue yet: a short welcome and four buttons.

#include <QDialog>
#include <functional>

namespace kodexa {

class DesktopServices;

class Tfrm_ElsoInditas final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_ElsoInditas)
public:
    // target: where the chosen catalogue is made (FirstStartTarget()).
    Tfrm_ElsoInditas(DesktopServices &services, const QString &target, QWidget *parent = nullptr);
    ~Tfrm_ElsoInditas() override;

    // The user chose to bring books in from another program: the catalogue is made empty,
    // and the main window starts the take-over wizard.
    bool takeOverChosen() const { return takeOver_; }

private:
    void demo();
    void takeOver();
    void empty();
    void existing();
    // Runs one way of making the catalogue; accepts when it was made, else says why and
    // leaves the window open for another choice.
    void make(const std::function<void()> &how);

    DesktopServices &services_;
    QString target_;
    bool takeOver_ = false;
};

// Shows the window when the program needs it (installed, no catalogue). false when the user
// chose to quit; the settings then name the new catalogue. takeOver is set when the user
// chose to bring a collection in from another program's file.
bool RunFirstStart(DesktopServices &services, bool *takeOver = nullptr);

} // namespace kodexa
