// The fuzzer's own account of the identification text a part's attributes give,
// written from the rules rather than from the plug-in's code: the first "TVL_ID0"
// and "TVL_ID1", then the "TVLM_<number>_<name>" variables ordered by number, a
// later one of the same number winning. Variable numbers are read digit by digit
// here, so the plug-in's number conversion is checked against an independent one.
#pragma once

#include "SimControl.h"

#include <string>

// Leading blanks (space, tab, LF, VT, FF, CR) and one sign taken, at least one
// digit, anything after the digits ignored, and the value within 32 bits.
bool ReferenceVariableNumber(const std::string& text, int& number);

// False when the part has no identification.
bool ExpectedIdentification(const sim::PartAttributes& attributes, std::string& text);
