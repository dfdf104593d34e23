// The drawing reader's modes: plain values that the plug-in sets around a read
// and gives back afterwards. Only "locate parts" changes what the reader does;
// the report shows them all, so that a mode left changed is visible.
#include "DoReader.h"

#include "Internal.h"

#include <atomic>

namespace {

std::atomic<int> manipSetOnce{0};
std::atomic<int> readSilentSuccess{0};
std::atomic<int> keepBibSetModes{0};
std::atomic<short> readBibModify{0};
std::atomic<int> readBibModifyId{0};
std::atomic<short> locateParts{0};

}  // namespace

void DoManipSetOnce(int mode) { manipSetOnce = mode; }
int DoReadSilentSuccess(int mode) { return readSilentSuccess.exchange(mode); }
int DoManipKeepBibSetModes(int mode) { return keepBibSetModes.exchange(mode); }
short DoReadBibModify(short mode) { return readBibModify.exchange(mode); }
void DoReadBibModifyId(int id) { readBibModifyId = id; }
short DoSetLocateParts(short mode) { return locateParts.exchange(mode); }

namespace sim {

bool LocatingParts() { return locateParts != 0; }

Json ReaderModes()
{
    Json modes = Json::object();
    modes.set("manipSetOnce", manipSetOnce.load());
    modes.set("readSilentSuccess", readSilentSuccess.load());
    modes.set("keepBibSetModes", keepBibSetModes.load());
    modes.set("readBibModify", static_cast<int>(readBibModify.load()));
    modes.set("readBibModifyId", readBibModifyId.load());
    modes.set("locateParts", static_cast<int>(locateParts.load()));
    return modes;
}

void ResetReaderModes()
{
    manipSetOnce = 0;
    readSilentSuccess = 0;
    keepBibSetModes = 0;
    readBibModify = 0;
    readBibModifyId = 0;
    locateParts = 0;
}

}  // namespace sim
