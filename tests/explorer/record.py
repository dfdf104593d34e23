"""The export record as the catalog writes it, and what the import makes of it by the record's
documented line rules, also cut short anywhere (a dying catalog leaves a prefix of it)."""
import re

import catalog_parts

LIMIT = 255
FIXED = [("obkind", "tarnvel"), ("bibname", ""), ("bibpath", "")]
_FIELD = re.compile(r"^\{[^{}]*\}+$")


def remark(length):
    """The value of the long "REMARK" a catalog fault adds to the record."""
    return "".join(str(i % 10) for i in range(length))


def text(key, variables, bodies, remark_length=0):
    """The record's whole text: LF line ends, one blank between the identifier's
    tail and its variable fields, a long remark after the attributes."""
    lines = ["[Attributes]"]
    lines += ["%s=%s" % pair for pair in catalog_parts.record_attributes(key, variables, bodies)]
    if remark_length:
        lines.append("REMARK=" + remark(remark_length))
    project = catalog_parts.FAMILIES[key][0]
    fields = ",".join("{%s=%s}" % pair for pair in variables)
    lines += ["[MIDENT]", "MIDENT={$%s},%s %s" % (project, key, fields)]
    return "".join(line + "\n" for line in lines)


def _ident_line(line):
    """The pieces and variables one identifier line gives; a first field with fewer
    than two characters after its "=" may give an empty piece or none."""
    pieces, variables, choices = [], [], [[]]
    first, comma, rest = line.partition(",")
    _, equals, after = first.partition("=")
    if equals and len(after) >= 2:
        pieces.append(after[2:-1])
    elif equals:
        choices = [[], [""]]
    if comma:
        head, blank, fields = rest.partition(" ")
        pieces.append(head)
        for field in fields.split(",") if blank else []:
            name, equals, value = field.partition("=")
            if _FIELD.match(field) and equals:
                variables.append((name[1:], value[:-1]))
            elif _FIELD.match(field):
                pieces.append(field[1:])
    return [(choice + pieces, variables) for choice in choices]


def parse(record):
    """Every (attributes, pieces, variables) the record's text may give."""
    outcomes = [([], [], [])]
    section = None
    for line in record.split("\n") if record else []:
        if line in ("[Attributes]", "[MIDENT]"):
            section = line
        elif section == "[Attributes]":
            name, value = line.split("=", 1) if "=" in line else ("", line)
            for attributes, _, _ in outcomes:
                if all(n != name for n, _ in attributes):
                    attributes.append((name, value))
        elif section == "[MIDENT]" and line != "MIDENT=":
            outcomes = [(list(attributes), pieces + more_pieces, variables + more_variables)
                        for attributes, pieces, variables in outcomes
                        for more_pieces, more_variables in _ident_line(line)]
    return outcomes


def tagged(attributes, pieces, variables):
    """The attributes the import writes on the part, in order, names and values cut to LIMIT."""
    pairs = list(FIXED)
    pairs += [("TVL_ID%d" % i, piece[:LIMIT]) for i, piece in enumerate(pieces) if piece]
    pairs += [(("TVLM_%d_%s" % (j, name))[:LIMIT], value[:LIMIT]) for j, (name, value) in enumerate(variables)]
    pairs += [(("TVLV_" + name)[:LIMIT], value[:LIMIT]) for name, value in attributes]
    return pairs


def attribute_lists(key, variables, bodies, remark_length=0, cut=False):
    """The attribute lists the whole record gives or, cut, the record cut after any number of its bytes."""
    full, found = text(key, variables, bodies, remark_length), []
    for length in range(len(full) + 1) if cut else [len(full)]:
        for pairs in (tagged(*outcome) for outcome in parse(full[:length])):
            if pairs not in found:
                found.append(pairs)
    return found
