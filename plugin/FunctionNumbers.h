// The macro function numbers of the integration: the user's catalog commands, and
// the follow-up calls that the library asks the host to make.
#pragma once

enum FunctionNumber {
    OPEN_CATALOG = 100,
    CLOSE_CATALOG = 101,
    EDIT_PART = 102,
    IMPORT_EXPORT = 104,
};
