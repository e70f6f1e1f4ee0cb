// TEMPORARY STUB — delete this file when the real master data editor (TorzsAdat.cpp) is
// merged. It only lets the book edit dialog link before that window exists.
#include "edit/TorzsAdat.h"

namespace kodexa {

// Marker the editor-button test looks for (weakly) to know the chooser is not there yet.
extern const bool kodexaChooseMasterDataIsStub;
const bool kodexaChooseMasterDataIsStub = true;

MasterPick ChooseMasterData(AppContext &, int, bool, QWidget *) { return {}; }

} // namespace kodexa
