#!/usr/bin/env python3
"""Searches rule values for the balance targets of the game.

Each candidate is a copy of assets/dat/param.txt with some values changed,
played by `brevora-sim --report --json` over a few seeds per setting, and
scored by how far it misses the targets (0 when it meets them all). The
search is a (1+1) evolution: from the best set so far, one to three values
are scaled by a random factor; a candidate that scores lower becomes the best.
Keys, preconditions and every other line of the file stay as they are.

    tools/tune/tune_rules.py --evaluations 40 --games 12 --log tune.log
    tools/tune/tune_rules.py --score-only       # the current values, scored
    tools/tune/tune_rules.py --write BEST.txt   # copy a found set into the assets
"""
import argparse
import json
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PARAM = os.path.join(ROOT, "assets", "dat", "param.txt")

# The values searched and their sensible ranges. Triples are Easy Medium Hard;
# each slot moves on its own. Pairs tie a maximum to its minimum.
RANGES = {
    "m_min_life_reserve": (80, 600),
    "m_max_life_reserve": (120, 900),
    "m_viruses_on_start": (20, 120),
    "m_max_population": (600, 3000),
    "m_flag_per_count": (15, 200),
    "m_life_src_add_prob": (1, 12),
    "m_life_src_min_life_reserve": (10000, 200000),
    "m_life_src_max_life_reserve": (15000, 300000),
    "m_life_distribute": (6, 40),
    "m_life_src_dist": (20, 80),
}
PAIRS = [("m_min_life_reserve", "m_max_life_reserve"),
         ("m_life_src_min_life_reserve", "m_life_src_max_life_reserve")]


def read_values(text):
    """Key -> list of numbers, for the keys searched."""
    values = {}
    for line in text.splitlines():
        m = re.match(r'^(\w+)\s+("([^"]*)"|(\S+))', line)
        if m and m.group(1) in RANGES:
            raw = m.group(3) if m.group(3) is not None else m.group(4)
            values[m.group(1)] = [float(v) for v in raw.split()]
    return values


def render(text, values):
    """The file with the searched values replaced, comments kept."""
    out = []
    for line in text.splitlines():
        m = re.match(r'^(\w+)(\s+)("[^"]*"|\S+)(.*)$', line)
        if m and m.group(1) in values:
            nums = values[m.group(1)]
            shown = " ".join(fmt(m.group(1), v) for v in nums)
            value = '"%s"' % shown if len(nums) > 1 else shown
            line = m.group(1) + m.group(2) + value + m.group(4)
        out.append(line)
    return "\n".join(out) + "\n"


def fmt(key, value):
    return str(int(round(value)))


def mutate(values, rng):
    child = {k: list(v) for k, v in values.items()}
    for _ in range(rng.randint(1, 3)):
        key = rng.choice(sorted(child))
        low, high = RANGES[key]
        slots = range(len(child[key]))
        # A triple moves in one slot or as a whole.
        chosen = [rng.choice(list(slots))] if rng.random() < 0.6 else list(slots)
        factor = math.exp(rng.gauss(0, 0.3))
        for i in chosen:
            child[key][i] = min(high, max(low, round(child[key][i] * factor)))
    for low_key, high_key in PAIRS:
        for i in range(len(child[low_key])):
            if child[high_key][i] <= child[low_key][i]:
                child[high_key][i] = child[low_key][i] + max(1, round(0.3 * child[low_key][i]))
    return child


def play(sim, text, games, seed, max_ticks, jobs):
    """The report's JSON lines for a rules text; None when refused."""
    with tempfile.TemporaryDirectory() as data:
        os.makedirs(os.path.join(data, "dat"))
        with open(os.path.join(data, "dat", "param.txt"), "w") as f:
            f.write(text)
        for name in ("flag.spr", "life_src.spr"):
            shutil.copy(os.path.join(ROOT, "assets", "dat", name), os.path.join(data, "dat"))
        run = subprocess.run([sim, "--report", "--json", "--games", str(games), "--seed", str(seed),
                              "--max-ticks", str(max_ticks), "--jobs", str(jobs), "--data", data],
                             capture_output=True, text=True)
        if run.returncode != 0:
            return None
        return {line["setting"]: line for line in map(json.loads, run.stdout.splitlines())}


