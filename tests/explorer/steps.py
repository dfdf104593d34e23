"""The explorer's steps: a kind and its parameters, drawn from the model's state (so a
sequence replays; a step that no longer fits is passed over), its simcad lines, its
effect on the model and the branches of the road it reaches."""
import itertools

import catalog_parts
import model
import placement

HAND_START = ('start "${CATALOG}\\bin\\x86\\64\\cscripthost.exe" '
              '"${CATALOG}\\setup\\scripts\\common\\startvestra_tarnvel.vbb" -cadname "BRENVIKCAD" '
              '-path "${EXPORT}\\by-hand.sat" -format "SAT"')
# Two takes in five are armed with a catalog fault, the faults in turn.
FAULTS = ["pieces", "pieces-open", "hold-record", "broken-geometry"]
RECORD_FAULTS = FAULTS[:3]
# Now and then a record's remark is longer than the host takes, or just as long.
REMARKS = [0] * 6 + [255, 300]
SETTLE = ["wait catalog idle 15000"]
LOG = "${EXPORT}\\..\\catalog.log"


class Step:
    def __init__(self, kind, **params):
        self.kind, self.params = kind, params

    def __repr__(self):
        return "%s %s" % (self.kind, self.params)


# Faults and rare moments come only on schedule: every FAULT_EVERY-th step is the first
# of this queue that fits, which then goes to the back; a kind takes its variants in turn.
FAULT_KINDS = ["kill", "kill-mid-write", "kill-mid-record", "quit-after-take", "reopen",
               "directory", "missing-directory", "burst", "take-burst", "start-in-progress",
               "event-at-close", "between-calls", "held-window", "kill", "rush", "hand-start", "modes",
               "illegal", "rush", "event-at-close", "between-calls", "rush", "rush", "held-window"]
FAULT_EVERY = 3
_THEN = [{"then": "end"}, {"then": "unload"}]
VARIANTS = {"event-at-close": _THEN, "between-calls": _THEN,
            "start-in-progress": [{"then": "new"}, {"then": "edit"}],
            "held-window": [{"then": t} for t in ("close", "edit-same", "end", "new", "unload", "edit", "wait")],
            "rush": [{"first": f, "then": t} for f, t in (("take", "end"), ("take", "unload"), ("new", "end"),
                                                          ("take", "end"), ("new", "unload"))]}


def skip(kinds):
    """Step kinds a run never takes (a known fault that would end every run early)."""
    for kind in kinds:
        if kind not in KINDS:
            raise SystemExit("explorer: no step kind %r" % kind)
        FAULT_KINDS[:] = [k for k in FAULT_KINDS if k != kind]
        KINDS[kind] = (KINDS[kind][0], lambda s: False, KINDS[kind][2])


def _restart_counters():
    """Afresh with each seed, so a seed makes the same steps whatever ran before; piece
    counts and hold times go in turn, so each step waits for a log line of its own."""
    global _COUNTERS
    _COUNTERS = {"pieces": itertools.cycle(range(5, 101)), "hold": itertools.cycle(range(2500, 2800)),
                 "fault": itertools.cycle(FAULTS)}


class Schedule:
    """The steps of one seed: at random, with a fault step every FAULT_EVERY steps."""

    def __init__(self, seed):
        _restart_counters()
        offset = (seed * 5) % len(FAULT_KINDS)
        self.queue = FAULT_KINDS[offset:] + FAULT_KINDS[:offset]
        self.turns, self.made, self.follow = {}, 0, []  # turns: variants taken by kind

    def make(self, rng, states):
        if self.follow:  # a follow-up takes no place of the schedule's
            kind = self.follow.pop(0)
            step = _make_kind(kind, rng, states[0])
            if KINDS[kind][1](states[0]) and fits(step, states):
                return step
            self.follow = []
        self.made += 1
        if self.made % FAULT_EVERY == 0:
            for kind in self.queue:
                if not KINDS[kind][1](states[0]):
                    continue
                step = _make_kind(kind, rng, states[0])
                if kind in VARIANTS:
                    step.params.update(VARIANTS[kind][self.turns.get(kind, 0) % len(VARIANTS[kind])])
                if fits(step, states):
                    self.queue.append(self.queue.pop(self.queue.index(kind)))
                    self.turns[kind] = self.turns.get(kind, 0) + 1
                    if kind == "rush" and (step.params["first"], step.params["then"]) == ("take", "end"):
                        # The library keeps what the closed watcher saw: the next may deliver at once.
                        self.follow = ["new", "take"]
                    return step
        step = make(rng, states)
        if step.kind == "edit":
            # Most edits are answered at once; some meet a new part asked for first.
            chance = rng.random()
            self.follow = ["take"] if chance < 0.45 else ["new"] if chance < 0.65 else []
        return step


