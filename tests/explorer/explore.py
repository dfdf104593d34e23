#!/usr/bin/env python3
"""Explores the catalog road at random: from a seed it makes sequences of what the
user, the host, the catalog and the system may do, runs each step for real (simcad,
the plug-in DLL and the catalog stand-in under Wine), and holds what the host shows
after every step against the model and the invariants. A failing sequence is
written as a simcad script and shrunk to the fewest steps that still fail.

    explore.py [--seed N | --seeds N,M,...] [--steps N] [--jobs N] [--out DIR] [--bin DIR]
"""
import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import model  # noqa: E402
import session  # noqa: E402
import steps  # noqa: E402
import watcher_calls  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
EPISODE_STEPS = 120          # a fresh host after this many steps keeps dumps small
COMMAND_DEADLINE_S = 30      # longer than any wait a step asks for: beyond it, a hang
UNLOAD_LIMIT_MS = 1500
# Handles some paths open once and keep for good (the host's and the system's, not
# the plug-in's), measured: the first road 2, the first watcher that ends because
# its catalog was killed or its directory could not be opened 3, the first exception thrown in the library 2 (allowed
# from the start: which step throws first is not modelled).
ONCE_ROAD, ONCE_KILLED_WATCHER, ONCE_EXCEPTION = 2, 3, 2
SHRINK_RUNS = 80
SHRINK_SECONDS = 900
# The first catalog automation command and the first kill open handles in the host
# that stay for good (the stand-ins' tools, not the plug-in): the prelude uses both
# once, so that the host's handles when the plug-in is idle mean something from the
# first step on.
PRELUDE = ["env KVT_TARNVEL_ROOT_DIR=${CATALOG}", "env KVT_TARNVEL_EXPORT_DIR=${EXPORT}",
           "env PVESTRA_LOG=${EXPORT}\\..\\catalog.log", "file ${EXPORT}\\marker.txt",
           steps.HAND_START.replace("by-hand.sat", "..\\warm-up.sat"),
           "wait catalog running 15000", "wait catalog idle 15000", "catalog shown",
           "catalog kill", "wait catalog closed 15000", "load"]


class Violation:
    def __init__(self, category, text, expects=()):
        self.category = category
        self.text = text
        self.expects = [e for e in expects if e]

    def __str__(self):
        return "%s: %s" % (self.category, self.text)


class Episode:
    """One host session: the steps run, their times, and the first violation."""

    def __init__(self):
        self.executed = []       # (step, rendered script lines)
        self.times = []          # (kind, seconds)
        self.violation = None
        self.idle_handles = []
        self.handle_baseline = None
        self.logs = {}           # the catalog's log and simcad's errors, kept on a violation
        self.steps_before = 0    # steps of the seed's earlier episodes
        self.branches = []       # the branches of the road the steps reached
        self.killed_watcher = False  # a watcher ended without delivery (catalog killed, no directory)


