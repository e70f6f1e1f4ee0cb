#pragma once
// The delimiter choice before an import (Tfrm_Hatarolo, "Határoló karakter").

#include <QChar>
#include <QDialog>
#include <optional>

class QButtonGroup;

namespace kodexa {

// Tab, ";" or "|"; nothing when the choice was cancelled.
std::optional<QChar> ChooseImportDelimiter(QWidget *parent = nullptr);

class Tfrm_Hatarolo final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Hatarolo)
public:
    explicit Tfrm_Hatarolo(QWidget *parent = nullptr);
    ~Tfrm_Hatarolo() override;
    QChar delimiter() const;

private:
    QButtonGroup *items_ = nullptr;
};

} // namespace kodexa
