#!/usr/bin/env python3
"""Explores the catalog road at random (docs/explorer.md): from a seed, steps run for real
under Wine, what the host shows held against the model and the invariants; a failing
sequence is written as a simcad script, then shrunk."""
import argparse
import itertools
import json
import os
import pathlib
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
# Handles the host's and the system's paths (not the plug-in) open once and keep, measured;
# the exception's allowed from the start: which step throws first is not modelled.
ONCE_ROAD, ONCE_KILLED_WATCHER, ONCE_EXCEPTION = 2, 3, 2
SHRINK_RUNS, SHRINK_SECONDS = 80, 900
# The stand-ins' tools open handles for good with the first automation command and
# the first kill: the prelude uses both before the plug-in is loaded.
PRELUDE = ["env KVT_TARNVEL_ROOT_DIR=${CATALOG}", "env KVT_TARNVEL_EXPORT_DIR=${EXPORT}",
           "env PVESTRA_LOG=${EXPORT}\\..\\catalog.log", "file ${EXPORT}\\marker.txt",
           steps.HAND_START.replace("by-hand.sat", "..\\warm-up.sat"),
           "wait catalog running 15000", "wait catalog idle 15000", "catalog shown",
           "catalog kill", "wait catalog closed 15000", "load"]


class Violation:
    def __init__(self, category, text, expects=()):
        self.category, self.text, self.expects = category, text, [e for e in expects if e]

    def __str__(self):
        return "%s: %s" % (self.category, self.text)


class Episode:
    """One host session: the steps run (with their lines), their times, the first violation."""

    def __init__(self):
        self.executed, self.times, self.handles, self.branches = [], [], [], []
        self.violation, self.handle_baseline, self.logs, self.steps_before = None, None, {}, 0
        self.killed_watcher = False   # a watcher ended without delivery


