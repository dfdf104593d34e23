"""The standard parts the explorer takes from the catalog stand-in and what a taken part
carries, written from the catalog's documented tables, not from the plug-in."""
import math

BOLT_LENGTHS = [6, 8, 10, 12, 16, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 80, 90,
                100, 110, 120, 130, 140, 150]
PIN_LENGTHS = [6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 35, 40, 45, 50,
               55, 60, 65, 70, 75, 80, 85, 90, 95, 100, 120, 140]
BOLT_RANGES = {6: (12, 60), 8: (16, 80), 10: (20, 100), 12: (25, 120), 16: (30, 150)}
PIN_RANGES = {4: (8, 40), 5: (10, 50), 6: (12, 60), 8: (14, 80)}
# key: (project, name, standard, material, designation, size; a bearing's size
# follows from its bodies)
FAMILIES = {
    "ISO4017": ("iso4017/iso4017.prj", "Hexagon head screw", "ISO 4017", "Steel, property class 8.8",
                "ISO 4017 - M{D} x {L} - 8.8", "M{D} x {L}"),
    "ISO4032": ("iso4032/iso4032.prj", "Hexagon nut", "ISO 4032", "Steel, property class 8",
                "ISO 4032 - M{D} - 8", "M{D}"),
    "ISO7089": ("iso7089/iso7089.prj", "Plain washer", "ISO 7089", "Steel, 200 HV", "ISO 7089 - {D} - 200 HV",
                "{D}"),
    "ISO2338": ("iso2338/iso2338.prj", "Parallel pin", "ISO 2338", "Steel, unhardened",
                "ISO 2338 - {D} m6 x {L} - St", "{D} m6 x {L}"),
    "DIN625": ("din625/din625.prj", "Deep groove ball bearing", "DIN 625-1", "Rolling bearing steel",
               "DIN 625 - {TYPE}", None),
}
STEEL_KG_PER_MM3 = 7.85e-6


def random_part(rng):
    """(key, [(variable, value)...]) of a part the catalog has."""
    key = rng.choice(sorted(FAMILIES))
    lengths = {"ISO4017": (BOLT_LENGTHS, BOLT_RANGES), "ISO2338": (PIN_LENGTHS, PIN_RANGES)}.get(key)
    if lengths:
        diameter = rng.choice(sorted(lengths[1]))
        low, high = lengths[1][diameter]
        return key, [("D", str(diameter)), ("L", str(rng.choice([n for n in lengths[0] if low <= n <= high])))]
    if key == "DIN625":
        return key, [("TYPE", str(rng.randint(6200, 6210)))]
    return key, [("D", str(rng.choice([3, 4, 5, 6, 8, 10, 12, 16, 20, 24])))]


def identification(key, variables):
    """The attributes a part taken as (key, variables) carries from its record."""
    return dict({"TVL_ID0": FAMILIES[key][0], "TVL_ID1": key},
                **{"TVLM_%d_%s" % (number, name): value for number, (name, value) in enumerate(variables)})


def _number(value):
    text = ("%.4f" % value).rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def _significant(value, digits):
    if value == 0:
        return "0"
    text = "%.*f" % (max(digits - 1 - int(math.floor(math.log10(abs(value)))), 0), value)
    return text.rstrip("0").rstrip(".") if "." in text else text


def _volume(body):
    kind, v = body["kind"], body["values"][3:]
    hexagon, circle = (lambda s: math.sqrt(3.0) / 2.0 * s * s), (lambda r: math.pi * r * r)
    return {"cylinder": lambda: circle(v[0]) * v[1],
            "hexprism": lambda: hexagon(v[0]) * v[1],
            "hextube": lambda: (hexagon(v[0]) - circle(v[1])) * v[2],
            "tube": lambda: (circle(v[0]) - circle(v[1])) * v[2],
            "sphere": lambda: 4.0 / 3.0 * math.pi * v[0] ** 3}[kind]()


def designation(key, variables):
    return FAMILIES[key][4].format(**dict(variables))


def record_attributes(key, variables, bodies):
    """The record's [Attributes] in order; the mass (and a bearing's main sizes) from the
    part's bodies as the geometry file gives them: steel, three significant digits."""
    _, name, standard, material, _, size = FAMILIES[key]
    size = size and size.format(**dict(variables))
    tubes = [b["values"] for b in bodies if b["kind"] == "tube"]
    if key == "DIN625" and len(tubes) >= 2:
        size = "%s (%s x %s x %s)" % (dict(variables)["TYPE"], _number(2 * tubes[0][4]),
                                      _number(2 * tubes[1][3]), _number(tubes[0][5]))
    mass = _significant(sum(_volume(b) for b in bodies) * STEEL_KG_PER_MM3, 3)
    return [("NAME", name), ("DESIGNATION", designation(key, variables)), ("STANDARD", standard),
            ("SIZE", size), ("MATERIAL", material), ("MASS", mass), ("MASS_UNIT", "kg")]
