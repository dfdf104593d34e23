// simcad's picture of the drawing: `svg FILE` writes the drawing seen from above
// as an SVG file, each part labelled with its position in the parts list.
// Result: "wrote FILE (N parts)".
#include "Script.h"

#include "DrawingParts.h"
#include "DrawingPicture.h"
#include "OutputFile.h"
#include "PartsList.h"
#include "Tokens.h"

namespace simcad {

namespace {

CommandResult svg(Script&, const Words& words)
{
    if (words.size() != 2)
        return CommandResult::Error("usage: svg FILE");
    std::vector<DrawingPart> parts = CurrentDrawingParts();
    std::string path = Unquote(words[1]);
    std::string error;
    if (!WriteWholeFile(path, DrawingSvg(parts, MakePartsList(parts)), error))
        return CommandResult::Error(error);
    return CommandResult::Ok("wrote " + path + " (" + std::to_string(parts.size()) + " parts)");
}

}  // namespace

void AddPictureCommands(std::map<std::string, Command>& commands)
{
    commands["svg"] = svg;
}

}  // namespace simcad