class Explorer:
    def __init__(self, bin_dir, work_dir):
        self.bin_dir = bin_dir
        self.work_dir = work_dir
        self.wine_run = os.path.join(ROOT, "cmake", "wine-run")
        self.simcad = os.path.join(bin_dir, "simcad.exe")
        self.runs = 0
        # Wine traces the watcher's calls for the host session only; the list of
        # calls is the prefix's.
        subprocess.run([self.wine_run, "reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude",
                        "/d", ";".join(watcher_calls.TRACED), "/f"], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)

    # -- one episode ------------------------------------------------------------------

    def run(self, next_step):
        """Runs steps from next_step(index, state) until it gives None or one fails."""
        self.runs += 1
        run_dir = os.path.join(self.work_dir, "run-%d" % self.runs)
        export = os.path.join(run_dir, "export")
        os.makedirs(export)
        export_windows = "Z:" + export.replace("/", "\\")
        episode = Episode()
        host = session.Session(self.wine_run, self.simcad, dict(os.environ, WINEDEBUG="-all,+relay"),
                               os.path.join(run_dir, "stderr.txt"))
        states = []
        try:
            states = self._run_episode(host, next_step, episode, export, export_windows)
        finally:
            code = host.close()
            left = self._reap()
        if not episode.violation:
            # The host's own end: input closed after the closing steps, it ends by
            # itself with every check held, and leaves no catalog process behind.
            if code is None:
                episode.violation = Violation("shutdown", "simcad did not end within 15 s of its input")
            elif code != 0:
                episode.violation = Violation("shutdown", "simcad ended with exit code %d" % code)
            elif left and not any(s.viewer for s in states):
                episode.violation = Violation("shutdown", "catalog processes were left behind")
            elif not left and all(s.viewer is True for s in states):
                episode.violation = Violation("shutdown", "the catalog viewer had gone at the end")
        if episode.violation:
            episode.logs = _read_logs(run_dir)
        shutil.rmtree(run_dir, ignore_errors=True)
        return episode

    def _run_episode(self, host, next_step, episode, export, export_windows):
        def send(line):
            return host.run(line.replace("${EXPORT}", export_windows), COMMAND_DEADLINE_S)

        def count_handles():
            return int(send("handles")[0].split(": ")[1])

        for line in PRELUDE:
            send(line)
        states = steps.effects(steps.Step("load"), model.State())
        index = 0
        closing = [steps.Step("end"), steps.Step("unload")]
        calls = watcher_calls.WatcherCalls()
        while True:
            step = next_step(index, states)
            if step is None:
                # The host closes the drawing and unloads the plug-in: the same
                # checks as any step (the unload's time among them).
                while closing and not steps.fits(closing[0], states):
                    closing.pop(0)
                if not closing:
                    return states
                step = closing.pop(0)
            index += 1
            if not steps.fits(step, states):
                continue
            if (step.kind.startswith("kill") and any(s.watcher == "live" for s in states) or
                    step.kind == "missing-directory"):
                episode.killed_watcher = True
            lines = steps.commands(step, states)
            episode.executed.append((step, lines))
            started = time.monotonic()
            try:
                printed = [out for line in lines for out in send(line)]
                dump = host.dump()
                episode.times.append((step.kind, time.monotonic() - started))
                files = os.listdir(export) if os.path.isdir(export) else []
                log = _read_text(os.path.join(os.path.dirname(export), "catalog.log"))
                before = states
                states, violation = self._check(step, states, printed, dump, files, log, episode,
                                                count_handles)
                violation = violation or _refused_violation(log) or _calls_violation(step, host, calls)
                episode.branches += steps.branches(step, before, states)
            except session.Hang as hang:
                episode.violation = Violation("hang", str(hang))
                return states
            except session.Stopped as stopped:
                # Exit code 2: a command could not run, which is the explorer's own fault.
                category = "script" if re.search(r"exit code 2\b", str(stopped)) else "crash"
                episode.violation = Violation(category, str(stopped))
                return states
            if violation:
                episode.violation = violation
                return states

    def _check(self, step, states, printed, dump, files, log, episode, count_handles):
        seen = model.observe(dump, files, log)
        after = _distinct([t for s in states for t in steps.effects(step, s)])
        agreeing = [t for t in after if not model.differences(t, seen)]
        violation = (_command_violation(printed) or
                     _invariant_violation(agreeing or after, dump, episode, count_handles))
        if violation:
            return after, violation
        if not agreeing:
            found = model.differences(after[0], seen)
            return after, Violation("model", "; ".join(text for text, _ in found),
                                    [expect for _, expect in found])
        for state in agreeing:
            model.learn_ids(state, seen)
        return agreeing, None

    def _reap(self):
        """Ends what catalog processes are left; true when there were some."""
        return subprocess.run([self.wine_run, self.simcad, "--reap"], stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0

    # -- seeds, replays and shrinking -------------------------------------------------

    def explore(self, seed, step_count):
        rng = random.Random(seed)
        schedule = steps.Schedule(seed)
        episodes = []
        left = step_count
        while left > 0:
            length = min(EPISODE_STEPS, left)
            episode = self.run(lambda i, states: schedule.make(rng, states) if i < length else None)
            episode.steps_before = step_count - left
            episodes.append(episode)
            left -= length
            if episode.violation:
                break
        return episodes

    def replay(self, sequence):
        return self.run(lambda i, state: sequence[i] if i < len(sequence) else None)

    def shrink(self, failing):
        """Drops steps while the same kind of violation still comes."""
        category = failing.violation.category
        current = [step for step, _ in failing.executed]
        best = failing
        deadline = time.monotonic() + SHRINK_SECONDS
        chunk = max(1, len(current) // 2)
        runs = 0
        while chunk >= 1 and runs < SHRINK_RUNS and time.monotonic() < deadline:
            at = 0
            while at < len(current) and runs < SHRINK_RUNS and time.monotonic() < deadline:
                candidate = current[:at] + current[at + chunk:]
                runs += 1
                episode = self.replay(candidate)
                if episode.violation and episode.violation.category == category:
                    current = [step for step, _ in episode.executed]
                    best = episode
                else:
                    at += chunk
            chunk //= 2
        return best, runs


def _read_text(path):
    if not os.path.isfile(path):
        return ""
    with open(path, "rb") as text:
        return text.read().decode("utf-8", "replace")


def _read_logs(run_dir):
    logs = {}
    for name in ("catalog.log", "stderr.txt"):
        path = os.path.join(run_dir, name)
        if os.path.isfile(path):
            with open(path, "rb") as log:
                logs[name] = log.read()
    return logs


def _distinct(states):
    unique = {}
    for state in states:
        unique.setdefault(state.key(), state)
    return list(unique.values())


def _command_violation(printed):
    for line in printed:
        if ": timed out after" in line or ": FAILED" in line or ": no answer" in line:
            return Violation("wait", line)
        if line.startswith("unload: unloaded in "):
            took = int(line.split()[3])
            if took > UNLOAD_LIMIT_MS:
                return Violation("slow unload", line)
        if line.startswith("catalog take") and ": error" in line:
            return Violation("catalog", line)
    return None


def _refused_violation(log):
    """No write of the catalog may ever be refused (the plug-in's look at the
    files must never stand in its way)."""
    for line in log.splitlines():
        if "refused" in line and not line.rstrip().endswith(" 0 refused"):
            return Violation("invariant", "the catalog met a refusal: " + line.strip())
    return None


def _calls_violation(step, host, calls):
    removed = step.kind in ("directory", "missing-directory")
    problem = calls.feed(host.new_errors(), directory_removed=removed)
    return Violation("invariant", problem) if problem else None


def _invariant_violation(states, dump, episode, count_handles):
    if dump["openContexts"] != 0:
        return Violation("invariant", "%d context units left open" % dump["openContexts"],
                         ["expect openContexts == 0"])
    if dump["registry"]:
        return Violation("invariant", "registrations left: %s" % dump["registry"],
                         ["expect registry.length == 0"])
    if dump["catalog"]["scriptHosts"] != 0:
        return Violation("invariant", "%d script hosts still run after the step" %
                         dump["catalog"]["scriptHosts"], ["expect catalog.scriptHosts == 0"])
    if dump["errorLog"]:
        return Violation("invariant", "unexpected warning: %s" % dump["errorLog"][-1],
                         ["expect errorLog.length == 0"])
    broken = [c for c in dump["deferredCalls"] if c["state"].startswith("exception")]
    if broken:
        return Violation("invariant", "a deferred call threw: %s" % broken[0]["state"])
    if all(s.watcher == "none" for s in states):
        process = dump["process"]
        if process["threads"] > process["idleThreads"]:
            return Violation("invariant", "%d threads while the plug-in is idle, %d at the start" % (
                process["threads"], process["idleThreads"]),
                ["expect process.threads == %d" % process["idleThreads"]])
        return _handle_violation(count_handles(), episode, states)
    return None


def _handle_violation(handles, episode, states):
    """Whenever the plug-in is idle the host's handles are back at their first idle
    count, but for what the paths met so far keep once: a handle lost on any road
    shows at once."""
    episode.idle_handles.append(handles)
    if episode.handle_baseline is None:
        episode.handle_baseline = handles
    allowed = episode.handle_baseline + ONCE_EXCEPTION
    if any(len(s.commands) > 1 for s in states):
        allowed += ONCE_ROAD
    if episode.killed_watcher:
        allowed += ONCE_KILLED_WATCHER
    if handles > allowed:
        return Violation("invariant", "%d host handles while the plug-in is idle, %d allowed "
                         "(%d at the first idle moment)" % (handles, allowed, episode.handle_baseline))
    return None


# -- scripts and the summary ----------------------------------------------------------

def write_script(path, episode, title):
    lines = ["# " + title, "# Written by tests/explorer/explore.py; every step as it ran."]
    lines += [line.replace("${EXPORT}", "${TEMP}\\export") for line in PRELUDE]
    for number, (step, commands) in enumerate(episode.executed, 1):
        lines.append("# step %d: %s" % (number, step))
        lines += [line.replace("${EXPORT}", "${TEMP}\\export") for line in commands]
    if episode.violation:
        lines.append("# the violation: " + episode.violation.text)
        lines += episode.violation.expects
    lines.append("catalog kill")
    with open(path, "w") as script:
        script.write("\n".join(lines) + "\n")


def summary(times, handles, violations, elapsed, branches=()):
    by_kind = {}
    for kind, seconds in times:
        by_kind.setdefault(kind, []).append(seconds)
    print("explorer: %d steps in %.1f s (%.3f s a step), %d violations" % (
        len(times), elapsed, elapsed / max(1, len(times)), len(violations)))
    for kind in sorted(by_kind, key=lambda k: -len(by_kind[k])):
        values = sorted(by_kind[kind])
        print("  %-15s %5d steps, median %6.3f s, max %6.3f s" % (
            kind, len(values), values[len(values) // 2], values[-1]))
    counts = {}
    for branch in branches:
        counts[branch] = counts.get(branch, 0) + 1
    print("  branches of the road reached (never reached ones show 0):")
    for branch in steps.BRANCHES + sorted(set(counts) - set(steps.BRANCHES)):
        print("  %-32s %5d" % (branch, counts.get(branch, 0)))
    if handles:
        print("  host handles whenever the plug-in was idle: %d to %d" % (min(handles), max(handles)))
    for violation in violations:
        print("  violation: " + violation)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int)
    parser.add_argument("--seeds", help="comma-separated seeds, each run for --steps")
    parser.add_argument("--steps", type=int, default=200)
    parser.add_argument("--jobs", type=int, default=1,
                        help="seeds run side by side, each job in a Wine prefix of its own")
    parser.add_argument("--out", default=os.path.join(tempfile.gettempdir(), "tarnvel-explorer"))
    parser.add_argument("--bin", default=os.path.join(ROOT, "build", "dev", "bin"))
    parser.add_argument("--no-shrink", action="store_true")
    parser.add_argument("--skip", default="", help="comma-separated step kinds never taken")
    parser.add_argument("--results", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.seeds:
        seeds = [int(s) for s in args.seeds.split(",")]
    else:
        seeds = [args.seed if args.seed is not None else random.SystemRandom().randrange(1, 10 ** 6)]
    steps.skip([kind for kind in args.skip.split(",") if kind])
    if not os.path.isfile(os.path.join(args.bin, "simcad.exe")):
        sys.exit("explorer: no simcad.exe in %s; build first (tools/build)" % args.bin)
    os.makedirs(args.out, exist_ok=True)
    started = time.monotonic()
    if args.jobs > 1 and len(seeds) > 1:
        times, handles, violations, branches = _run_jobs(args, seeds)
    else:
        times, handles, violations, branches = _run_seeds(args, seeds)
    if args.results:
        with open(args.results, "w") as results:
            json.dump({"times": times, "handles": handles, "violations": violations,
                       "branches": branches}, results)
    else:
        summary(times, handles, violations, time.monotonic() - started, branches)
    return 1 if violations else 0


def _run_seeds(args, seeds):
    explorer = Explorer(os.path.abspath(args.bin), tempfile.mkdtemp(prefix="tarnvel-explore-"))
    times, handles, violations, branches = [], [], [], []
    for seed in seeds:
        print("explorer: seed %d, %d steps" % (seed, args.steps), flush=True)
        episodes = explorer.explore(seed, args.steps)
        times += [t for episode in episodes for t in episode.times]
        handles += [h for episode in episodes for h in episode.idle_handles]
        branches += [b for episode in episodes for b in episode.branches]
        if episodes[-1].violation:
            violations.append("seed %d: %s" % (seed, _report(explorer, seed, episodes[-1], args)))
    shutil.rmtree(explorer.work_dir, ignore_errors=True)
    return times, handles, violations, branches


def _run_jobs(args, seeds):
    """Each job is this program on a share of the seeds, in its own Wine prefix (the
    catalog's processes and windows belong to one Wine session)."""
    prefix = os.environ.get("WINEPREFIX", "/tmp/tarnvel-wine-%d" % os.getuid())
    jobs = []
    for job in range(args.jobs):
        share = seeds[job::args.jobs]
        if not share:
            continue
        results = os.path.join(args.out, "job-%d.json" % job)
        command = [sys.executable, os.path.abspath(__file__), "--seeds", ",".join(map(str, share)),
                   "--steps", str(args.steps), "--out", args.out, "--bin", args.bin,
                   "--results", results, "--skip", args.skip] + (["--no-shrink"] if args.no_shrink else [])
        environment = dict(os.environ, WINEPREFIX="%s-job%d" % (prefix, job))
        jobs.append((subprocess.Popen(command, env=environment), results))
    times, handles, violations, branches = [], [], [], []
    for process, results in jobs:
        process.wait()
        with open(results) as result:
            found = json.load(result)
        times += [tuple(t) for t in found["times"]]
        handles += found["handles"]
        violations += found["violations"]
        branches += found["branches"]
        os.remove(results)
    return times, handles, violations, branches


def _report(explorer, seed, failing, args):
    print("explorer: seed %d: VIOLATION at step %d of the seed: %s" % (
        seed, failing.steps_before + len(failing.executed), failing.violation), flush=True)
    path = os.path.join(args.out, "seed-%d-failing.simcad" % seed)
    write_script(path, failing, "seed %d: %s" % (seed, failing.violation))
    print("explorer: the failing sequence: %s" % path)
    for name, text in failing.logs.items():
        with open(os.path.join(args.out, "seed-%d-%s" % (seed, name)), "wb") as log:
            log.write(text)
    if not args.no_shrink:
        shrunk, runs = explorer.shrink(failing)
        path = os.path.join(args.out, "seed-%d-shrunk.simcad" % seed)
        write_script(path, shrunk, "seed %d, shrunk: %s" % (seed, shrunk.violation))
        print("explorer: shrunk to %d steps in %d replays: %s" % (len(shrunk.executed), runs, path))
    return str(failing.violation)


if __name__ == "__main__":
    sys.exit(main())
