"""The steps the explorer takes: what the user, the host, the catalog and the system
may do, each as simcad commands and as its effect on the model.

A step is a kind and its parameters, chosen from the model's state when it is made,
so a sequence can be replayed; a step that no longer fits when replayed (its part is
gone, the catalog is not running) is passed over."""
import itertools

import catalog_parts
import model
import placement

# Piece counts for the steps that kill the catalog in the middle of its record, one
# after another, so that each such step waits for a log line of its own.
_PIECE_COUNTS = itertools.cycle(range(5, 101))
# How long a catalog keeps a whole record open, one after another, so that each such
# step waits for a log line ("closed N ms after the last") of its own.
_HOLD_MS = itertools.cycle(range(2500, 2800))

HAND_START = ('start "${CATALOG}\\bin\\x86\\64\\cscripthost.exe" '
              '"${CATALOG}\\setup\\scripts\\common\\startvestra_tarnvel.vbb" -cadname "BRENVIKCAD" '
              '-path "${EXPORT}\\by-hand.sat" -format "SAT"')
# Two takes in five are armed with a catalog fault, the faults in turn.
FAULTS = ["pieces", "pieces-open", "hold-record", "broken-geometry"]
_TAKE_FAULTS = itertools.cycle(FAULTS)
RECORD_FAULTS = ("pieces", "pieces-open", "hold-record")
# Now and then a take's record carries a remark longer than the host takes, or just
# as long: its value must be cut to 255 characters exactly.
REMARKS = [0] * 6 + [255, 300]


class Step:
    def __init__(self, kind, **params):
        self.kind = kind
        self.params = params

    def __repr__(self):
        return "%s %s" % (self.kind, self.params)


# ---- making steps -------------------------------------------------------------------

# The steps that are faults or rare moments of the road. A schedule gives every
# third step to one of them, the first of its queue that fits, which then goes to
# the back: each entry comes about once in 72 steps (a kill, with two entries,
# twice as often: it needs a running catalog, so that one entry alone might not
# meet one in a short run). A kind with variants (End or unload after it, a new
# part or a take first, what comes in a held record's window) has entries of its
# own and takes its variants in turn, so that a run of 1000 steps meets each
# variant about four times or more, and a short run meets every kind.
# They are not chosen at random besides.
FAULT_KINDS = ["kill", "kill-mid-write", "kill-mid-record", "quit-after-take", "reopen",
               "directory", "missing-directory", "burst", "take-burst", "start-in-progress",
               "event-at-close", "between-calls", "held-window", "kill", "rush", "hand-start", "modes",
               "illegal", "rush", "event-at-close", "between-calls", "rush", "rush", "held-window"]
FAULT_EVERY = 3
# The variants each kind takes in turn, as the parameters they set.
VARIANTS = {"event-at-close": [{"then": "end"}, {"then": "unload"}],
            "between-calls": [{"then": "end"}, {"then": "unload"}],
            "start-in-progress": [{"then": "new"}, {"then": "edit"}],
            "held-window": [{"then": "close"}, {"then": "edit-same"}, {"then": "end"}, {"then": "new"},
                            {"then": "unload"}, {"then": "edit"}, {"then": "wait"}],
            "rush": [{"first": "take", "then": "end"}, {"first": "take", "then": "unload"},
                     {"first": "new", "then": "end"}, {"first": "take", "then": "end"},
                     {"first": "new", "then": "unload"}]}


def skip(kinds):
    """Step kinds a run never takes (a known fault that would end every run early)."""
    for kind in kinds:
        if kind not in _MAKERS:
            raise SystemExit("explorer: no step kind %r" % kind)
        if kind in FAULT_KINDS:
            FAULT_KINDS.remove(kind)
        _CHOICES[:] = [choice for choice in _CHOICES if choice[0] != kind]


class Schedule:
    """The steps of one seed: at random, with a fault step every FAULT_EVERY steps."""

    def __init__(self, seed):
        _restart_counters()
        offset = (seed * 5) % len(FAULT_KINDS)
        self.queue = FAULT_KINDS[offset:] + FAULT_KINDS[:offset]
        self.variants = {kind: itertools.cycle(values) for kind, values in VARIANTS.items()}
        self.next_variant = {kind: next(cycle) for kind, cycle in self.variants.items()}
        self.made = 0
        self.follow = []

    def make(self, rng, states):
        # A follow-up step takes no place of the schedule's: the fault steps keep
        # their share.
        if self.follow:
            kind = self.follow.pop(0)
            step = _MAKERS[kind](rng, states[0])
            if _fits_kind(kind, states[0]) and fits(step, states):
                return step
            self.follow = []
        self.made += 1
        if self.made % FAULT_EVERY == 0:
            for kind in self.queue:
                if _fits_kind(kind, states[0]):
                    step = _MAKERS[kind](rng, states[0])
                    step.params.update(self.next_variant.get(kind, {}))
                    if fits(step, states):
                        self.queue.remove(kind)
                        self.queue.append(kind)
                        if kind in self.variants:
                            self.next_variant[kind] = next(self.variants[kind])
                        if kind == "rush" and (step.params["first"], step.params["then"]) == ("take", "end"):
                            # The library keeps what the closed watcher had seen: the
                            # next watcher of the same load may deliver on its first
                            # change. A new part and a take follow to reach it.
                            self.follow = ["new", "take"]
                        return step
        step = make(rng, states)
        if step.kind == "edit":
            # Most edits are answered at once, so that the replacement comes before
            # anything else can end the road; some are followed by a new part asked
            # for before the catalog answered.
            chance = rng.random()
            self.follow = ["take"] if chance < 0.45 else ["new"] if chance < 0.65 else []
        return step


