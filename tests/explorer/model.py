"""What the system must do, as the set of states it may be in, from the documented
behaviour of the plug-in, host and catalog: the explorer keeps the states that agree with
what the host shows; a step that leaves none is a violation."""
import copy
import re

import catalog_parts
import placement
import record

IDENT_NAME = re.compile(r"^(TVL_ID\d+|TVLM_\d+_.*)$")
EXPORT_NAME = re.compile(r"^tarnvel_output_\d+\.(.+)$")
# The reader's modes, each with the values it may have.
MODES = {"manipSetOnce": [0, 1], "readSilentSuccess": [0, 1, 2], "keepBibSetModes": [0, 1, 3],
         "readBibModify": [0, 1, 2, 5], "readBibModifyId": [0, 1, 7], "locateParts": [0, 1, 2]}
# The modal messages the host must show: caption, text and the five button slots;
# the notice's texts come from the host's message file when it has them.
OFFER = {"caption": "BRENVIKCAD PARTS", "text": "BRENVIKCAD PARTS installieren?",
         "texts": ["", "OK", "", "Abbruch", ""]}


def notice(message_file):
    return {"caption": "Note" if message_file else "HINWEIS",
            "text": "The library part cannot be loaded." if message_file else "Fehler beim Bibliotheksteil laden!",
            "texts": ["", "OK", "", "", ""]}


class Part:
    def __init__(self, serial, tags, matrix, workspace, taken=None):
        self.serial = serial          # the model's own name for the part
        self.id = None                # the host's id, learnt when the part appears
        self.tags = tags              # identification attributes (TVL_ID*, TVLM_*)
        self.matrix, self.workspace = matrix, workspace  # part matrix, its workspace's placement
        self.taken = taken            # (key, variables) when it came from the catalog
        self.record = "full"          # of a taken one's record: "full" or "partial"; a placed one's attributes
        self.remark = 0               # the length of the record's long remark, if any

    def world(self):
        return placement.multiply(self.matrix, self.workspace)

    def identified(self):
        return "TVL_ID0" in self.tags and "TVL_ID1" in self.tags

    def turned(self):
        """Turned about Z itself or by its workspace."""
        return any(abs(v) > 1e-9 for v in (self.matrix[1], self.workspace[1]))


class State:
    def __init__(self):
        self.loaded = self.started = self.mode2d = False
        self.installed = True         # the catalog root holds both start files
        self.message_file = False     # the host's message file has the notice's texts
        self.extension = "sat"        # of the export names the plug-in object uses
        self.named = False            # those names fixed (its first command): its end deletes the files
        self.viewer, self.catalog_path = False, None  # it runs; "ours" or "hand": where it writes a take
        self.watcher = "none"         # "none", "live" or "blind" (its directory made anew)
        self.edited = None            # serial of the part the next import replaces
        self.parts, self.next_serial, self.next_added_id, self.located = [], 1, 1, (0, 0, 0)
        self.workspaces, self.active = {}, 0  # number -> placement; the active one
        # The modal messages, installer command lines and illegal function reports so far.
        self.messages, self.system, self.asserts = [], 0, 0
        self.reads = []               # each read: file suffix, mode, modes, workspace
        self.deferred = []            # function numbers of the deferred calls, in order
        self.modes = {name: 0 for name in MODES}  # the reader's modes now
        self.catalog_extension = "sat"  # of the names the viewer writes to
        self.files = set()            # suffixes of export files on disk ("sat", "sat.txt")
        self.on_disk = None  # what the plug-in's names hold: (part taken, geometry whole, record, remark)
        self.detection = frozenset([0])  # what the library's detection has seen
        self.commands = ["hand"]  # the catalog's starts: "hand", else the "-mident" text sent ("" for none)
        self.shown = None             # (key, variables) of the part the viewer shows

    def copy(self):
        return copy.deepcopy(self)

    def part(self, serial):
        return next((part for part in self.parts if part.serial == serial), None)

    def new_part(self, tags, matrix, workspace, taken=None):
        part = Part(self.next_serial, tags, matrix, workspace, taken)
        self.next_serial += 1
        self.parts.append(part)
        return part

    def active_workspace(self):
        return self.workspaces.get(self.active, placement.IDENTITY)

    def key(self):
        return repr(sorted((name, repr(value)) for name, value in vars(self).items()
                           if name != "parts")) + repr([vars(p) for p in self.parts])