def make(rng, states):
    """A random step, not a fault, that fits the states the system may be in."""
    state = states[0]
    kinds = [(kind, weight(state) if callable(weight) else weight)
             for kind, (weight, check, _) in KINDS.items() if weight and check(state)]
    step = _make_kind(rng.choices([k for k, _ in kinds], [w for _, w in kinds])[0], rng, state)
    if not fits(step, states):
        step.params["fault"] = None
    return step


def _make_kind(kind, rng, state):
    maker = KINDS[kind][2]
    return Step(kind, **maker(rng, state)) if maker else Step(kind)


def _stale(states):
    """A watcher that may have seen both names delivers before a slow record is complete."""
    return any(s.watcher == "live" and 3 in s.detection for s in states)


def _sure_take(s):
    return s.started and s.viewer is True and s.watcher == "live" and s.catalog_path == "ours"


def _edit_choice(rng, state):
    """Half the time a turned part (its replacement takes its whole placement); now and
    then one placed with identification of its own (variables no catalog part has)."""
    turned = [part.serial for part in state.parts if part.identified() and part.turned()]
    if turned and rng.random() < 0.5:
        return rng.choice(turned)
    placed = [part.serial for part in state.parts if part.identified() and part.taken is None]
    if placed and rng.random() < 0.3:
        return rng.choice(placed)
    return _part_choice(rng, state, True)


def _part_choice(rng, state, with_none):
    serials = [part.serial for part in state.parts] + ([None] if with_none else [])
    return rng.choice(serials) if serials else None


def _held_window(rng, s):
    """Mostly replacing a part sent back first; an edit in the window to another part or to it."""
    identified = [part.serial for part in s.parts if part.identified()]
    replace = rng.choice(identified) if identified and rng.random() < 0.7 else None
    others = [serial for serial in identified if serial != replace]
    return dict(part=catalog_parts.random_part(rng), replace=replace, ms=next(_COUNTERS["hold"]),
                edit=rng.choice(others) if others and rng.random() < 0.8 else _edit_choice(rng, s))


def _mode_values(rng):
    """Some of the reader's modes, at least one, each set to a value it may have."""
    chosen = [(name, values) for name, values in model.MODES.items() if rng.random() < 0.6]
    return {name: rng.choice(values) for name, values in chosen or [rng.choice(list(model.MODES.items()))]}


# Parts placed with made-up identification: none, half, whole; the last has variables
# whose numbers as text and names run in other orders than the numbers.
_ADDED_TAGS = [{}, {"TVL_ID0": "A"}, {"TVL_ID0": "A", "TVL_ID1": "B", "TVLM_0_D": "5"}] + 2 * [
               {"TVL_ID0": "iso4017/iso4017.prj", "TVL_ID1": "ISO4017", "TVLM_2_L": "40",
                "TVLM_10_A": "1", "TVLM_0_Z": "8", "TVLM_1_D": "8"}]


