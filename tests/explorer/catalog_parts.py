"""The standard parts the explorer takes from the catalog stand-in, and what a taken
part must carry: its two identification strings and its variables in catalog order.
Written from the catalog's documented tables, not from the plug-in."""
import math

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


# What the catalog's record says of a part besides its identification: name,
# standard, material, and how the designation and the size are written.
_RECORD = {
    "ISO4017": ("Hexagon head screw", "ISO 4017", "Steel, property class 8.8"),
    "ISO4032": ("Hexagon nut", "ISO 4032", "Steel, property class 8"),
    "ISO7089": ("Plain washer", "ISO 7089", "Steel, 200 HV"),
    "ISO2338": ("Parallel pin", "ISO 2338", "Steel, unhardened"),
    "DIN625": ("Deep groove ball bearing", "DIN 625-1", "Rolling bearing steel"),
}
STEEL_KG_PER_MM3 = 7.85e-6


def _number(value):
    text = "%.4f" % value
    text = text.rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def _significant(value, digits):
    if value == 0:
        return "0"
    decimals = digits - 1 - int(math.floor(math.log10(abs(value))))
    text = "%.*f" % (max(decimals, 0), value)
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def _volume(body):
    kind, v = body["kind"], body["values"][3:]
    hexagon = lambda s: math.sqrt(3.0) / 2.0 * s * s
    circle = lambda r: math.pi * r * r
    return {"cylinder": lambda: circle(v[0]) * v[1],
            "hexprism": lambda: hexagon(v[0]) * v[1],
            "hextube": lambda: (hexagon(v[0]) - circle(v[1])) * v[2],
            "tube": lambda: (circle(v[0]) - circle(v[1])) * v[2],
            "sphere": lambda: 4.0 / 3.0 * math.pi * v[0] ** 3}[kind]()


def designation(key, variables):
    values = dict(variables)
    if key == "ISO4017":
        return "ISO 4017 - M%s x %s - 8.8" % (values["D"], values["L"])
    if key == "ISO4032":
        return "ISO 4032 - M%s - 8" % values["D"]
    if key == "ISO7089":
        return "ISO 7089 - %s - 200 HV" % values["D"]
    if key == "ISO2338":
        return "ISO 2338 - %s m6 x %s - St" % (values["D"], values["L"])
    return "DIN 625 - %s" % values["TYPE"]


def record_attributes(key, variables, bodies):
    """The [Attributes] section of the record the catalog writes for the part, in
    order. The mass (and a bearing's main sizes) follow from the part's bodies as
    the geometry file gives them: steel, three significant digits."""
    name, standard, material = _RECORD[key]
    values = dict(variables)
    size = {"ISO4017": lambda: "M%s x %s" % (values["D"], values["L"]),
            "ISO4032": lambda: "M%s" % values["D"],
            "ISO7089": lambda: values["D"],
            "ISO2338": lambda: "%s m6 x %s" % (values["D"], values["L"])}.get(key)
    if size:
        size = size()
    else:
        tubes = [b["values"] for b in bodies if b["kind"] == "tube"]
        if len(tubes) < 2:
            size = None
        else:
            size = "%s (%s x %s x %s)" % (values["TYPE"], _number(2 * tubes[0][4]),
                                          _number(2 * tubes[1][3]), _number(tubes[0][5]))
    mass = _significant(sum(_volume(b) for b in bodies) * STEEL_KG_PER_MM3, 3)
    return [("NAME", name), ("DESIGNATION", designation(key, variables)), ("STANDARD", standard),
            ("SIZE", size), ("MATERIAL", material), ("MASS", mass), ("MASS_UNIT", "kg")]