class Explorer:
    def __init__(self, bin_dir, work_dir):
        self.work_dir, self.runs = work_dir, 0
        self.wine_run, self.simcad = os.path.join(ROOT, "cmake", "wine-run"), os.path.join(bin_dir, "simcad.exe")
        # Wine traces the watcher's calls (the list is the prefix's) for the host session only.
        _quiet([self.wine_run, "reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude",
                "/d", ";".join(watcher_calls.TRACED), "/f"], check=True)

    def run(self, next_step):
        """Runs steps from next_step(index, states) until it gives None or one fails."""
        self.runs += 1
        run_dir = os.path.join(self.work_dir, "run-%d" % self.runs)
        export = os.path.join(run_dir, "export")
        os.makedirs(export)
        episode, states = Episode(), []
        host = session.Session(self.wine_run, self.simcad, dict(os.environ, WINEDEBUG="-all,+relay"),
                               os.path.join(run_dir, "stderr.txt"))
        try:
            states = self._run_episode(host, next_step, episode, export)
        finally:
            code = host.close()
            left = self._reap()
        if not episode.violation:
            # Its input closed, simcad ends by itself, leaving no catalog process unexpected.
            problem = ("simcad did not end within 15 s of its input" if code is None else
                       "simcad ended with exit code %d" % code if code != 0 else
                       "catalog processes were left behind" if left and not any(s.viewer for s in states)
                       else "the catalog viewer had gone at the end"
                       if not left and all(s.viewer is True for s in states) else None)
            episode.violation = problem and Violation("shutdown", problem)
        if episode.violation:
            logs = (pathlib.Path(run_dir, name) for name in ("catalog.log", "stderr.txt"))
            episode.logs = {path.name: path.read_bytes() for path in logs if path.is_file()}
        shutil.rmtree(run_dir, ignore_errors=True)
        return episode

    def _run_episode(self, host, next_step, episode, export):
        def send(line):
            return host.run(line.replace("${EXPORT}", "Z:" + export.replace("/", "\\")), COMMAND_DEADLINE_S)

        for line in PRELUDE:
            send(line)
        states, index, calls = steps.effects(steps.Step("load"), model.State()), 0, watcher_calls.WatcherCalls()
        closing = [steps.Step("end"), steps.Step("unload")]  # checked as any step
        while True:
            step = next_step(index, states)
            if step is None:
                while closing and not steps.fits(closing[0], states):
                    closing.pop(0)
                if not closing:
                    return states
                step = closing.pop(0)
            index += 1
            if not steps.fits(step, states):
                continue
            episode.killed_watcher |= step.kind == "missing-directory" or step.kind.startswith("kill") and any(
                s.watcher == "live" for s in states)
            lines = steps.commands(step, states)
            episode.executed.append((step, lines))
            started = time.monotonic()
            try:
                printed = [out for line in lines for out in send(line)]
                dump = host.dump()
                episode.times.append((step.kind, time.monotonic() - started))
                files = _export_files(export)
                log = _read_text(os.path.join(os.path.dirname(export), "catalog.log"))
                before, (states, violation) = states, self._check(step, states, printed, dump, model.observe(
                    dump, files, log), episode, lambda: int(send("handles")[0].split(": ")[1]))
                violation = violation or _refused_violation(log) or _calls_violation(step, host, calls)
                episode.branches += steps.branches(step, before, states)
            except session.Hang as hang:
                episode.violation = Violation("hang", str(hang))
                return states
            except session.Stopped as stopped:  # exit code 2: a command could not run, our fault
                episode.violation = Violation("script" if re.search(r"exit code 2\b", str(stopped))
                                              else "crash", str(stopped))
                return states
            if violation:
                episode.violation = violation
                return states

    def _check(self, step, states, printed, dump, seen, episode, count_handles):
        after = list({t.key(): t for s in states for t in steps.effects(step, s)}.values())
        agreeing = [t for t in after if not model.differences(t, seen)]
        violation = (_command_violation(printed) or
                     _invariant_violation(agreeing or after, dump, episode, count_handles))
        if violation:
            return after, violation
        if not agreeing:
            found = model.differences(after[0], seen)
            return after, Violation("model", "; ".join(text for text, _ in found), [e for _, e in found])
        for state in agreeing:
            model.learn_ids(state, seen)
        return agreeing, None

    def _reap(self):
        """Ends what catalog processes are left; true when there were some."""
        return _quiet([self.wine_run, self.simcad, "--reap"]).returncode != 0

    def explore(self, seed, step_count):
        rng, schedule, episodes = random.Random(seed), steps.Schedule(seed), []
        for start in range(0, step_count, EPISODE_STEPS):
            length = min(EPISODE_STEPS, step_count - start)
            episodes.append(self.run(lambda i, states: schedule.make(rng, states) if i < length else None))
            episodes[-1].steps_before = start
            if episodes[-1].violation:
                break
        return episodes

    def shrink(self, failing):
        """Drops runs of steps, halving their length, while the same kind of violation comes."""
        current, best, runs = [step for step, _ in failing.executed], failing, 0
        deadline = time.monotonic() + SHRINK_SECONDS
        chunk = max(1, len(current) // 2)
        while chunk >= 1 and runs < SHRINK_RUNS and time.monotonic() < deadline:
            at = 0
            while at < len(current) and runs < SHRINK_RUNS and time.monotonic() < deadline:
                candidate = current[:at] + current[at + chunk:]
                runs += 1
                episode = self.run(lambda i, state: candidate[i] if i < len(candidate) else None)
                if episode.violation and episode.violation.category == failing.violation.category:
                    current, best = [step for step, _ in episode.executed], episode
                else:
                    at += chunk
            chunk //= 2
        return best, runs


def _quiet(command, check=False):
    return subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, check=check)


def _export_files(export):
    return os.listdir(export) if os.path.isdir(export) else []


