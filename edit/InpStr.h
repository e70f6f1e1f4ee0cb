#pragma once
#include <QString>
class QWidget;
namespace kodexa {
// The one-line input box (Tfrm_InpStr). true on OK with text replaced; on cancel text stays.
bool InputString(const QString &caption, const QString &prompt, const QString &mask, QString &text,
                 QWidget *parent = nullptr);
} // namespace kodexa