def _restart_counters():
    """The counters some steps take their parameters from start afresh with each
    seed, so that a seed makes the same steps however many seeds ran before it."""
    global _PIECE_COUNTS, _TAKE_FAULTS, _HOLD_MS
    _PIECE_COUNTS = itertools.cycle(range(5, 101))
    _HOLD_MS = itertools.cycle(range(2500, 2800))
    _TAKE_FAULTS = itertools.cycle(FAULTS)


def _fits_kind(kind, state):
    return all(check(state) for k, _, check in _CHOICES if k == kind)


def _weight(weight, state):
    return weight(state) if callable(weight) else weight


def make(rng, states):
    """A random step that fits the states the system may be in."""
    state = states[0]
    kinds = [(kind, _weight(weight, state)) for kind, weight, fits in _CHOICES
             if fits(state) and kind not in FAULT_KINDS]
    kind = rng.choices([k for k, _ in kinds], [w for _, w in kinds])[0]
    step = _MAKERS[kind](rng, state)
    if not fits(step, states):
        step.params["fault"] = None
    return step


def _stale(states):
    """Whether a watcher may have seen both names already: it then delivers on the
    first change of a take, before a record written slowly is complete."""
    return any(s.watcher == "live" and 3 in s.detection for s in states)


def _edit_choice(rng, state):
    """Half the time, when there is one, a catalog part in a turned workspace (or
    turned itself): its replacement must take its whole placement; else now and
    then a part placed with identification of its own."""
    turned = [part.serial for part in state.parts if part.identified() and
              any(abs(v) > 1e-9 for v in (part.matrix[1], part.workspace[1]))]
    if turned and rng.random() < 0.5:
        return rng.choice(turned)
    # A part placed with identification of its own: its "-mident" lists variables
    # that no catalog part has.
    placed = [part.serial for part in state.parts if part.identified() and part.taken is None]
    if placed and rng.random() < 0.3:
        return rng.choice(placed)
    return _part_choice(rng, state, True)


def _part_choice(rng, state, with_none):
    serials = [part.serial for part in state.parts]
    if with_none:
        serials.append(None)
    return rng.choice(serials) if serials else None


_CHOICES = [
    ("load", 30, lambda s: not s.loaded),
    # A new part asked for after an edit, before the catalog answered, is a road
    # of its own: the part must land as new and the edited part stay.
    ("new", lambda s: 8 if s.edited is None else 15, lambda s: s.loaded),
    ("close", 2, lambda s: s.loaded),
    ("edit", lambda s: 16 if s.started else 3, lambda s: s.loaded),
    ("take", 30, lambda s: s.viewer is True),
    ("move", 3, lambda s: bool(s.parts)),
    ("workspace", 4, lambda s: True),
    ("remove", 2, lambda s: any(p.serial != s.edited for p in s.parts)),
    ("add", 2, lambda s: s.next_added_id < 999),
    ("locate", 2, lambda s: True),
    ("end", 1, lambda s: s.loaded),
    ("main", lambda s: 1 if s.started else 4, lambda s: s.loaded),
    ("unload", 1, lambda s: s.loaded),
    ("rush", 2, lambda s: s.loaded),
    ("illegal", 1, lambda s: s.loaded),
    ("mode2d", 1, lambda s: True),
    ("messages", 1, lambda s: True),
    # A missing installation is put back soon: most steps need a catalog.
    ("install", lambda s: 2 if s.installed else 8, lambda s: True),
    ("kill", 1, lambda s: s.viewer is True),
    ("kill-mid-write", 1, lambda s: s.viewer is True),
    ("hand-start", 1, lambda s: True),
    ("directory", 1, lambda s: True),
    ("burst", 1, lambda s: True),
    ("modes", 2, lambda s: True),
    ("start-in-progress", 2, lambda s: s.loaded and s.installed and not s.viewer),
    ("missing-directory", 1, lambda s: s.loaded and s.installed),
    ("event-at-close", 2, lambda s: s.started and s.viewer is True and s.watcher == "live"
     and s.catalog_path == "ours"),
    ("take-burst", 2, lambda s: s.viewer is True),
    # The catalog's writer faults: killed half-way through its record, ending by
    # itself right after a take, re-opening its record again and again.
    ("kill-mid-record", 2, lambda s: _sure_take(s)),
    ("quit-after-take", 2, lambda s: _sure_take(s)),
    ("reopen", 2, lambda s: _sure_take(s)),
    ("between-calls", 2, lambda s: _sure_take(s) and s.installed),
    # A catalog that writes its record whole and keeps it open for seconds: the
    # delivery waits for it, at most a second; nothing, a command, End or an
    # unload in that window.
    ("held-window", 2, lambda s: _sure_take(s) and s.installed),
]


def _sure_take(s):
    return s.started and s.viewer is True and s.watcher == "live" and s.catalog_path == "ours"