def mident(tags):
    """The model identification a placed part's attributes give for an edit, variables by number."""
    variables = {int(found.group(1)): (found.group(2), value) for found, value in
                 ((re.match(r"^TVLM_(\d+)_(.*)$", name), value) for name, value in tags.items()) if found}
    fields = ",".join("{%s=%s}" % variables[number] for number in sorted(variables))
    return "{$%s},%s " % (tags["TVL_ID0"], tags["TVL_ID1"]) + (" " + fields if fields else "")


def catalog_starts(log_text):
    """What each start line of the catalog's log says of its command."""
    starts = []
    for line in log_text.splitlines():
        at = line.find("] start: ")
        if at >= 0 and "cscripthost" in line[:at]:
            command = line[at + len("] start: "):]
            found = re.search(r'-mident "([^"]*)"', command)
            starts.append("hand" if "by-hand.sat" in command or "warm-up.sat" in command else
                          found.group(1) if found else "")
    return starts


def observe(dump, export_files, log_text=""):
    """The part of the host's state the model predicts."""
    return {
        "commands": catalog_starts(log_text), "loaded": dump["plugin"]["loaded"],
        "started": dump["plugin"]["eventSources"] == 1,
        "parts": [o for o in dump["drawing"]["objects"] if o["type"] == 200],
        "messages": [{k: m[k] for k in ("caption", "text", "texts")} for m in dump["messages"]],
        "system": len(dump["system"]), "asserts": len(dump["asserts"]), "reads": dump["reads"],
        "deferred": dump["deferredCalls"], "modes": dump["modes"], "viewers": dump["catalog"]["viewers"],
        "pid": dump["process"]["id"],
        "files": {EXPORT_NAME.match(n).group(1) for n in export_files if EXPORT_NAME.match(n)}}


def differences(state, seen):
    """What the host shows that this state does not allow, as (text, expect line)."""
    found = []
    differ = lambda text, expect=None: found.append((text, expect))
    for name, value, path, expect in (
            ("loaded", state.loaded, "plugin.loaded", str(state.loaded).lower()),
            ("started", state.started, "plugin.eventSources", int(state.started)),
            ("system", state.system, "system.length", state.system),
            ("asserts", state.asserts, "asserts.length", state.asserts),
            ("messages", state.messages, "messages.length", len(state.messages)),
            ("viewers", int(state.viewer), "catalog.viewers", int(state.viewer))):
        if value != seen[name]:
            differ("%s: %s, expected %s" % (name, seen[name], value), "expect %s == %s" % (path, expect))
    for name, text in (("files", "export files %s on disk"), ("modes", "reader modes %s"),
                       ("commands", "the catalog was started with %s")):
        if getattr(state, name) != seen[name]:
            shown = sorted if name == "files" else lambda value: value
            differ((text + ", expected %s") % (shown(seen[name]), shown(getattr(state, name))))
    _compare_reads(state, seen, differ)
    calls = [(c["mode"], c["number"], c["macro"], c["functionNumber"], c["text"], c["state"])
             for c in seen["deferred"]]
    wanted = [("async", 5000, ":khd-tarnvel") + ((call, "", "done") if isinstance(call, int)
                                                 else (call[0], "", call[1])) for call in state.deferred]
    if calls != wanted:
        differ("deferred calls %s, expected %s" % ([(c[3], c[5]) for c in calls], [(c[3], c[5]) for c in wanted]),
               "expect deferredCalls.length == %d" % len(wanted))
    _compare_parts(state, seen["parts"], differ)
    return found


