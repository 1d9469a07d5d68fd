#!/usr/bin/env python3
"""Prints seeded random positions for fourfall-analyze, one per line.

Each is a random legal game from the empty board, cut at a random length
from 0 to 41 and always before a move that would make four, so that every
line is a position the analyzer accepts.

    bench/positions.py <count> [seed]
"""
import random
import sys


def has_four(cells, column, row, player):
    for dc, dr in ((0, 1), (1, 0), (1, 1), (1, -1)):
        run = 1
        for sign in (1, -1):
            c, r = column + sign * dc, row + sign * dr
            while 0 <= c < 7 and 0 <= r < 6 and cells.get((c, r)) == player:
                run += 1
                c, r = c + sign * dc, r + sign * dr
        if run >= 4:
            return True
    return False


def position(rng):
    length = rng.randrange(42)
    heights = [0] * 7
    cells = {}
    moves = []
    while len(moves) < length:
        player = len(moves) % 2
        column = rng.choice([c for c in range(7) if heights[c] < 6])
        if has_four(cells, column, heights[column], player):
            break
        cells[(column, heights[column])] = player
        heights[column] += 1
        moves.append(str(column + 1))
    return "".join(moves) or "-"


def main():
    count = int(sys.argv[1])
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
    for _ in range(count):
        print(position(rng))


if __name__ == "__main__":
    main()