_PART = lambda rng, s: dict(part=catalog_parts.random_part(rng))
_THEN_PART = lambda rng, s: dict(then=rng.choice(["end", "unload"]), part=catalog_parts.random_part(rng))
_ANY, _LOADED, _VIEWER = (lambda s: True), (lambda s: s.loaded), (lambda s: s.viewer is True)
_ANSWER = lambda rng, s: dict(answer=rng.choice(["OK", "Abbruch"]))
# kind: (weight at random, None for schedule only; when it fits the first state; its parameters' maker)
KINDS = {
    "load": (30, lambda s: not s.loaded, None),
    # A new part asked for after an edit, before the catalog answered, lands as new.
    "new": (lambda s: 8 if s.edited is None else 15, _LOADED, _ANSWER),
    "close": (2, _LOADED, None),
    "edit": (lambda s: 16 if s.started else 3, _LOADED, lambda rng, s: dict(part=_edit_choice(rng, s))),
    "take": (30, _VIEWER, lambda rng, s: dict(
        part=None if s.shown and rng.random() < 0.5 else catalog_parts.random_part(rng),
        fault=next(_COUNTERS["fault"]) if rng.random() < 0.4 else None, remark=rng.choice(REMARKS))),
    "move": (3, lambda s: bool(s.parts), lambda rng, s: dict(
        part=_part_choice(rng, s, False), by=(rng.randint(-50, 50), rng.randint(-50, 50), rng.randint(-5, 5)))),
    "workspace": (4, _ANY, lambda rng, s: dict(number=rng.randint(0, 3), place=(
        rng.randint(-200, 200), rng.randint(-200, 200), 0, rng.choice([0, 30, 90, 180, 270])))),
    "remove": (2, lambda s: any(p.serial != s.edited for p in s.parts), lambda rng, s: dict(
        part=rng.choice([p.serial for p in s.parts if p.serial != s.edited]))),
    "add": (2, lambda s: s.next_added_id < 999, lambda rng, s: dict(tags=rng.choice(_ADDED_TAGS))),
    "locate": (2, _ANY, lambda rng, s: dict(at=(rng.randint(-100, 100), rng.randint(-100, 100), 0))),
    "end": (1, _LOADED, None),
    "main": (lambda s: 1 if s.started else 4, _LOADED, _ANSWER),
    "unload": (1, _LOADED, None),
    "rush": (None, _LOADED, lambda rng, s: dict(first=rng.choice(["new", "take"]) if s.viewer is True else "new",
                                                 then=rng.choice(["end", "unload"]),
                                                 part=catalog_parts.random_part(rng))),
    "illegal": (None, _LOADED, lambda rng, s: dict(number=rng.choice([103, 0, -1, 105]))),
    "mode2d": (1, _ANY, lambda rng, s: dict(on=not s.mode2d)),
    "messages": (1, _ANY, lambda rng, s: dict(on=not s.message_file)),
    # A missing installation is put back soon: most steps need a catalog.
    "install": (lambda s: 2 if s.installed else 8, _ANY, lambda rng, s: dict(on=not s.installed)),
    "kill": (None, _VIEWER, None),
    "kill-mid-write": (None, _VIEWER, _PART),
    "hand-start": (None, _ANY, None),
    "directory": (None, _ANY, None),
    "burst": (None, _ANY, lambda rng, s: dict(count=rng.choice([3, 20, 200]))),
    # The host's other work may leave the reader's modes anywhere before an import.
    "modes": (None, _ANY, lambda rng, s: dict(values=_mode_values(rng))),
    "start-in-progress": (None, lambda s: s.loaded and s.installed and not s.viewer, lambda rng, s: dict(
        then=rng.choice(["new", "edit"]), part=_part_choice(rng, s, True))),
    "missing-directory": (None, lambda s: s.loaded and s.installed, None),
    "event-at-close": (None, _sure_take, _THEN_PART),
    "take-burst": (None, _VIEWER, lambda rng, s: dict(
        part=catalog_parts.random_part(rng), fault="pieces", count=rng.choice([5, 30]))),
    # The writer killed half-way through its record, ending right after a take, re-opening its record.
    "kill-mid-record": (None, _sure_take, lambda rng, s: dict(
        part=catalog_parts.random_part(rng), piece=rng.randint(1, 3), count=next(_COUNTERS["pieces"]))),
    "quit-after-take": (None, _sure_take, lambda rng, s: dict(
        part=catalog_parts.random_part(rng), pieces=rng.choice([False, True]))),
    "reopen": (None, _sure_take, lambda rng, s: dict(
        part=catalog_parts.random_part(rng), ms=rng.choice([300, 1000]))),
    "between-calls": (None, lambda s: _sure_take(s) and s.installed, _THEN_PART),
    # A record kept open for seconds: the delivery waits for it, at most a second.
    "held-window": (None, lambda s: _sure_take(s) and s.installed, _held_window),
}
# Kinds that must fit every state the system may be in; a writer's fault also needs an unstale watcher.
_WRITERS = ("kill-mid-record", "quit-after-take", "reopen", "between-calls", "held-window")
_EVERY_STATE = dict({"event-at-close": _sure_take, "start-in-progress": lambda t: t.viewer is False},
                    **{kind: lambda t: _sure_take(t) and t.installed for kind in _WRITERS})
_restart_counters()


