// The library's global strings: the catalog's start files relative to its root,
// the names passed to the catalog, and the prefixes of the attributes written on
// catalog parts. Built when the library is loaded.
#pragma once

#include "UtCString.h"

extern const UtCString g_scriptHostExe;
extern const UtCString g_startScript;
extern const UtCString g_cadName;
// The integration's display name, also the title of the catalog's window. The
// plug-in object replaces it with the text of the host's message catalogue.
extern UtCString g_productName;
extern const UtCString g_attrId;
extern const UtCString g_attrVarPrefix;
extern const UtCString g_attrMetaPrefix;
