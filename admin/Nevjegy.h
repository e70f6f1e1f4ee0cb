#pragma once
// The about box (Tfrm_Nevjegy): the program's name and version and the maker's contact.

#include <QDialog>

namespace kodexa {

class DesktopServices;

// The version the about box shows.
inline constexpr const char *ProgramVersion = "V1.0.0.67";

// Shows the about box modally; homePage and mailAddress are the maker's.
void ShowAbout(DesktopServices &services, const QString &homePage, const QString &mailAddress, QWidget *parent = nullptr);

class Tfrm_Nevjegy final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Nevjegy)
public:
    Tfrm_Nevjegy(DesktopServices &services, const QString &homePage, const QString &mailAddress,
                 QWidget *parent = nullptr);
    ~Tfrm_Nevjegy() override;
};

} // namespace kodexa
