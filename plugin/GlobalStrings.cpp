// The library's global strings.
#include "GlobalStrings.h"

// Built once when the library loads: the host's string class may throw while it
// allocates, and nothing could handle that there.
// NOLINTBEGIN(cert-err58-cpp, bugprone-throwing-static-initialization)
const UtCString g_scriptHostExe = "bin\\x86\\64\\cscripthost.exe";
const UtCString g_startScript = "setup\\scripts\\common\\startvestra_tarnvel.vbb";
const UtCString g_cadName = "BRENVIKCAD";
UtCString g_productName = "BRENVIKCAD PARTS";
const UtCString g_attrId = "TVL_ID";
const UtCString g_attrVarPrefix = "TVLV_";
const UtCString g_attrMetaPrefix = "TVLM_";
// NOLINTEND(cert-err58-cpp, bugprone-throwing-static-initialization)
