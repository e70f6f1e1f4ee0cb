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

private:
    void demo();
    void empty();
    void existing();
    // Runs one way of making the catalogue; accepts when it was made, else says why and
    // leaves the window open for another choice.
    void make(const std::function<void()> &how);

    DesktopServices &services_;
    QString target_;
};

// Shows the window when the program needs it (installed, no catalogue). false when the user
// chose to quit; the settings then name the new catalogue.
bool RunFirstStart(DesktopServices &services);

} // namespace kodexa
