#!/usr/bin/env python3
"""A forager bot for Brevora, protocol version 1 (see docs/bots.md).

It keeps one flag on the richest life source near its colony and moves on
when that source runs low; while the flag allowance has room, it sends a
second flag at the nearest enemy colony smaller than its own. Standard
library only: copy it and make it yours.
"""
import json
import math
import sys

NEAR_CELLS = 50      # sources this close to the colony's centre count as near
LOW_SHARE = 0.25     # a source below this share of its start is running low
DRIFT_CELLS = 12     # an attack flag this far from its enemy is moved


def send(message):
    sys.stdout.write(json.dumps(message) + "\n")
    sys.stdout.flush()


def centre(cells):
    """The mean cell of a colony's virus runs [column, first row, length]."""
    total = sum(n for _, _, n in cells)
    if total == 0:
        return None
    column = sum(c * n for c, _, n in cells) / total
    row = sum((r + (n - 1) / 2) * n for _, r, n in cells) / total
    return column, row


class Forager:
    def __init__(self, greeting):
        self.me = greeting["you"]
        self.cell = greeting["grid"]["cell"]
        self.reach = greeting["flags"]["reach"]
        self.food = None    # the cell of the source we feed on
        self.attack = None  # the logical position of our attack flag

    def at(self, column, row):
        return [round(column * self.cell), round(row * self.cell)]

    def choose_food(self, sources, home):
        by_cell = {tuple(s["cell"]): s for s in sources}
        kept = by_cell.get(self.food)
        if kept and kept["reserve"] >= LOW_SHARE * kept["start"]:
            return
        def distance(s):
            return math.dist(s["cell"], home)
        near = [s for s in sources if distance(s) <= NEAR_CELLS]
        best = max(near, key=lambda s: s["reserve"]) if near else min(sources, key=distance, default=None)
        self.food = tuple(best["cell"]) if best else None

    def choose_attack(self, state, mine, home):
        enemies = []
        for colony in state["colonies"]:
            where = centre(colony["cells"])
            if colony["index"] != self.me and where and colony["viruses"] < mine["viruses"]:
                enemies.append((math.dist(where, home), where))
        if not enemies or mine["flag_limit"] < 2:
            self.attack = None
            return
        target = self.at(*min(enemies)[1])
        if self.attack is None or math.dist(self.attack, target) > DRIFT_CELLS * self.cell:
            self.attack = target
        # Never within reach of the food flag: setting it there would take that away.
        food = self.at(*self.food) if self.food else None
        if food and math.dist(food, self.attack) < 2 * self.reach:
            self.attack = None

    def decide(self, state):
        mine = state["colonies"][self.me]
        home = centre(mine["cells"])
        if home is None:
            return []
        self.choose_food(state["sources"], home)
        self.choose_attack(state, mine, home)
        wanted = [self.at(*self.food)] if self.food else []
        if self.attack:
            wanted.append(self.attack)
        # Take away what we no longer want, then set what is missing.
        def close(a, b):
            return abs(a[0] - b[0]) <= self.cell and abs(a[1] - b[1]) <= self.cell
        flags = mine["flags"]
        actions = [{"remove": f} for f in flags if not any(close(f, w) for w in wanted)]
        actions += [{"set": w} for w in wanted if not any(close(f, w) for f in flags)]
        return actions


def main():
    greeting = json.loads(sys.stdin.readline())
    if greeting.get("protocol") != 1:
        sys.exit("forager.py speaks protocol 1, not %s" % greeting.get("protocol"))
    bot = Forager(greeting)
    for line in sys.stdin:
        message = json.loads(line)
        if "end" in message:
            return
        send({"decision": message["decision"], "actions": bot.decide(message)})


if __name__ == "__main__":
    main()