_MAKERS = {
    "load": lambda rng, s: Step("load"),
    "new": lambda rng, s: Step("new", answer=rng.choice(["OK", "Abbruch"])),
    "close": lambda rng, s: Step("close"),
    "edit": lambda rng, s: Step("edit", part=_edit_choice(rng, s)),
    "take": lambda rng, s: Step("take", part=(None if s.shown and rng.random() < 0.5
                                              else catalog_parts.random_part(rng)),
                                fault=next(_TAKE_FAULTS) if rng.random() < 0.4 else None,
                                remark=rng.choice(REMARKS)),
    "move": lambda rng, s: Step("move", part=_part_choice(rng, s, False),
                                by=(rng.randint(-50, 50), rng.randint(-50, 50), rng.randint(-5, 5))),
    "workspace": lambda rng, s: Step("workspace", number=rng.randint(0, 3),
                                     place=(rng.randint(-200, 200), rng.randint(-200, 200), 0,
                                            rng.choice([0, 30, 90, 180, 270]))),
    "remove": lambda rng, s: Step("remove", part=rng.choice(
        [p.serial for p in s.parts if p.serial != s.edited])),
    "add": lambda rng, s: Step("add", tags=rng.choice(_ADDED_TAGS)),
    "locate": lambda rng, s: Step("locate", at=(rng.randint(-100, 100), rng.randint(-100, 100), 0)),
    "end": lambda rng, s: Step("end"),
    "main": lambda rng, s: Step("main", answer=rng.choice(["OK", "Abbruch"])),
    "unload": lambda rng, s: Step("unload"),
    "rush": lambda rng, s: Step("rush", first=rng.choice(["new", "take"]) if s.viewer is True else "new",
                                then=rng.choice(["end", "unload"]), part=catalog_parts.random_part(rng)),
    "illegal": lambda rng, s: Step("illegal", number=rng.choice([103, 0, -1, 105])),
    "mode2d": lambda rng, s: Step("mode2d", on=not s.mode2d),
    "messages": lambda rng, s: Step("messages", on=not s.message_file),
    "install": lambda rng, s: Step("install", on=not s.installed),
    "kill": lambda rng, s: Step("kill"),
    "kill-mid-write": lambda rng, s: Step("kill-mid-write", part=catalog_parts.random_part(rng)),
    "hand-start": lambda rng, s: Step("hand-start"),
    "directory": lambda rng, s: Step("directory"),
    "burst": lambda rng, s: Step("burst", count=rng.choice([3, 20, 200])),
    "start-in-progress": lambda rng, s: Step("start-in-progress", then=rng.choice(["new", "edit"]),
                                             part=_part_choice(rng, s, True)),
    "missing-directory": lambda rng, s: Step("missing-directory"),
    "event-at-close": lambda rng, s: Step("event-at-close", then=rng.choice(["end", "unload"]),
                                          part=catalog_parts.random_part(rng)),
    "kill-mid-record": lambda rng, s: Step("kill-mid-record", part=catalog_parts.random_part(rng),
                                           piece=rng.randint(1, 3), count=next(_PIECE_COUNTS)),
    "quit-after-take": lambda rng, s: Step("quit-after-take", part=catalog_parts.random_part(rng),
                                           pieces=rng.choice([False, True])),
    "between-calls": lambda rng, s: Step("between-calls", then=rng.choice(["end", "unload"]),
                                         part=catalog_parts.random_part(rng)),
    "reopen": lambda rng, s: Step("reopen", part=catalog_parts.random_part(rng),
                                  ms=rng.choice([300, 1000])),
    "held-window": lambda rng, s: _held_window(rng, s),
    "take-burst": lambda rng, s: Step("take-burst", part=catalog_parts.random_part(rng),
                                      fault="pieces", count=rng.choice([5, 30])),
    # The host's other work may leave the reader's modes anywhere before an import.
    "modes": lambda rng, s: Step("modes", values=_mode_values(rng)),
}
# Parts placed with made-up identification: none, half of one, and whole ones. The
# last has variables whose numbers, taken as text, and names run in other orders
# than the numbers do: "-mident" must list them by number.
_ADDED_TAGS = [{}, {"TVL_ID0": "A"}, {"TVL_ID0": "A", "TVL_ID1": "B", "TVLM_0_D": "5"}] + 2 * [
               {"TVL_ID0": "iso4017/iso4017.prj", "TVL_ID1": "ISO4017", "TVLM_2_L": "40",
                "TVLM_10_A": "1", "TVLM_0_Z": "8", "TVLM_1_D": "8"}]


def _held_window(rng, s):
    """Most held records replace a part sent back first; an edit in the window
    goes to another identified part, or to the very part being replaced."""
    identified = [part.serial for part in s.parts if part.identified()]
    replace = rng.choice(identified) if identified and rng.random() < 0.7 else None
    others = [serial for serial in identified if serial != replace]
    return Step("held-window", part=catalog_parts.random_part(rng), replace=replace, ms=next(_HOLD_MS),
                edit=rng.choice(others) if others and rng.random() < 0.8 else _edit_choice(rng, s))


def _mode_values(rng):
    """Some of the reader's modes, at least one, each set to a value it may have."""
    chosen = [(name, values) for name, values in _MODE_VALUES if rng.random() < 0.6]
    return {name: rng.choice(values) for name, values in chosen or [rng.choice(_MODE_VALUES)]}


