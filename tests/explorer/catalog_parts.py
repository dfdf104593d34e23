"""The standard parts the explorer takes from the catalog stand-in, and what a taken
part must carry: its two identification strings and its variables in catalog order.
Written from the catalog's documented tables, not from the plug-in."""

BOLT_LENGTHS = [6, 8, 10, 12, 16, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 80, 90,
                100, 110, 120, 130, 140, 150]
PIN_LENGTHS = [6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 35, 40, 45, 50,
               55, 60, 65, 70, 75, 80, 85, 90, 95, 100, 120, 140]
BOLT_RANGES = {6: (12, 60), 8: (16, 80), 10: (20, 100), 12: (25, 120), 16: (30, 150)}
PIN_RANGES = {4: (8, 40), 5: (10, 50), 6: (12, 60), 8: (14, 80)}

FAMILIES = {
    "ISO4017": ("iso4017/iso4017.prj", "ISO 4017"),
    "ISO4032": ("iso4032/iso4032.prj", "ISO 4032"),
    "ISO7089": ("iso7089/iso7089.prj", "ISO 7089"),
    "ISO2338": ("iso2338/iso2338.prj", "ISO 2338"),
    "DIN625": ("din625/din625.prj", "DIN 625"),
}


def _lengths(table, ranges, diameter):
    low, high = ranges[diameter]
    return [length for length in table if low <= length <= high]


def random_part(rng):
    """(key, [(variable, value)...]) of a part the catalog has."""
    key = rng.choice(sorted(FAMILIES))
    if key == "ISO4017":
        diameter = rng.choice(sorted(BOLT_RANGES))
        return key, [("D", str(diameter)),
                     ("L", str(rng.choice(_lengths(BOLT_LENGTHS, BOLT_RANGES, diameter))))]
    if key == "ISO2338":
        diameter = rng.choice(sorted(PIN_RANGES))
        return key, [("D", str(diameter)),
                     ("L", str(rng.choice(_lengths(PIN_LENGTHS, PIN_RANGES, diameter))))]
    if key == "DIN625":
        return key, [("TYPE", str(rng.randint(6200, 6210)))]
    return key, [("D", str(rng.choice([3, 4, 5, 6, 8, 10, 12, 16, 20, 24])))]


def identification(key, variables):
    """The attributes a part taken as (key, variables) carries from its record."""
    tags = {"TVL_ID0": FAMILIES[key][0], "TVL_ID1": key}
    for number, (name, value) in enumerate(variables):
        tags["TVLM_%d_%s" % (number, name)] = value
    return tags


def standard_name(key):
    return FAMILIES[key][1]