def _compare_reads(state, seen, differ):
    if len(state.reads) != len(seen["reads"]):
        return differ("%d reads, expected %d" % (len(seen["reads"]), len(state.reads)),
                      "expect reads.length == %d" % len(state.reads))
    names = ("mode", "modes", "activeWorkspace")
    for index, (expected, read) in enumerate(zip(state.reads, seen["reads"])):
        got = dict(file=read["file"].rsplit("\\", 1)[-1], **{name: read[name] for name in names})
        wanted = dict(file="tarnvel_output_%d.%s" % (seen["pid"], expected["suffix"]),
                      **{name: expected[name] for name in names})
        if got != wanted:
            differ("read %d was %s, expected %s" % (index, got, wanted),
                   "expect reads[%d].mode == %d" % (index, expected["mode"]))


def _compare_parts(state, seen_parts, differ):
    known = {part.id: part for part in state.parts if part.id is not None}
    fresh = [part for part in state.parts if part.id is None]
    seen_fresh = [o for o in seen_parts if o["id"] not in known]
    seen_ids = {o["id"] for o in seen_parts}
    for part in known.values():
        if part.id not in seen_ids:
            differ("part %d is gone from the drawing" % part.id)
    if len(fresh) != len(seen_fresh):
        return differ("%d new parts in the drawing, expected %d" % (len(seen_fresh), len(fresh)),
                      "expect drawing.objects.length == %d" % (len(known) + len(fresh)))
    for index, seen in enumerate(seen_parts):
        part = known.get(seen["id"]) or fresh[seen_fresh.index(seen)]
        where = "drawing.objects[%d]" % index
        allowed = allowed_attributes(part, seen)
        if [tuple(pair) for pair in seen["attributes"]] not in allowed:
            differ("part %d carries %s, expected %s%s" % (
                seen["id"], seen["attributes"], allowed[-1],
                " (or what a prefix of its record gives)" if part.record == "partial" else ""),
                "expect %s.attributes.length == %d" % (where, len(allowed[-1])))
        world = part.world()
        if not placement.same(world, seen["world"]):
            differ("part %d is placed at %s, expected %s" % (
                seen["id"], [round(v, 3) for v in seen["world"]], [round(v, 3) for v in world]),
                "expect %s.world[12] == %s" % (where, ("%.6f" % world[12]).rstrip("0").rstrip(".")))
        wanted = catalog_parts.designation(*part.taken) if part.taken is not None else ""
        if seen["designation"] != wanted:
            differ("part %d is designated %r, expected %r" % (seen["id"], seen["designation"], wanted),
                   "expect %s.designation == \"%s\"" % (where, wanted))


def allowed_attributes(part, seen):
    """The attribute lists the part may carry: what was placed with it (or learnt of it), or
    what its record gives, whole or (cut short) any prefix of it."""
    if isinstance(part.record, list):
        return [part.record]
    return record.attribute_lists(*part.taken, seen["subObjects"], part.remark, cut=part.record == "partial")


def learn_ids(state, seen):
    """The new parts' ids from the host; a part from a record cut short carries from now
    on exactly what the cut left, and an edit finds the identification it has."""
    known = {part.id for part in state.parts if part.id is not None}
    fresh = [part for part in state.parts if part.id is None]
    for part, dump_part in zip(fresh, [o for o in seen["parts"] if o["id"] not in known]):
        part.id = dump_part["id"]
    by_id = {o["id"]: o for o in seen["parts"]}
    for part in state.parts:
        if part.record == "partial" and part.id in by_id:
            part.record = [tuple(pair) for pair in by_id[part.id]["attributes"]]
            part.tags = {name: value for name, value in part.record if IDENT_NAME.match(name)}