_MODE_VALUES = [("manipSetOnce", [0, 1]), ("readSilentSuccess", [0, 1, 2]),
                ("keepBibSetModes", [0, 1, 3]), ("readBibModify", [0, 1, 2, 5]),
                ("readBibModifyId", [0, 1, 7]), ("locateParts", [0, 1, 2])]


def fits(step, states):
    """Whether a step made for an earlier state still makes sense here (replays)."""
    state = states[0]
    if step.params.get("fault") in RECORD_FAULTS and _stale(states):
        return False
    for kind, _, check in _CHOICES:
        if kind == step.kind and not check(state):
            return False
    serial = step.params.get("part")
    if step.kind in ("edit", "move", "remove") and serial is not None and state.part(serial) is None:
        return False
    if step.kind == "remove" and step.params["part"] == state.edited:
        return False
    if step.kind == "rush" and step.params["first"] == "take" and state.viewer is not True:
        return False
    if step.kind == "take" and step.params["part"] is None and (
            any(t.shown != state.shown or t.viewer is not True for t in states) or state.shown is None):
        return False
    if step.kind == "start-in-progress" and any(t.viewer is not False for t in states):
        return False
    if step.kind == "held-window" and (
            any(step.params[name] is not None and state.part(step.params[name]) is None
                for name in ("replace", "edit"))
            or step.params["then"] == "edit-same" and step.params["replace"] is None):
        return False
    if step.kind in ("kill-mid-record", "quit-after-take", "reopen", "between-calls",
                     "held-window") and (
            _stale(states) or not all(_sure_take(t) and t.installed for t in states)):
        return False
    if step.kind == "event-at-close" and any(
            not (t.started and t.viewer is True and t.watcher == "live" and t.catalog_path == "ours")
            for t in states):
        return False
    return True


# ---- commands -----------------------------------------------------------------------