def fits(step, states):
    """Whether a step made for an earlier state still makes sense here (replays)."""
    state, kind, p = states[0], step.kind, step.params
    return not (
        p.get("fault") in RECORD_FAULTS and _stale(states) or not KINDS[kind][1](state)
        or kind in _EVERY_STATE and not all(_EVERY_STATE[kind](t) for t in states)
        or kind in _WRITERS and _stale(states)
        or kind in ("edit", "move", "remove") and p["part"] is not None and state.part(p["part"]) is None
        or kind == "remove" and p["part"] == state.edited
        or kind == "rush" and p["first"] == "take" and state.viewer is not True
        or kind == "take" and p["part"] is None and (state.shown is None or any(
            t.shown != state.shown or t.viewer is not True for t in states))
        or kind == "held-window" and (p["then"] == "edit-same" and p["replace"] is None or any(
            p[name] is not None and state.part(p[name]) is None for name in ("replace", "edit"))))


def commands(step, states):
    """The simcad lines of a step; `states` are the states the system may be in."""
    return _COMMANDS[step.kind](step.params, states[0], states)


def _taking(part, *arm):
    """The faults armed, then the take of a part (None: of the part shown)."""
    return list(arm) + [" ".join(["catalog take"] + ([part[0]] + ["%s=%s" % v for v in part[1]] if part else []))]


def _select_edit(part):
    return "select 102" + (" part=%d" % part.id if part else "")


def _take_commands(part, fault, states, remark=0, burst=0):
    """A burst: unrelated files while the record is still being written, none of which
    may make the watcher take the export before it is done."""
    sure = all(s.watcher == "live" and s.catalog_path == "ours" for s in states)
    arm = [] if fault is None else [{"pieces": "catalog fault pieces 4 120", "pieces-open":
                                     "catalog fault pieces 3 100 open 400"}.get(fault, "catalog fault " + fault)]
    arm += ["catalog fault long-remark %d" % remark] if remark else []
    # A record held back while the host runs its loop: nothing may be imported before it.
    hold = ["pump 400", "catalog release"] if fault == "hold-record" else []
    return _taking(part, *arm) + _files(burst) + hold + (["wait import 10000"] if sure else ["pump 1500"])


def _files(count):
    return ["file ${EXPORT}\\unrelated-%d.tmp x" % n for n in range(count)]


def _held_commands(p, state, states):
    # Kept open longer than the watcher waits; the log line with the step's own hold time says it began.
    replace = state.part(p["replace"])
    held = (["select 102 part=%d" % replace.id] + SETTLE if replace else []) + _taking(
        p["part"], "catalog fault pieces 1 0 open %d" % p["ms"]) + [
        'wait text %s "closed %d ms after the last"' % (LOG, p["ms"])]
    then, imported = p["then"], ["wait import 10000"] + SETTLE
    if then == "wait":
        return held + imported
    held.append("pump 300")
    if then in ("edit", "edit-same"):
        part = replace if then == "edit-same" else state.part(p["edit"])
        return held + ([] if part and part.identified() else ["answer OK"]) + [_select_edit(part)] + imported
    if then in ("end", "unload"):
        return held + _COMMANDS[then](p, state, states)
    return held + ["select 101" if then == "close" else "select 100"] + imported


def _answer(p, states):
    return ["answer " + p["answer"]] if any(not s.started and not s.installed for s in states) else []


def _edit_commands(p, state, states):
    part = state.part(p["part"])
    answer = ["answer OK"] if any(s.started and not (part and part.identified()) for s in states) else []
    return answer + [_select_edit(part)] + SETTLE