def _read_text(path):
    return pathlib.Path(path).read_bytes().decode("utf-8", "replace") if os.path.isfile(path) else ""


def _command_violation(printed):
    for line in printed:
        if ": timed out after" in line or ": FAILED" in line or ": no answer" in line:
            return Violation("wait", line)
        if line.startswith("unload: unloaded in ") and int(line.split()[3]) > UNLOAD_LIMIT_MS:
            return Violation("slow unload", line)
        if line.startswith("catalog take") and ": error" in line:
            return Violation("catalog", line)
    return None


def _refused_violation(log):
    """No write of the catalog may be refused: the plug-in's look must never stand in its way."""
    for line in log.splitlines():
        if "refused" in line and not line.rstrip().endswith(" 0 refused"):
            return Violation("invariant", "the catalog met a refusal: " + line.strip())
    return None


def _calls_violation(step, host, calls):
    problem = calls.feed(host.new_errors(), directory_removed=step.kind in ("directory", "missing-directory"))
    return Violation("invariant", problem) if problem else None


def _invariant_violation(states, dump, episode, count_handles):
    catalog, process = dump["catalog"], dump["process"]
    broken = [c["state"] for c in dump["deferredCalls"] if c["state"].startswith("exception")]
    for failed, text, expect in [
            (dump["openContexts"], "%d context units left open" % dump["openContexts"],
             "expect openContexts == 0"),
            (dump["registry"], "registrations left: %s" % dump["registry"], "expect registry.length == 0"),
            (catalog["scriptHosts"], "%d script hosts still run after the step" % catalog["scriptHosts"],
             "expect catalog.scriptHosts == 0"),
            (dump["errorLog"], "unexpected warning: %s" % (dump["errorLog"] or [""])[-1],
             "expect errorLog.length == 0"),
            (broken, "a deferred call threw: %s" % (broken or [""])[0], None)]:
        if failed:
            return Violation("invariant", text, [expect])
    if any(s.watcher != "none" for s in states):
        return None
    if process["threads"] > process["idleThreads"]:
        return Violation("invariant", "%d threads while the plug-in is idle, %d at the start" % (
            process["threads"], process["idleThreads"]), ["expect process.threads == %d" % process["idleThreads"]])
    # Back at the first idle count but for what the paths met so far keep once: a lost handle shows at once.
    handles = count_handles()
    episode.handles.append(handles)
    episode.handle_baseline = handles if episode.handle_baseline is None else episode.handle_baseline
    allowed = (episode.handle_baseline + ONCE_EXCEPTION + ONCE_ROAD * any(len(s.commands) > 1 for s in states)
               + ONCE_KILLED_WATCHER * episode.killed_watcher)
    if handles > allowed:
        return Violation("invariant", "%d host handles while the plug-in is idle, %d allowed "
                         "(%d at the first idle moment)" % (handles, allowed, episode.handle_baseline))
    return None


def write_script(path, episode, title):
    lines = ["# " + title, "# Written by tests/explorer/explore.py; every step as it ran."] + PRELUDE
    for number, (step, commands) in enumerate(episode.executed, 1):
        lines += ["# step %d: %s" % (number, step)] + commands
    if episode.violation:
        lines += ["# the violation: " + episode.violation.text] + episode.violation.expects
    with open(path, "w") as script:
        script.write("\n".join(lines + ["catalog kill"]).replace("${EXPORT}", "${TEMP}\\export") + "\n")


