#pragma once
#include "data/AppContext.h"
#include <QString>
class QWidget;
namespace kodexa {
struct MasterPick {
    bool accepted = false; // pick mode: the user chose a row
    qint64 key = 0;
    QString name;
};
// The master data editor (Tfrm_TorzsAdat) on table index 0 szerzo .. 5 polc; browse or pick mode.
MasterPick ChooseMasterData(AppContext &ctx, int tableIndex, bool pick, QWidget *parent = nullptr);
} // namespace kodexa