_COMMANDS = {
    "load": lambda p, s, states: ["load"],
    "new": lambda p, s, states: _answer(p, states) + ["select 100"] + SETTLE,
    "main": lambda p, s, states: _answer(p, states) + ["main"] + SETTLE,
    # No watcher thread may be left the moment the close returns: it would still deliver.
    "close": lambda p, s, states: ["select 101", "wait threads idle 0"] + SETTLE,
    "edit": _edit_commands,
    "take": lambda p, s, states: _take_commands(p["part"], p["fault"], states, p.get("remark", 0)) + SETTLE,
    "take-burst": lambda p, s, states: _take_commands(p["part"], p["fault"], states, burst=p["count"]) + SETTLE,
    # A record half written by a dying writer is imported as it stands; a piece (its change makes the
    # delivery due) is written, and the step's own piece count makes the log line new.
    "kill-mid-record": lambda p, s, states: _taking(p["part"], "catalog fault pieces %d 300" % p["count"]) + [
        'wait text %s "record piece %d/%d written"' % (LOG, p["piece"], p["count"]),
        "catalog kill", "wait catalog closed 5000", "wait import 10000"] + SETTLE,
    "quit-after-take": lambda p, s, states: _taking(p["part"], *(
        ["catalog fault pieces 4 150"] if p["pieces"] else []) + ["catalog fault quit-after-take"]) + [
        'wait text %s "quitting after the take"' % LOG, "wait catalog closed 15000",
        "wait import 10000"] + SETTLE,
    # The import's deferred 100 queued when the plug-in goes: End then starts it anew, an unload drops it.
    "between-calls": lambda p, s, states: _taking(p["part"]) + [
        "wait deferred %d" % len(s.deferred), "expect deferredCalls[-1].state == queued", p["then"],
        "pump"] + SETTLE + (["wait threads idle 5000"] if p["then"] == "unload" else []),
    # The import comes only once the writer stopped; none of its opens is refused.
    "reopen": lambda p, s, states: _taking(p["part"], "catalog fault reopen %d" % p["ms"]) + [
        'wait text %s "record reopened" 15000' % LOG, "wait import 10000"] + SETTLE,
    "held-window": _held_commands,
    # The script host waits before it starts a viewer: the expect proves the command came meanwhile.
    "start-in-progress": lambda p, s, states: ["select 100", "expect catalog.scriptHosts == 1"] + (
        ["select 100"] if p["then"] == "new" else ["answer OK", _select_edit(s.part(p["part"]))]) + SETTLE,
    "missing-directory": lambda p, s, states: ["remove ${EXPORT}", "select 100"] + SETTLE + [
        "wait threads idle 5000", "file ${EXPORT}\\marker.txt"],
    # Delivered, its event waiting for the main loop, when the plug-in goes.
    "event-at-close": lambda p, s, states: _taking(p["part"]) + ["wait event queued 10000", p["then"]] + (
        SETTLE + ["wait threads idle 5000"]),
    "move": lambda p, s, states: ["part move %d %d %d %d" % ((s.part(p["part"]).id,) + p["by"])],
    "workspace": lambda p, s, states: ["workspace %d" % p["number"] if p["number"] in [0, *s.workspaces] else
                                       "workspace %d %d %d %d %d" % ((p["number"],) + p["place"])],
    "remove": lambda p, s, states: ["part remove %d" % s.part(p["part"]).id],
    "add": lambda p, s, states: ["part add %d %s" % (s.next_added_id, " ".join(
        "%s=%s" % item for item in p["tags"].items()) or "bibname=plain")],
    "locate": lambda p, s, states: ["locate %d %d %d" % p["at"]],
    "end": lambda p, s, states: ["end", "wait threads idle 0"] + SETTLE,
    # An unload waits for the watcher to leave the library's code; its thread may take a moment more.
    "unload": lambda p, s, states: ["unload"] + SETTLE + ["wait threads idle 5000"],
    "rush": lambda p, s, states: (["select 100"] if p["first"] == "new" else _taking(p["part"])) + [
        p["then"]] + SETTLE + ["wait threads idle 5000"],
    "illegal": lambda p, s, states: ["select %d" % p["number"]],
    "mode2d": lambda p, s, states: ["mode2d " + ("on" if p["on"] else "off")],
    "messages": lambda p, s, states: [
        'file ${EXPORT}\\..\\cad_msg.txt "4202=Note\\n4231=The library part cannot be loaded.\\n"',
        "messages ${EXPORT}\\..\\cad_msg.txt"] if p["on"] else [
        'file ${EXPORT}\\..\\no_msg.txt ""', "messages ${EXPORT}\\..\\no_msg.txt"],
    "install": lambda p, s, states: [
        "env KVT_TARNVEL_ROOT_DIR=" + ("${CATALOG}" if p["on"] else "${EXPORT}\\..\\nocatalog")],
    "kill": lambda p, s, states: ["catalog kill", "wait threads idle 5000"],
    "kill-mid-write": lambda p, s, states: _taking(p["part"], "catalog fault hold-geometry") + [
        "catalog kill", "wait threads idle 5000", "pump 300"] + SETTLE,
    "hand-start": lambda p, s, states: [HAND_START, "wait catalog running 15000"] + SETTLE,
    "directory": lambda p, s, states: ["remove ${EXPORT}", "file ${EXPORT}\\marker.txt", "pump 300"],
    "burst": lambda p, s, states: _files(p["count"]) + ["pump 300"] + SETTLE,
    "modes": lambda p, s, states: ["modes " + " ".join("%s=%d" % i for i in sorted(p["values"].items()))],
}