def commands(step, states):
    """The simcad lines of a step; `states` are the states the system may be in."""
    state = states[0]
    kind, p = step.kind, step.params
    settle = ["wait catalog idle 15000"]
    if kind == "load":
        return ["load"]
    if kind in ("new", "main"):
        answer = ["answer " + p["answer"]] if any(not s.started and not s.installed for s in states) else []
        return answer + (["select 100"] if kind == "new" else ["main"]) + settle
    if kind == "close":
        # Closing stops the watcher and waits for its thread: none may be left the
        # moment the call returns (one left to end by itself would still look,
        # and deliver, for up to a second).
        return ["select 101", "wait threads idle 0"] + settle
    if kind == "edit":
        part = state.part(p["part"]) if p["part"] is not None else None
        answer = ["answer OK"] if any(s.started and not (part and part.identified()) for s in states) else []
        return answer + ["select 102" + (" part=%d" % part.id if part else "")] + settle
    if kind == "take":
        return _take_commands(p["part"], p["fault"], states, p.get("remark", 0)) + settle
    if kind == "take-burst":
        # Unrelated files while the record is still being written: each is a change
        # the watcher sees, and none may make it take the export before it is done.
        commands = _take_commands(p["part"], p["fault"], states)
        files = ["file ${EXPORT}\\unrelated-%d.tmp x" % n for n in range(p["count"])]
        at = next(i for i, line in enumerate(commands) if line.startswith("catalog take")) + 1
        return commands[:at] + files + commands[at:] + settle
    if kind == "kill-mid-record":
        # The record is closed half written when its writer dies: nothing tells it
        # apart from a finished one, so it is imported as it stands, on this road.
        # At least one piece is written: its change record is the one after both
        # names that makes the delivery due (without it the table may wait, and the
        # watcher end with the catalog). A piece count of the step's own makes the
        # log line it waits for one that no earlier step of the episode wrote.
        written = "record piece %d/%d written" % (p["piece"], p["count"])
        return ["catalog fault pieces %d 300" % p["count"], "catalog take " + _take_words(p["part"]),
                'wait text ${EXPORT}\\..\\catalog.log "%s"' % written,
                "catalog kill", "wait catalog closed 5000", "wait import 10000"] + settle
    if kind == "quit-after-take":
        arm = ["catalog fault pieces 4 150"] if p["pieces"] else []
        return arm + ["catalog fault quit-after-take", "catalog take " + _take_words(p["part"]),
                      'wait text ${EXPORT}\\..\\catalog.log "quitting after the take"',
                      "wait catalog closed 15000", "wait import 10000"] + settle
    if kind == "between-calls":
        # The import has run and asked for the catalog again (the deferred 100 is
        # queued) when the plug-in goes: after End the call still runs, and starts
        # the plug-in anew; after an unload it finds no macro and is dropped.
        return (["catalog take " + _take_words(p["part"]), "wait deferred %d" % len(state.deferred),
                 "expect deferredCalls[-1].state == queued", p["then"], "pump"] + settle +
                (["wait threads idle 5000"] if p["then"] == "unload" else []))
    if kind == "reopen":
        # The import may come only once the writer has stopped, and none of its
        # opens may be refused (the log's count is checked after every step).
        return ["catalog fault reopen %d" % p["ms"], "catalog take " + _take_words(p["part"]),
                'wait text ${EXPORT}\\..\\catalog.log "record reopened" 15000',
                "wait import 10000"] + settle
    if kind == "held-window":
        # The record is written whole at once and kept open for longer than the
        # watcher waits for its writer. The log line with the step's own hold time
        # says the take has begun; a moment later both names are complete and the
        # delivery waits for the writer (at most a second after the write).
        replace = state.part(p["replace"]) if p["replace"] is not None else None
        first = ["select 102 part=%d" % replace.id] + settle if replace else []
        held = first + ["catalog fault pieces 1 0 open %d" % p["ms"], "catalog take " + _take_words(p["part"]),
                        'wait text ${EXPORT}\\..\\catalog.log "closed %d ms after the last"' % p["ms"]]
        then = p["then"]
        if then == "wait":
            return held + ["wait import 10000"] + settle
        held.append("pump 300")
        if then == "close":
            return held + ["select 101", "wait import 10000"] + settle
        if then == "new":
            return held + ["select 100", "wait import 10000"] + settle
        if then in ("edit", "edit-same"):
            part = replace if then == "edit-same" else state.part(p["edit"]) if p["edit"] is not None else None
            answer = ["answer OK"] if not (part and part.identified()) else []
            return held + answer + ["select 102" + (" part=%d" % part.id if part else ""),
                                    "wait import 10000"] + settle
        if then == "end":
            return held + ["end", "wait threads idle 0"] + settle
        return held + ["unload"] + settle + ["wait threads idle 5000"]
    if kind == "start-in-progress":
        # The script host waits before it starts a viewer: a command given then
        # finds a catalog start in progress. The expect line proves it.
        part = state.part(p["part"]) if p["part"] is not None else None
        second = (["select 100"] if p["then"] == "new" else
                  ["answer OK", "select 102" + (" part=%d" % part.id if part else "")])
        return ["select 100", "expect catalog.scriptHosts == 1"] + second + settle
    if kind == "missing-directory":
        return (["remove ${EXPORT}", "select 100"] + settle +
                ["wait threads idle 5000", "file ${EXPORT}\\marker.txt"])
    if kind == "event-at-close":
        # The export is delivered, its event waits for the main loop, and the
        # plug-in goes first.
        return (["catalog take " + _take_words(p["part"]), "wait event queued 10000", p["then"]] +
                settle + ["wait threads idle 5000"])
    if kind == "move":
        return ["part move %d %d %d %d" % ((state.part(p["part"]).id,) + p["by"])]
    if kind == "workspace":
        n = p["number"]
        if n == 0 or n in state.workspaces:
            return ["workspace %d" % n]
        return ["workspace %d %d %d %d %d" % ((n,) + p["place"])]
    if kind == "remove":
        return ["part remove %d" % state.part(p["part"]).id]
    if kind == "add":
        words = " ".join("%s=%s" % item for item in p["tags"].items()) or "bibname=plain"
        return ["part add %d %s" % (state.next_added_id, words)]
    if kind == "locate":
        return ["locate %d %d %d" % p["at"]]
    if kind == "end":
        return ["end", "wait threads idle 0"] + settle
    if kind == "unload":
        # An unload waits for the watcher to be done with the library's code; the
        # thread itself may take a moment more to go.
        return ["unload"] + settle + ["wait threads idle 5000"]
    if kind == "rush":
        first = (["select 100"] if p["first"] == "new"
                 else ["catalog take " + _take_words(p["part"])])
        return first + [p["then"]] + settle + ["wait threads idle 5000"]
    if kind == "illegal":
        return ["select %d" % p["number"]]
    if kind == "mode2d":
        return ["mode2d " + ("on" if p["on"] else "off")]
    if kind == "messages":
        return (['file ${EXPORT}\\..\\cad_msg.txt "4202=Note\\n4231=The library part cannot be loaded.\\n"',
                 "messages ${EXPORT}\\..\\cad_msg.txt"] if p["on"]
                else ['file ${EXPORT}\\..\\no_msg.txt ""', "messages ${EXPORT}\\..\\no_msg.txt"])
    if kind == "install":
        return ["env KVT_TARNVEL_ROOT_DIR=" + ("${CATALOG}" if p["on"] else "${EXPORT}\\..\\nocatalog")]
    if kind == "kill":
        return ["catalog kill", "wait threads idle 5000"]
    if kind == "kill-mid-write":
        return ["catalog fault hold-geometry", "catalog take " + _take_words(p["part"]),
                "catalog kill", "wait threads idle 5000", "pump 300"] + settle
    if kind == "hand-start":
        return [HAND_START, "wait catalog running 15000"] + settle
    if kind == "directory":
        return ["remove ${EXPORT}", "file ${EXPORT}\\marker.txt", "pump 300"]
    if kind == "burst":
        return (["file ${EXPORT}\\unrelated-%d.tmp x" % n for n in range(p["count"])] +
                ["pump 300"] + settle)
    if kind == "modes":
        return ["modes " + " ".join("%s=%d" % item for item in sorted(p["values"].items()))]
    raise ValueError(kind)


def _take_words(part):
    if part is None:
        return ""
    key, variables = part
    return " ".join([key] + ["%s=%s" % v for v in variables])


