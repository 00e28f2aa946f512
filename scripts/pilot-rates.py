#!/usr/bin/env python3
"""How well the demo pilot races (not part of the tests): for every level and seed asked
for, a game started at that level on ship (seed - 1) % 5 + 1 with the pilot driving, run
headless until the level is over. Prints a table of lives lost and how each level ended,
and with --why what took each point of energy (asteroid, wall, rival shot, rival ram).

Usage: scripts/pilot-rates.py [--build DIR] [--levels 5,10] [--seeds 1-5] [--jobs 2] [--why]
A level-10 run goes on through the congratulations; a level ends in "next" (finished),
"congrats" (the tenth finished), "over" (the last life lost) or "open" (frames ran out).
"""
import argparse
import concurrent.futures
import glob
import json
import math
import os
import subprocess
import sys
import tempfile

READY = 80          # the main menu takes commands from here on
TILE = 72
LEVEL_SECONDS = [0, 45, 75, 100, 120, 135, 175, 175, 175, 175, 175]


def parse_range(text):
    values = []
    for part in text.split(","):
        if "-" in part:
            a, b = part.split("-")
            values.extend(range(int(a), int(b) + 1))
        else:
            values.append(int(part))
    return values


def player_world(race):
    p = race["player"]
    return (TILE * race["ViewCol"] + p["ShipCentreX"] - race["BackgroundX"],
            TILE * race["ViewRow"] + p["ShipCentreY"] - race["BackgroundY"])


def blame(before, after):
    """What most likely took the energy between two samples."""
    race = before["race"]
    px, py = player_world(race)
    nearest = ("wall or ram", 1e9)
    for shot in race["shots"]:
        if shot["State"] != 0 or shot["Owner"] == 1:
            continue
        d = math.hypot(shot["X"] - px, shot["Y"] - py)
        what = "asteroid" if shot["Owner"] == 0 else "rival shot"
        if d < 160 and d < nearest[1]:
            nearest = (what, d)
    lost = before["race"]["player"]["Energy"] - (after["race"]["player"]["Energy"] if not after["race"]["player"]["Dead"] else 0)
    if nearest[0] == "wall or ram":
        for rival in race["rivals"]:
            if rival["Destroyed"]:
                continue
            if math.hypot(rival["PosX"] + 35 - px, rival["PosY"] + 35 - py) < 110:
                return "rival ram"
        return "wall" if lost > 1 or after["race"]["player"]["Dead"] else "unknown"
    return nearest[0]


def run(build, level, seed, why):
    ship = (seed - 1) % 5 + 1
    every = 3 if why else 20
    # Room for three tries at the level (a time-out costs a life and restarts it).
    frames = READY + 3 * (LEVEL_SECONDS[level] * 85 + 700) + 1500
    with tempfile.TemporaryDirectory(prefix="pilot-rates-") as work:
        os.makedirs(os.path.join(work, "Data"))
        for part in ("Res", "Music"):
            os.symlink(os.path.join(build, "Data", part), os.path.join(work, "Data", part))
        with open(os.path.join(work, "script.txt"), "w") as script:
            script.write(f"{READY} race {ship} {level}\n{READY} pilot on\n")
            for f in range(READY + every, frames, every):
                script.write(f"{f} state s{f}.json\n")
        subprocess.run([os.path.join(build, "quillon"), "--headless", "--frames", str(frames), "--seed", str(seed),
                        "--script", "script.txt"], cwd=work, check=True, stderr=subprocess.DEVNULL)
        lost, timeouts, end, causes = 0, 0, "open", {}
        previous = None
        last_dialog = 0
        for f in range(READY + every, frames, every):
            path = os.path.join(work, f"s{f}.json")
            if not os.path.exists(path):
                break
            state = json.load(open(path))
            race = state.get("race")
            if race is None or state["CurrentScreen"] != 6:
                break
            dialog = state["ActiveDialog"]
            if dialog == 3 and last_dialog != 3:
                timeouts += 1
            last_dialog = dialog
            if race["Level"] > level:
                end = "next"
                break
            if dialog == 12:
                end = "congrats"
                break
            if previous is not None:
                if race["Lives"] < previous["race"]["Lives"]:
                    lost += previous["race"]["Lives"] - race["Lives"]
                if why and race["player"]["Energy"] < previous["race"]["player"]["Energy"] and \
                        not previous["race"]["player"]["Dead"]:
                    cause = blame(previous, state)
                    causes[cause] = causes.get(cause, 0) + 1
            if dialog == 7:
                end = "over"
                break
            previous = state
        return level, seed, ship, lost, timeouts, end, causes, f


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build"))
    parser.add_argument("--levels", default="1,3,5,7,10")
    parser.add_argument("--seeds", default="1-5")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--why", action="store_true")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    if not os.path.exists(os.path.join(build, "Data", "Res", "Res1.dxg")):
        sys.exit(f"no game data in {build}/Data: build the game first")
    levels, seeds = parse_range(args.levels), parse_range(args.seeds)
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        jobs = [pool.submit(run, build, level, seed, args.why) for level in levels for seed in seeds]
        results = [job.result() for job in jobs]
    print("level  " + "  ".join(f"seed {s} (ship {(s - 1) % 5 + 1})".ljust(22) for s in seeds) + "  clean  finished")
    for level in levels:
        row = [r for r in results if r[0] == level]
        cells = []
        for r in row:
            text = f"{r[3]} lost, {r[5]}" + (f", {r[4]} t/o" if r[4] else "")
            cells.append(text.ljust(22))
        clean = sum(1 for r in row if r[3] == 0 and r[5] in ("next", "congrats"))
        done = sum(1 for r in row if r[5] in ("next", "congrats"))
        print(f"{level:5}  " + "  ".join(cells) + f"  {clean}/{len(row)}    {done}/{len(row)}")
    if args.why:
        total = {}
        for r in results:
            for k, v in r[6].items():
                total[k] = total.get(k, 0) + v
        print("energy taken by:", ", ".join(f"{k} {v}" for k, v in sorted(total.items())))
        for r in results:
            if r[6]:
                print(f"  level {r[0]} seed {r[1]}: {r[6]}")


if __name__ == "__main__":
    main()