def effects(step, state):
    """The states the system may be in after the step, from one state before it."""
    s = state.copy()
    found = _EFFECTS[step.kind](s, step.params)
    return found if isinstance(found, list) else [s]


def _start(s, answer):
    """`Main`: the plug-in object, or the installation offer."""
    if not s.started and not s.installed:
        s.messages.append(model.OFFER)
        s.system += answer == "OK"
    elif not s.started:
        s.started, s.extension = True, "dwg" if s.mode2d else "sat"
    return s.started


def _send(s, part=None):
    """A command reaches the catalog: it writes to our names and is watched; an edit's carries
    the part's identification, and the catalog opens that part when it has it."""
    if not s.viewer:
        s.shown = None
    s.commands.append(model.mident(part.tags) if part is not None else "")
    s.named = True
    if part is not None and part.taken is not None and part.tags == catalog_parts.identification(*part.taken):
        s.shown = part.taken
    s.viewer, s.catalog_path, s.catalog_extension, s.watcher = True, "ours", s.extension, "live"


def _new_part(s, answer="Abbruch"):
    if _start(s, answer):
        s.edited = None
        _send(s)
    return s


def _edit(s, serial):
    part = s.part(serial)
    if s.started:
        part = part if part is not None and part.identified() else None
        if part is None:
            s.messages.append(model.notice(s.message_file))
        s.edited = part and part.serial
        _send(s, part)
    return s


def _written(s, taken, whole=True, record="full", remark=0):
    if s.catalog_path == "ours":
        s.files |= {s.catalog_extension, s.catalog_extension + ".txt"}
        s.on_disk = (taken, whole, record, remark) if s.catalog_extension == s.extension else None


def _take(s, part, fault, remark=0):
    s.shown = part = s.shown if part is None else part
    if s.catalog_path != "ours":
        return [_any_change(s)]
    _written(s, part, fault != "broken-geometry", remark=remark)
    return [_import(s) if s.watcher == "live" else s]


def _any_change(s):
    """A watcher that has seen both names delivers on any change, whatever the export names hold."""
    return _import(s) if s.watcher == "live" and s.detection == frozenset([3]) else s


def _import(s, reopen=True):
    """The export imported from what is on disk; with `reopen`, the catalog opened again."""
    s = s.copy()
    s.deferred.append(104)
    taken, whole, record, remark = s.on_disk or (None, False, "none", 0)
    old = s.part(s.edited)
    modes = dict(s.modes, manipSetOnce=0, readSilentSuccess=1, keepBibSetModes=1, readBibModify=2)
    s.reads.append({"suffix": s.extension, "mode": 9 if old else 2, "activeWorkspace": 0 if old else s.active,
                    "modes": dict(modes, manipSetOnce=1) if old else dict(modes, locateParts=1)})
    if whole and taken is not None:
        tags = catalog_parts.identification(*taken) if record == "full" else {}
        if old is not None:
            part = s.new_part(tags, old.world(), placement.IDENTITY, taken)
            s.parts.remove(old)
        else:
            part = s.new_part(tags, placement.translation(*s.located), s.active_workspace(), taken)
        part.record, part.remark = record, remark
    _drop_exports(s)
    _set(s, modes=dict(s.modes, readBibModifyId=0, manipSetOnce=0), edited=None, detection=frozenset([0]))
    if reopen:
        s.deferred.append(100)
        _send(s)
    return s


def _drop_exports(s):
    s.files -= {s.extension, s.extension + ".txt"}
    s.on_disk = None


def _destroy(s, then="end"):
    """`End` or unloading: the watcher, the catalog and (once named) the export files go."""
    s.loaded = s.loaded and then != "unload"
    if s.started:
        s.started, s.watcher, s.viewer, s.edited, s.shown = False, "none", False, None, None
        if s.named:
            _drop_exports(s)
        s.named = False


