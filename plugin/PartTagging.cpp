// Tags the library part that the host's reader reported with its catalog
// identification, so that it can be recognised and sent back to the catalog later:
// "obkind", "bibname", "bibpath", then the identifier pieces ("TVL_ID<i>"), the
// model variables ("TVLM_<j>_<name>") and the record's attributes ("TVLV_<name>").
#include "MERIDAX_plugin.h"

#include "ContextUnit.h"
#include "GlobalStrings.h"

namespace {

// The host takes attribute names and values of at most this many characters.
constexpr int LONGEST_ATTRIBUTE_TEXT = 255;

// An attribute name the host does not know yet is defined as a text attribute.
constexpr int ATTRIBUTE_TYPE_TEXT = 5;
constexpr int ATTRIBUTE_VISIBLE = 1;
constexpr int ATTRIBUTE_FLAGS = 0;

UtCString Numbered(const UtCString& prefix, std::size_t number)
{
    return prefix + UtCString(std::to_string(number));
}

}  // namespace

void MERIDAX_plugin::TagImportedPart(DsCsr* cursor)
{
    importedPart = cursor && cursor->count > 0 ? cursor->path[cursor->count - 1] : nullptr;
    DsCsr noObject;
    const DsCsr& target = cursor ? *cursor : noObject;

    ContextUnit unit;
    CiPat pat(unit.id());
    pat.ChgAttr(target, "obkind", "tarnvel");
    pat.ChgAttr(target, "bibname", "");
    pat.ChgAttr(target, "bibpath", "");

    for (std::size_t i = 0; i < identPieces.size(); ++i)
        if (!identPieces[i].empty())
            WriteAttribute(unit.id(), target, Numbered(g_attrId, i), identPieces[i]);
    for (std::size_t j = 0; j < identVariables.size(); ++j)
        WriteAttribute(unit.id(), target,
                       Numbered(g_attrMetaPrefix, j) + "_" + identVariables[j].first,
                       identVariables[j].second);
    for (const auto& [name, value] : recordAttributes)
        WriteAttribute(unit.id(), target, g_attrVarPrefix + name, value);

    recordAttributes.clear();
    identPieces.clear();
    identVariables.clear();
}

void MERIDAX_plugin::WriteAttribute(long unit, const DsCsr& cursor, const UtCString& name,
                                    const UtCString& value)
{
    char nameText[LONGEST_ATTRIBUTE_TEXT + 1] = {};
    char valueText[LONGEST_ATTRIBUTE_TEXT + 1] = {};
    name.toCharArray(nameText, LONGEST_ATTRIBUTE_TEXT, UT_ENCODING_DEFAULT);
    value.toCharArray(valueText, LONGEST_ATTRIBUTE_TEXT, UT_ENCODING_DEFAULT);

    int type = 0, visibility = 0, length = 0, flags = 0;
    if (DsAttrGetFormat(nameText, &type, &visibility, &length, &flags) != 0)
        DsAttrSetDef(nameText, ATTRIBUTE_TYPE_TEXT, ATTRIBUTE_VISIBLE, LONGEST_ATTRIBUTE_TEXT,
                     ATTRIBUTE_FLAGS, nameText);

    CiPat pat(unit);
    pat.ChgAttr(cursor, nameText, valueText);
}