def outside(value, low, high):
    return max(0.0, low - value, value - high)


def score(report):
    """How far the figures miss the targets; 0 meets them all."""
    if report is None:
        return float("inf"), ["refused"]
    misses = []
    total = 0.0

    def miss(weight, amount, what):
        nonlocal total
        if amount > 0:
            total += weight * amount
            misses.append("%s (%.1f)" % (what, amount))

    for name, line in report.items():
        group, colonies = line["group"], line["colonies"]
        if group == "computer":
            low, high = {2: (3, 8), 3: (3.5, 10), 4: (4, 12)}[colonies]
            miss(1.0, outside(line["median"], low, high), name + " length")
            miss(0.2, line["starved"] - 5, name + " starved %")
            if colonies == 4:
                miss(0.1, max(line["corners"]) - 35, name + " corner %")
        if group in ("computer", "idle"):
            miss(0.5, line["unfinished"] - 1, name + " unfinished %")
        if group == "idle":
            miss(0.5, line["first_wins"], name + " idle player wins %")
        if group == "forager":
            target = {"easy": (70, 100), "medium": (40, 60), "hard": (0, 30)}[line["difficulty"]]
            miss(0.1, outside(line["first_wins"], *target), name + " forager wins %")
        if group == "versus":
            miss(0.1, 60 - line["first_wins"], name + " first wins %")
    return total, misses


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sim", default=os.path.join(ROOT, "build", "bin", "brevora-sim"))
    parser.add_argument("--evaluations", type=int, default=40)
    parser.add_argument("--games", type=int, default=12, help="seeds per setting")
    parser.add_argument("--seed", type=int, default=5000, help="first seed (not the report's)")
    parser.add_argument("--max-ticks", type=int, default=72000, help="an unfinished game (40 min)")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--random-seed", type=int, default=1)
    parser.add_argument("--log", help="append every evaluation here")
    parser.add_argument("--best", default="tune-best.txt", help="where the best rules go")
    parser.add_argument("--start", default=PARAM, help="the rules to start from")
    parser.add_argument("--try", dest="tries", action="append", default=[],
                        help="rules to try first, as candidates (may repeat)")
    parser.add_argument("--score-only", action="store_true")
    parser.add_argument("--write", metavar="RULES", help="copy these rules into the assets")
    args = parser.parse_args()

    if args.write:
        shutil.copy(args.write, PARAM)
        print("copied %s to %s" % (args.write, PARAM))
        return 0
    template = open(args.start).read()
    best = read_values(template)
    rng = random.Random(args.random_seed)

    def evaluate(values):
        report = play(args.sim, render(template, values), args.games, args.seed, args.max_ticks,
                      args.jobs)
        return score(report)

    best_score, best_misses = evaluate(best)
    print("start: %.2f  %s" % (best_score, "; ".join(best_misses)), flush=True)
    if args.score_only:
        return 0
    with open(args.best, "w") as f:
        f.write(render(template, best))
    tries = [read_values(open(path).read()) for path in args.tries]
    for n in range(1, args.evaluations + 1):
        candidate = tries.pop(0) if tries else mutate(best, rng)
        value, misses = evaluate(candidate)
        changed = {k: v for k, v in candidate.items() if v != best[k]}
        note = "%d: %.2f (best %.2f) %s" % (n, value, best_score, json.dumps(changed))
        if args.log:
            with open(args.log, "a") as log:
                log.write(note + "\n")
        print(note, flush=True)
        if value < best_score:
            best, best_score, best_misses = candidate, value, misses
            with open(args.best, "w") as f:
                f.write(render(template, best))
            print("  better: %s" % "; ".join(best_misses), flush=True)
    print("best %.2f written to %s: %s" % (best_score, args.best, "; ".join(best_misses)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