def _take_commands(part, fault, states, remark=0):
    sure = all(s.watcher == "live" and s.catalog_path == "ours" for s in states)
    arm = {None: [], "pieces": ["catalog fault pieces 4 120"],
           "pieces-open": ["catalog fault pieces 3 100 open 400"],
           "hold-record": ["catalog fault hold-record"],
           "broken-geometry": ["catalog fault broken-geometry"]}[fault]
    if remark:
        arm.append("catalog fault long-remark %d" % remark)
    take = [("catalog take " + _take_words(part)).rstrip()]
    if fault == "hold-record":
        # The record is held back while the host runs its loop: nothing may be
        # imported before it is written.
        take += ["pump 400", "catalog release"]
    wait = ["wait import 10000"] if sure else ["pump 1500"]
    return arm + take + wait


# ---- effects ------------------------------------------------------------------------

def effects(step, state):
    """The states the system may be in after the step, from one state before it."""
    s = state.copy()
    kind, p = step.kind, step.params
    if kind == "load":
        # The library's detection state starts at "nothing seen" with every load.
        s.loaded, s.detection = True, frozenset([0])
        return [s]
    if kind == "new":
        return [_new_part(s, p["answer"])]
    if kind == "main":
        _start(s, p["answer"])
        return [s]
    if kind == "close":
        if s.started:
            s.watcher, s.viewer = "none", False
        return [s]
    if kind == "edit":
        return _edit(s, p["part"])
    if kind in ("take", "take-burst"):
        return _take(s, p["part"], p["fault"], p.get("remark", 0))
    if kind == "kill-mid-record":
        s.viewer, s.shown = False, None
        written = s.copy()
        _written(written, p["part"], True, "partial" if p["piece"] else "none")
        return [_import(written)]
    if kind == "quit-after-take":
        s.viewer, s.shown = False, None
        written = s.copy()
        _written(written, p["part"])
        return [_import(written)]
    if kind == "reopen":
        return _take(s, p["part"], None)
    if kind == "between-calls":
        written = s.copy()
        _written(written, p["part"])
        s = _import(written)
        # The deferred 100 is only queued: its command has not gone out.
        s.deferred.pop()
        s.commands.pop()
        _destroy(s)
        if p["then"] == "unload":
            s.loaded = False
            s.deferred.append((100, "dropped"))
            return [s]
        s.deferred.append(100)
        return [_new_part(s, "Abbruch")]
    if kind == "held-window":
        return _held(s, p)
    if kind == "start-in-progress":
        s = _new_part(s, "Abbruch")
        s.edited = None
        if p["then"] == "edit":
            s.messages.append(model.message(model.NOTICE, s.message_file))
        return [s]
    if kind == "missing-directory":
        s.files, s.on_disk = set(), None
        s = _new_part(s, "Abbruch")
        # The watcher cannot open the directory and ends at once.
        s.watcher = "none"
        return [s]
    if kind == "event-at-close":
        _written(s, p["part"])
        s.shown = p["part"]
        s.detection = frozenset([0])
        _destroy(s)
        if p["then"] == "unload":
            s.loaded = False
        return [s]
    if kind == "move":
        part = s.part(p["part"])
        part.matrix = placement.multiply(part.matrix, placement.translation(*p["by"]))
        return [s]
    if kind == "workspace":
        n = p["number"]
        if n and n not in s.workspaces:
            s.workspaces[n] = placement.workspace_placement(*p["place"])
        s.active = n
        return [s]
    if kind == "remove":
        s.parts.remove(s.part(p["part"]))
        return [s]
    if kind == "add":
        pairs = list(p["tags"].items()) or [("bibname", "plain")]
        part = s.new_part(dict(p["tags"]), placement.translation(*s.located), s.active_workspace())
        part.record = pairs
        part.id = s.next_added_id
        s.next_added_id += 1
        return [s]
    if kind == "locate":
        s.located = p["at"]
        return [s]
    if kind == "end":
        _destroy(s)
        return [s]
    if kind == "unload":
        _destroy(s)
        s.loaded = False
        return [s]
    if kind == "rush":
        return _rush(s, p)
    if kind == "illegal":
        s.asserts += 1
        return [s]
    if kind == "mode2d":
        s.mode2d = p["on"]
        return [s]
    if kind == "messages":
        s.message_file = p["on"]
        return [s]
    if kind == "install":
        s.installed = p["on"]
        return [s]
    if kind == "modes":
        s.modes.update(p["values"])
        return [s]
    if kind == "kill":
        s.viewer, s.watcher, s.shown = False, "none", None
        return [s]
    if kind == "kill-mid-write":
        return _kill_mid_write(s)
    if kind == "hand-start":
        if not s.viewer:
            s.shown = None
        s.viewer, s.catalog_path = True, "hand"
        s.commands.append("hand")
        return [s]
    if kind == "directory":
        # The watcher's directory is gone under it: it may go on seeing the new one
        # or see nothing more; the next export tells which.
        s.files, s.on_disk = set(), None
        if s.watcher != "live":
            return [s]
        blind = s.copy()
        blind.watcher = "blind"
        return [s, blind]
    if kind == "burst":
        return [_any_change(s)]
    raise ValueError(kind)


def _start(s, answer):
    """`Main`: the plug-in object, or the installation offer."""
    if s.started:
        return True
    if not s.installed:
        s.messages.append(model.message(model.OFFER, s.message_file))
        s.system += answer == "OK"
        return False
    s.started = True
    s.extension = "dwg" if s.mode2d else "sat"
    return True


