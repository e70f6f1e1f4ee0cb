#pragma once
#include "data/AppContext.h"
class QWidget;
namespace kodexa {
// The login window (Tfrm_Login): true when a user logged in (UserCode, IsAdmin and
// CanEditMasterData are then set in ctx.settings).
bool ShowLogin(AppContext &ctx, QWidget *parent = nullptr);
} // namespace kodexa
