#!/usr/bin/env python3
"""Times fourfall-analyze --solve on a seeded random set of positions.

For each stone count asked for, plays COUNT random games from the empty board
up to that many stones, never completing four on the way (a game that gets
stuck with only four-completing moves is drawn again), and solves them all in
one run of the analyzer. Prints, per stone count, the median and the maximum
of the solve times the analyzer reports, the slowest position, and the load
average before and after, since the figures mean little on a busy machine.

    tools/analyze/solve_timing.py build/tools/analyze/fourfall-analyze \\
        --stones 8 12 --count 100 --seed 1
"""

import argparse
import os
import random
import statistics
import subprocess
import sys

COLUMNS, ROWS = 7, 6


def completes_four(grid, column, row, player):
    for dc, dr in ((1, 0), (0, 1), (1, 1), (1, -1)):
        run = 1
        for sign in (1, -1):
            c, r = column + sign * dc, row + sign * dr
            while 0 <= c < COLUMNS and 0 <= r < ROWS and grid[c][r] == player:
                run += 1
                c, r = c + sign * dc, r + sign * dr
        if run >= 4:
            return True
    return False


def random_position(rng, stones):
    while True:
        grid = [[None] * ROWS for _ in range(COLUMNS)]
        heights = [0] * COLUMNS
        moves = ""
        for ply in range(stones):
            player = ply % 2
            choices = [
                c for c in range(COLUMNS)
                if heights[c] < ROWS and not completes_four(grid, c, heights[c], player)
            ]
            if not choices:
                break
            column = rng.choice(choices)
            grid[column][heights[column]] = player
            heights[column] += 1
            moves += str(column + 1)
        if len(moves) == stones:
            return moves


def load_average():
    return " ".join(f"{x:.2f}" for x in os.getloadavg())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("analyzer", help="path to fourfall-analyze")
    parser.add_argument("--stones", type=int, nargs="+", default=[8, 12])
    parser.add_argument("--count", type=int, default=100, help="positions per stone count")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--table", type=int, help="the solver's table in MiB")
    parser.add_argument("--list", action="store_true", help="print every answer line too")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    command = [args.analyzer, "--solve"]
    if args.table:
        command += ["--table", str(args.table)]
    print(f"seed {args.seed}, {args.count} positions per stone count, load {load_average()}")
    for stones in args.stones:
        positions = [random_position(rng, stones) for _ in range(args.count)]
        run = subprocess.run(command, input="\n".join(positions) + "\n", capture_output=True,
                             text=True, check=False)
        if run.returncode != 0:
            sys.exit(f"{' '.join(command)} exited with {run.returncode}: {run.stderr}")
        answers = [line.split() for line in run.stdout.splitlines()]
        if args.list:
            for answer in answers:
                print(" ".join(answer))
        seconds = [int(answer[4]) / 1e6 for answer in answers]
        slowest = max(answers, key=lambda answer: int(answer[4]))
        print(f"{stones:2d} stones: median {statistics.median(seconds):.4f} s, "
              f"max {max(seconds):.3f} s ({slowest[0]}: value {slowest[1]}, "
              f"{int(slowest[3]):,} positions), load {load_average()}")


if __name__ == "__main__":
    main()
