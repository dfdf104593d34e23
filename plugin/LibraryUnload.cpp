// Whether the library is being unloaded at this moment, and how.
#include "LibraryUnload.h"

namespace tarnvel {

namespace {

UnloadKind currentUnload = UnloadKind::None;

}  // namespace

UnloadInProgress::UnloadInProgress(UnloadKind kind) noexcept { currentUnload = kind; }

UnloadInProgress::~UnloadInProgress() { currentUnload = UnloadKind::None; }

UnloadKind CurrentUnload() noexcept { return currentUnload; }

}  // namespace tarnvel