def summary(results, elapsed):
    times, violations = results["times"], results["violations"]
    print("explorer: %d steps in %.1f s (%.3f s a step), %d violations" % (
        len(times), elapsed, elapsed / max(1, len(times)), len(violations)))
    for kind in sorted(dict.fromkeys(k for k, _ in times), key=lambda k: -sum(k == t for t, _ in times)):
        values = sorted(seconds for t, seconds in times if t == kind)
        print("  %-15s %5d steps, median %6.3f s, max %6.3f s" % (
            kind, len(values), values[len(values) // 2], values[-1]))
    print("  branches of the road reached (never reached ones show 0):")
    for branch in steps.BRANCHES + sorted(set(results["branches"]) - set(steps.BRANCHES)):
        print("  %-32s %5d" % (branch, results["branches"].count(branch)))
    if results["handles"]:
        print("  host handles whenever the plug-in was idle: %d to %d" % (
            min(results["handles"]), max(results["handles"])))
    for violation in violations:
        print("  violation: " + violation)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int)
    parser.add_argument("--seeds", help="comma-separated seeds, each run for --steps")
    parser.add_argument("--steps", type=int, default=200)
    parser.add_argument("--jobs", type=int, default=1, help="seeds run side by side, each in its own Wine prefix")
    parser.add_argument("--out", default=os.path.join(tempfile.gettempdir(), "tarnvel-explorer"))
    parser.add_argument("--bin", default=os.path.join(ROOT, "build", "dev", "bin"))
    parser.add_argument("--no-shrink", action="store_true")
    parser.add_argument("--skip", default="", help="comma-separated step kinds never taken")
    parser.add_argument("--results", help=argparse.SUPPRESS)
    args = parser.parse_args()
    seeds = ([int(s) for s in args.seeds.split(",")] if args.seeds else
             [args.seed if args.seed is not None else random.SystemRandom().randrange(1, 10 ** 6)])
    steps.skip([kind for kind in args.skip.split(",") if kind])
    if not os.path.isfile(os.path.join(args.bin, "simcad.exe")):
        sys.exit("explorer: no simcad.exe in %s; build first (tools/build)" % args.bin)
    os.makedirs(args.out, exist_ok=True)
    started = time.monotonic()
    results = (_run_jobs if args.jobs > 1 and len(seeds) > 1 else _run_seeds)(args, seeds)
    if args.results:
        pathlib.Path(args.results).write_text(json.dumps(results))
    else:
        summary(results, time.monotonic() - started)
    return 1 if results["violations"] else 0


def _run_seeds(args, seeds):
    explorer = Explorer(os.path.abspath(args.bin), tempfile.mkdtemp(prefix="tarnvel-explore-"))
    results = {"times": [], "handles": [], "violations": [], "branches": []}
    for seed in seeds:
        print("explorer: seed %d, %d steps" % (seed, args.steps), flush=True)
        episodes = explorer.explore(seed, args.steps)
        for episode, name in itertools.product(episodes, ("times", "handles", "branches")):
            results[name] += getattr(episode, name)
        if episodes[-1].violation:
            results["violations"].append("seed %d: %s" % (seed, _report(explorer, seed, episodes[-1], args)))
    shutil.rmtree(explorer.work_dir, ignore_errors=True)
    return results


def _run_jobs(args, seeds):
    """Each job runs a share of the seeds in a Wine prefix of its own (the catalog's processes
    and windows belong to one Wine session)."""
    prefix = os.environ.get("WINEPREFIX", "/tmp/tarnvel-wine-%d" % os.getuid())
    jobs = []
    for job in range(min(args.jobs, len(seeds))):
        out = os.path.join(args.out, "job-%d.json" % job)
        command = [sys.executable, os.path.abspath(__file__), "--seeds", ",".join(map(str, seeds[job::args.jobs])),
                   "--steps", str(args.steps), "--out", args.out, "--bin", args.bin,
                   "--results", out, "--skip", args.skip] + (["--no-shrink"] if args.no_shrink else [])
        jobs.append((subprocess.Popen(command, env=dict(os.environ, WINEPREFIX="%s-job%d" % (prefix, job))), out))
    results = {"times": [], "handles": [], "violations": [], "branches": []}
    for process, out in jobs:
        process.wait()
        for name, values in json.loads(pathlib.Path(out).read_text()).items():
            results[name] += values
        os.remove(out)
    return results


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
