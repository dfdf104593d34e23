// Offers to install the catalog when start-up cannot find it. The download is
// left to the user's web browser; start-up does not wait for it and looks for
// the catalog again only at the next start-up.
#include "InstallationOffer.h"

#include "TrtMessages.h"
#include "UtSystem.h"

namespace {

const char* const MESSAGE_FILE = "cad_msg.txt";
const char* const INSTALLER_COMMAND =
    "start https://download.brenvik.com/software/BRENVIKCAD%s-Tarnvel.exe";

}  // namespace

int OfferInstallation()
{
    UtCString caption = TrtMsgGet(MESSAGE_FILE, 11637, "BRENVIKCAD PARTS");
    UtCString question = TrtMsgGet(MESSAGE_FILE, 11706, "BRENVIKCAD PARTS installieren?");
    UtCString okLabel = TrtMsgGet(MESSAGE_FILE, 255, "OK");
    UtCString cancelLabel = TrtMsgGet(MESSAGE_FILE, 671, "Abbruch");

    unsigned short answer = 0;
    int shown = GoDoMessageReturn(caption, question, "", okLabel, "", cancelLabel, "", answer);
    if (shown != 0 || answer != 1)
        return 0;

    UtCString version = OsGetEnvDflt("HD_VE", "1700").substr(0, 2);
    UtCString command;
    command.FormatStringList(INSTALLER_COMMAND, {version});
    UtSystem(command);
    return 0;
}
