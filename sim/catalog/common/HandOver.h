// The payload of a handed-over command (script host -> running viewer): the parsed
// options as "name=value" lines, e.g.
//     cadname=BRENVIKCAD
//     path=C:\Temp\tarnvel_output_4242.sat
//     format=SAT
//     mident={$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}     (only when given)
//     language=german
// Values are kept byte for byte (blanks included); they never contain line breaks.
#pragma once

#include "common/Options.h"

#include <string>

namespace catalog {

std::string encodeHandOver(const CatalogOptions& options);

// Fails when a line has no '=' or names an unknown field, or path is missing.
ParseResult<CatalogOptions> decodeHandOver(const std::string& text);

}  // namespace catalog