def _send(s, part=None):
    """A command reaches the catalog: it runs, writes to our names, and is watched;
    with a part (an edit) it carries the part's identification, and the catalog
    opens that part when it has it."""
    if not s.viewer:
        s.shown = None
    s.commands.append(model.mident(part.tags) if part is not None else "")
    s.named = True
    if part is not None and part.taken is not None and (
            part.tags == catalog_parts.identification(*part.taken)):
        s.shown = part.taken
    s.viewer, s.catalog_path, s.catalog_extension, s.watcher = True, "ours", s.extension, "live"


def _new_part(s, answer):
    if _start(s, answer):
        s.edited = None
        _send(s)
    return s


def _edit(s, serial):
    if not s.started:
        return [s]
    part = s.part(serial) if serial is not None else None
    if part is not None and part.identified():
        s.edited = part.serial
        _send(s, part)
    else:
        s.messages.append(model.message(model.NOTICE, s.message_file))
        s.edited = None
        _send(s)
    return [s]


def _written(s, taken, whole=True, record="full", remark=0):
    if s.catalog_path == "ours":
        s.files |= {s.catalog_extension, s.catalog_extension + ".txt"}
        if record == "none":
            s.files.discard(s.catalog_extension + ".txt")
        s.on_disk = (taken, whole, record, remark) if s.catalog_extension == s.extension else None


def _take(s, part, fault, remark=0):
    if part is None:
        part = s.shown
    s.shown = part
    if s.catalog_path != "ours":
        # The catalog writes elsewhere; a watcher that has seen both names delivers
        # on this change all the same.
        return [_any_change(s)]
    unwatched = s.copy()
    _written(unwatched, part, fault != "broken-geometry", remark=remark)
    if s.watcher == "none":
        return [unwatched]
    if s.watcher == "blind":
        return [unwatched]
    written = s.copy()
    _written(written, part, fault != "broken-geometry", remark=remark)
    return [_import(written)]


def _any_change(s):
    """A change in the export directory: a watcher that has seen both names
    delivers on it, whatever is at the export names then."""
    if s.watcher == "live" and s.detection == frozenset([3]):
        return _import(s)
    return s


def _import(s):
    """The export is delivered and imported from what is on disk at the export
    names, and the catalog is opened again."""
    s = s.copy()
    s.deferred.append(104)
    taken, whole, record, remark = s.on_disk if s.on_disk else (None, False, "none", 0)
    old = s.part(s.edited) if s.edited is not None else None
    before = dict(s.modes)
    modes = dict(before, manipSetOnce=0, readSilentSuccess=1, keepBibSetModes=1, readBibModify=2)
    if old is not None:
        s.reads.append({"suffix": s.extension, "mode": 9, "activeWorkspace": 0,
                        "modes": dict(modes, manipSetOnce=1)})
    else:
        s.reads.append({"suffix": s.extension, "mode": 2, "activeWorkspace": s.active,
                        "modes": dict(modes, locateParts=1)})
    if whole and taken is not None:
        tags = catalog_parts.identification(*taken) if record == "full" else {}
        if old is not None:
            part = s.new_part(tags, old.world(), placement.IDENTITY, taken)
            s.parts.remove(old)
        else:
            part = s.new_part(tags, placement.translation(*s.located), s.active_workspace(), taken)
        part.record, part.remark = record, remark
    s.modes = dict(before, readBibModifyId=0, manipSetOnce=0)
    s.edited = None
    s.files -= {s.extension, s.extension + ".txt"}
    s.on_disk = None
    s.detection = frozenset([0])
    s.deferred.append(100)
    _send(s)
    return s


def _destroy(s):
    """`End` or unloading: the watcher, the catalog and the export files go (the
    files only when the plug-in object has named them)."""
    if not s.started:
        return
    s.started, s.watcher, s.viewer, s.edited, s.shown = False, "none", False, None, None
    if s.named:
        s.files -= {s.extension, s.extension + ".txt"}
        s.on_disk = None
    s.named = False


def _rush(s, p):
    if p["first"] == "new":
        s = _new_part(s, "Abbruch")
        sent = s.started
        _destroy(s)
        if p["then"] == "unload":
            s.loaded = False
        if not sent:
            return [s]
        # The script host already on its way may start a viewer after the close, or
        # be ended by the close before it logged its start.
        late = s.copy()
        late.viewer, late.catalog_path, late.shown = True, "ours", None
        unlogged = s.copy()
        unlogged.commands.pop()
        return [s, late, unlogged]
    # The catalog shows the part it takes: an End that finds the plug-in not
    # started leaves it running, and its next plain take is of that part.
    s.shown = p["part"]
    outcomes = [s]
    if s.catalog_path == "ours":
        _written(s, p["part"])
        if s.watcher == "live":
            # The watcher may have seen none, one or both names before the close.
            outcomes = []
            for value in range(4):
                t = s.copy()
                t.detection = frozenset([value])
                outcomes.append(t)
    elif s.watcher == "live" and s.detection == frozenset([3]):
        # Written elsewhere: delivery on that change, or the close came first.
        t = s.copy()
        t.detection = frozenset([0])
        outcomes.append(t)
    for t in outcomes:
        _destroy(t)
        if p["then"] == "unload":
            t.loaded = False
    return outcomes