def _rush(s, p):
    if p["first"] == "new":
        sent = _new_part(s).started
        _destroy(s, p["then"])
        if not sent:
            return [s]
        # The script host on its way may start a viewer after the close, or end before it logged.
        return [s, _with(s, viewer=True, catalog_path="ours", shown=None), _with(s, commands=s.commands[:-1])]
    # An End that finds the plug-in not started leaves the catalog showing the part it took.
    s.shown, outcomes = p["part"], [s]
    if s.catalog_path == "ours":
        _written(s, p["part"])
        if s.watcher == "live":
            # The watcher may have seen none, one or both names before the close.
            outcomes = [_with(s, detection=frozenset([value])) for value in range(4)]
    elif s.watcher == "live" and s.detection == frozenset([3]):
        # Written elsewhere: delivery on that change, or the close came first.
        outcomes.append(_with(s, detection=frozenset([0])))
    for t in outcomes:
        _destroy(t, p["then"])
    return outcomes


def _between_calls(s, p):
    _written(s, p["part"])
    s = _import(s, reopen=False)  # the deferred 100 is only queued
    _destroy(s, p["then"])
    if p["then"] == "unload":
        s.deferred.append((100, "dropped"))
        return [s]
    s.deferred.append(100)
    return [_new_part(s)]


def _held(s, p):
    """A record written whole and held open (docs/explorer.md): it lands once; a command in the
    window comes after the import, in place of its call that opens the catalog again."""
    if p["replace"] is not None:
        s = _edit(s, p["replace"])
    replaced, then = s.edited, p["then"]
    _written(s, p["part"])
    s.shown = p["part"]
    if then in ("end", "unload"):
        s.detection = frozenset([0])
        _destroy(s, then)
    else:
        s = _import(s, reopen=then == "wait")
    if then == "close":
        s.watcher, s.viewer = "none", False
    elif then == "new":
        s = _new_part(s)
    elif then in ("edit", "edit-same"):
        target = p["replace"] if then == "edit-same" else p["edit"]
        if replaced is not None and s.part(replaced) is None and target == replaced:
            target = s.parts[-1].serial
        s = _edit(s, target)
    # The files deleted, or the record, still held by its writer, left behind.
    if s.extension is None or s.extension + ".txt" in s.files:
        return [s]
    return [s, _with(s, files=s.files | {s.extension + ".txt"}, on_disk=(None, False, "full", 0))]


def _kill_mid_write(s):
    watched, ours, value = s.watcher == "live", s.catalog_path == "ours", next(iter(s.detection))
    if ours:
        s.files.add(s.catalog_extension)
        s.on_disk = (None, False, "none", 0) if s.catalog_extension == s.extension else None
    s.viewer, s.watcher = False, "none"
    if not (ours and watched):
        return [s]
    if value == 3:
        # The half file's first change delivers; the import finds no whole part.
        return [_import(s)]
    s.detection = frozenset([{0: 1, 1: 1, 2: 3}[value]])
    return [s]


def _killed_writing(s, p, record):
    s.viewer, s.shown = False, None
    _written(s, p["part"], True, record)
    return [_import(s)]


def _set(s, **values):
    for name, value in values.items():
        setattr(s, name, value)
    return s


def _with(s, **values):
    return _set(s.copy(), **values)


def _start_in_progress(s, p):
    _new_part(s).edited = None
    if p["then"] == "edit":
        s.messages.append(model.notice(s.message_file))


def _event_at_close(s, p):
    _written(s, p["part"])
    s.shown, s.detection = p["part"], frozenset([0])
    _destroy(s, p["then"])


def _workspace_effect(s, p):
    if p["number"] and p["number"] not in s.workspaces:
        s.workspaces[p["number"]] = placement.workspace_placement(*p["place"])
    s.active = p["number"]


def _add(s, p):
    part = s.new_part(dict(p["tags"]), placement.translation(*s.located), s.active_workspace())
    part.record, part.id = list(p["tags"].items()) or [("bibname", "plain")], s.next_added_id
    s.next_added_id += 1


