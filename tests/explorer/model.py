"""What the system must do, as a set of states it may be in.

The model follows the documented behaviour of the plug-in, the host and the catalog
(it never calls the plug-in). Where the outcome of a step depends on timing, a step
yields every state the documented behaviour allows; the explorer keeps those that
agree with what the host shows, and a step that leaves none is a violation."""
import copy
import re

import catalog_parts
import placement

ANY = "any"
NOTICE_CAPTION = {False: "HINWEIS", True: "Note"}
OFFER_CAPTION = "BRENVIKCAD PARTS"
IDENT_NAME = re.compile(r"^(TVL_ID\d+|TVLM_\d+_.*)$")
EXPORT_NAME = re.compile(r"^tarnvel_output_\d+\.(.+)$")


class Part:
    def __init__(self, serial, tags, matrix, workspace, taken=None):
        self.serial = serial          # the model's own name for the part
        self.id = None                # the host's id, learnt when the part appears
        self.tags = tags              # identification attributes, or ANY
        self.matrix = matrix          # part matrix, or ANY
        self.workspace = workspace    # placement of its workspace
        self.taken = taken            # (key, variables) when it came from the catalog

    def world(self):
        if self.matrix is ANY:
            return ANY
        return placement.multiply(self.matrix, self.workspace)

    def identified(self):
        return self.tags is not ANY and "TVL_ID0" in self.tags and "TVL_ID1" in self.tags


class State:
    def __init__(self):
        self.loaded = False
        self.started = False
        self.installed = True         # the catalog root holds both start files
        self.message_file = False     # the host's message file has the notice's texts
        self.mode2d = False
        self.extension = "sat"        # of the export names the plug-in object uses
        self.viewer = False           # the catalog viewer runs
        self.catalog_path = None      # "ours" or "hand": where the viewer writes a take
        self.watcher = "none"         # "none", "live" or "unknown"
        self.edited = None            # serial of the part the next import replaces
        self.parts = []
        self.next_serial = 1
        self.located = (0, 0, 0)
        self.workspaces = {}          # number -> placement
        self.active = 0
        self.captions = []            # captions of the modal messages so far
        self.system = 0               # installer command lines given to the system
        self.reads = 0
        self.asserts = 0              # illegal function reports
        self.catalog_extension = "sat"  # of the names the viewer writes to
        self.files = set()            # suffixes of export files on disk ("sat", "sat.txt")
        self.files_known = True
        self.detection = frozenset([0])
        self.next_added_id = 1

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


def observe(dump, export_files):
    """The part of the host's state the model predicts."""
    return {
        "loaded": dump["plugin"]["loaded"],
        "started": dump["plugin"]["eventSources"] == 1,
        "parts": [o for o in dump["drawing"]["objects"] if o["type"] == 200],
        "captions": [m["caption"] for m in dump["messages"]],
        "system": len(dump["system"]),
        "reads": len(dump["reads"]),
        "asserts": len(dump["asserts"]),
        "viewers": dump["catalog"]["viewers"],
        "files": {EXPORT_NAME.match(n).group(1) for n in export_files if EXPORT_NAME.match(n)},
    }


def identification_of(dump_part):
    return {name: value for name, value in dump_part["attributes"] if IDENT_NAME.match(name)}


def differences(state, seen):
    """What the host shows that this state does not allow, as (text, expect line)."""
    found = []

    def differ(text, expect=None):
        found.append((text, expect))

    for name in ("loaded", "started", "system", "reads", "asserts"):
        if getattr(state, name) != seen[name]:
            differ("%s is %s, expected %s" % (name, seen[name], getattr(state, name)),
                   _expect_for(name, getattr(state, name)))
    if state.captions != seen["captions"]:
        differ("messages %s, expected %s" % (seen["captions"], state.captions),
               "expect messages.length == %d" % len(state.captions))
    if state.viewer is not ANY and int(state.viewer) != seen["viewers"]:
        differ("%d catalog viewers run, expected %d" % (seen["viewers"], int(state.viewer)),
               "expect catalog.viewers == %d" % int(state.viewer))
    if state.files_known and state.files != seen["files"]:
        differ("export files %s on disk, expected %s" % (sorted(seen["files"]), sorted(state.files)))
    _compare_parts(state, seen["parts"], differ)
    return found


def _expect_for(name, value):
    paths = {"loaded": "plugin.loaded", "system": "system.length", "reads": "reads.length",
             "asserts": "asserts.length"}
    if name == "started":
        return "expect plugin.eventSources == %d" % int(value)
    return "expect %s == %s" % (paths[name], str(value).lower())


def _compare_parts(state, seen_parts, differ):
    known = {part.id: part for part in state.parts if part.id is not None}
    fresh = [part for part in state.parts if part.id is None]
    seen_fresh = [o for o in seen_parts if o["id"] not in known]
    seen_ids = {o["id"] for o in seen_parts}
    for part in known.values():
        if part.id not in seen_ids:
            differ("part %d is gone from the drawing" % part.id)
    if len(fresh) != len(seen_fresh):
        differ("%d new parts in the drawing, expected %d" % (len(seen_fresh), len(fresh)),
               "expect drawing.objects.length == %d" % (len(known) + len(fresh)))
        return
    for index, seen in enumerate(seen_parts):
        part = known.get(seen["id"])
        if part is None:
            part = fresh[seen_fresh.index(seen)]
        _compare_part(part, seen, index, differ)


def _compare_part(part, seen, index, differ):
    where = "drawing.objects[%d]" % index
    if part.tags is not ANY:
        tags = identification_of(seen)
        if tags != part.tags:
            missing = [n for n in ("TVL_ID0", "TVL_ID1") if n in part.tags and n not in tags]
            differ("part %d carries %s, expected %s" % (seen["id"], tags, part.tags),
                   "expect %s.attributes contains [\"%s\",\"%s\"]" % (
                       where, missing[0], part.tags[missing[0]]) if missing else None)
    world = part.world()
    if world is not ANY and not placement.same(world, seen["world"]):
        differ("part %d is placed at %s, expected %s" % (
            seen["id"], [round(v, 3) for v in seen["world"][12:15]], [round(v, 3) for v in world[12:15]]),
            "expect %s.world[12] == %s" % (where, _number(world[12])))
    if part.taken is not None and seen["designation"] and not seen["designation"].startswith(
            catalog_parts.standard_name(part.taken[0])):
        differ("part %d is designated %r, expected a %s" % (
            seen["id"], seen["designation"], catalog_parts.standard_name(part.taken[0])))


def _number(value):
    return ("%.6f" % value).rstrip("0").rstrip(".")


def learn_ids(state, seen):
    """Gives the parts that appeared in this step the ids the host gave them."""
    known = {part.id for part in state.parts if part.id is not None}
    fresh = [part for part in state.parts if part.id is None]
    for part, dump_part in zip(fresh, [o for o in seen["parts"] if o["id"] not in known]):
        part.id = dump_part["id"]