def _held(s, p):
    """A record written whole and held open, most often for a part sent back just
    before. The export lands once, on this road; a command in the window comes after
    the import, in place of the import's call that opens the catalog again, and an
    edit of the replaced part goes to the part that took its place. After End or an
    unload the host drops the event. The record, still held when the export files
    are deleted, may stay behind."""
    if p["replace"] is not None:
        s = _edit(s, p["replace"])[0]
    replaced, then = s.edited, p["then"]
    _written(s, p["part"])
    s.shown = p["part"]
    if then in ("end", "unload"):
        s.detection = frozenset([0])
        _destroy(s)
        s.loaded = then == "end"
        return _record_may_stay(s)
    s = _import(s)
    if then == "wait":
        return _record_may_stay(s)
    s.deferred.pop()
    s.commands.pop()
    if then == "close":
        s.watcher, s.viewer = "none", False
    elif then == "new":
        s = _new_part(s, "Abbruch")
    else:
        target = p["replace"] if then == "edit-same" else p["edit"]
        if replaced is not None and s.part(replaced) is None and target == replaced:
            target = s.parts[-1].serial
        s = _edit(s, target)[0]
    return _record_may_stay(s)


def _record_may_stay(s):
    """The export files deleted, or the record, still held by its writer, left
    (beside what other files an earlier road left)."""
    if s.extension is None or s.extension + ".txt" in s.files:
        return [s]
    left = s.copy()
    left.files.add(left.extension + ".txt")
    left.on_disk = (None, False, "full", 0)
    return [s, left]


def _kill_mid_write(s):
    watched = s.watcher == "live"
    if s.catalog_path != "ours":
        s.viewer, s.watcher = False, "none"
        return [s]
    s.files.add(s.catalog_extension)
    s.on_disk = (None, False, "none", 0) if s.catalog_extension == s.extension else None
    if not watched:
        s.viewer, s.watcher = False, "none"
        return [s]
    value = next(iter(s.detection))
    s.viewer, s.watcher = False, "none"
    if value == 3:
        # The half file's first change delivers; the host runs the import once the
        # catalog is gone, and the read finds no whole part.
        return [_import(s)]
    s.detection = frozenset([{0: 1, 1: 1, 2: 3}[value]])
    return [s]


BRANCHES = ["between-calls end", "between-calls unload", "kill-mid-record", "quit-after-take", "reopen", "illegal", "start-in-progress", "missing-directory", "event queued at end", "event queued at unload",
            "take-burst", "modes", "import with reader modes set", "kill", "kill-mid-write", "burst",
            "directory", "hand-start", "new part after an edit", "notice", "edit with identification",
            "edit while not started", "import new", "import replacing", "replacement turned",
            "take of the part shown", "stale watcher delivers", "take not watched",
            "take with pieces", "take with pieces-open", "take with hold-record",
            "take with broken-geometry", "take with a long remark", "installation offer", "rush new then end",
            "rush new then unload", "rush take then end", "rush take then unload",
            "held window wait", "held window close", "held window new", "held window edit",
            "held window edit-same", "held window end", "held window unload"]


# ---- branches -----------------------------------------------------------------------

def branches(step, before, after):
    """The branches of the road a step reached, for the summary: a branch that a
    run never reaches is seen there."""
    kind, p = step.kind, step.params
    state, found = before[0], []
    if kind in ("start-in-progress", "missing-directory", "take-burst", "modes", "kill-mid-write",
                "kill-mid-record", "quit-after-take", "reopen", "illegal",
                "burst", "directory", "kill", "hand-start"):
        found.append(kind)
    if kind == "event-at-close":
        found.append("event queued at " + p["then"])
    if kind == "between-calls":
        found.append("between-calls " + p["then"])
    if kind == "held-window":
        found.append("held window " + p["then"])
    if kind == "new" and state.edited is not None:
        found.append("new part after an edit")
    if kind == "edit":
        part = state.part(p["part"]) if p["part"] is not None else None
        if not state.started:
            found.append("edit while not started")
        elif part is not None and part.identified():
            found.append("edit with identification")
        else:
            found.append("notice")
    if after and len(after[0].reads) > len(state.reads):
        read = after[0].reads[-1]
        found.append("import replacing" if read["mode"] == 9 else "import new")
        if read["mode"] == 9:
            old = state.part(state.edited)
            turned = [old.matrix[1], old.workspace[1]] if old else []
            if any(abs(v) > 1e-9 for v in turned):
                found.append("replacement turned")
        if any(v != 0 for n, v in state.modes.items()):
            found.append("import with reader modes set")
        if kind == "take" and p["part"] is None:
            found.append("take of the part shown")
        if any(3 in s.detection for s in before):
            found.append("stale watcher delivers")
    if kind == "take" and p["fault"]:
        found.append("take with " + p["fault"])
    if kind == "take" and p.get("remark"):
        found.append("take with a long remark")
    if kind == "take" and after and len(after[0].reads) == len(state.reads) and state.catalog_path == "ours":
        found.append("take not watched")
    if kind in ("new", "main") and not state.started and not state.installed:
        found.append("installation offer")
    if kind == "rush":
        found.append("rush %s then %s" % (p["first"], p["then"]))
    return found