# Each gives the states after the step, or anything else when it changed `s` alone.
_EFFECTS = {
    # The library's detection state starts at "nothing seen" with every load.
    "load": lambda s, p: _set(s, loaded=True, detection=frozenset([0])),
    "new": lambda s, p: [_new_part(s, p["answer"])],
    "main": lambda s, p: _start(s, p["answer"]),
    "close": lambda s, p: _set(s, watcher="none", viewer=False) if s.started else None,
    "edit": lambda s, p: [_edit(s, p["part"])],
    "take": lambda s, p: _take(s, p["part"], p["fault"], p.get("remark", 0)),
    "take-burst": lambda s, p: _take(s, p["part"], p["fault"]),
    "kill-mid-record": lambda s, p: _killed_writing(s, p, "partial"),
    "quit-after-take": lambda s, p: _killed_writing(s, p, "full"),
    "reopen": lambda s, p: _take(s, p["part"], None),
    "between-calls": _between_calls,
    "held-window": _held,
    "start-in-progress": _start_in_progress,
    # The watcher cannot open the directory and ends at once.
    "missing-directory": lambda s, p: _set(_new_part(_set(s, files=set(), on_disk=None)), watcher="none"),
    "event-at-close": _event_at_close,
    "move": lambda s, p: _set(s.part(p["part"]), matrix=placement.multiply(s.part(p["part"]).matrix,
                                                                            placement.translation(*p["by"]))),
    "workspace": _workspace_effect,
    "remove": lambda s, p: s.parts.remove(s.part(p["part"])),
    "add": _add,
    "locate": lambda s, p: _set(s, located=p["at"]),
    "end": lambda s, p: _destroy(s),
    "unload": lambda s, p: _destroy(s, "unload"),
    "rush": _rush,
    "illegal": lambda s, p: _set(s, asserts=s.asserts + 1),
    "mode2d": lambda s, p: _set(s, mode2d=p["on"]),
    "messages": lambda s, p: _set(s, message_file=p["on"]),
    "install": lambda s, p: _set(s, installed=p["on"]),
    "modes": lambda s, p: s.modes.update(p["values"]),
    "kill": lambda s, p: _set(s, viewer=False, watcher="none", shown=None),
    "kill-mid-write": lambda s, p: _kill_mid_write(s),
    "hand-start": lambda s, p: _set(s, shown=s.shown if s.viewer else None, viewer=True, catalog_path="hand",
                                    commands=s.commands + ["hand"]),
    # The watcher's directory made anew under it: it may see the new one or nothing more.
    "directory": lambda s, p: [_set(s, files=set(), on_disk=None)] + (
        [_with(s, watcher="blind")] if s.watcher == "live" else []),
    "burst": lambda s, p: [_any_change(s)],
}


BRANCHES = ["between-calls end", "between-calls unload", "kill-mid-record", "quit-after-take", "reopen",
            "illegal", "start-in-progress", "missing-directory", "event queued at end",
            "event queued at unload", "take-burst", "modes", "import with reader modes set", "kill",
            "kill-mid-write", "burst", "directory", "hand-start", "new part after an edit", "notice",
            "edit with identification", "edit while not started", "import new", "import replacing",
            "replacement turned", "take of the part shown", "stale watcher delivers", "take not watched"
            ] + ["take with " + fault for fault in FAULTS] + [
            "take with a long remark", "installation offer"] + [
            "rush %s then %s" % pair for pair in (("new", "end"), ("new", "unload"), ("take", "end"),
                                                  ("take", "unload"))] + [
            "held window " + then for then in ("wait", "close", "new", "edit", "edit-same", "end", "unload")]
_NAMED = {"event-at-close": "event queued at %(then)s", "between-calls": "between-calls %(then)s",
          "held-window": "held window %(then)s", "rush": "rush %(first)s then %(then)s"}


def branches(step, before, after):
    """The branches of the road a step reached, for the summary (which shows those never reached)."""
    kind, p, state = step.kind, step.params, before[0]
    found = [kind] if kind in BRANCHES else [_NAMED[kind] % p] if kind in _NAMED else []
    if kind == "new" and state.edited is not None:
        found.append("new part after an edit")
    if kind == "edit":
        part = state.part(p["part"])
        found.append("edit while not started" if not state.started else "edit with identification"
                     if part is not None and part.identified() else "notice")
    imported = after and len(after[0].reads) > len(state.reads)
    if imported:
        read = after[0].reads[-1]
        found.append("import replacing" if read["mode"] == 9 else "import new")
        old = state.part(state.edited)
        if read["mode"] == 9 and old and old.turned():
            found.append("replacement turned")
        if any(v != 0 for v in state.modes.values()):
            found.append("import with reader modes set")
        if kind == "take" and p["part"] is None:
            found.append("take of the part shown")
        if any(3 in s.detection for s in before):
            found.append("stale watcher delivers")
    if kind == "take":
        found += ["take with " + p["fault"]] if p["fault"] else []
        found += ["take with a long remark"] if p.get("remark") else []
        if after and not imported and state.catalog_path == "ours":
            found.append("take not watched")
    if kind in ("new", "main") and not state.started and not state.installed:
        found.append("installation offer")
    return found
