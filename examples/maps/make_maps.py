#!/usr/bin/env python3
# Copyright (c) 2026 Kestrune
# Licensed under the Apache License, Version 2.0
"""Writes the demo's maps: a 10 m x 8 m floor of rooms and a corridor, and a keepout mask.

Run once from this folder; its output is committed, so the build never needs Python:

    python3 make_maps.py

rooms.pgm/.yaml: 0.05 m per pixel, origin (0, 0). A band of unknown space around the
building, outer walls, a corridor across the middle (y 3.4..4.6 m) with three rooms above
and two below, door gaps into each room, and a few pieces of furniture.

keepout_mask.pgm/.yaml: 0.1 m per pixel over the same area (a coarser grid on purpose, so
the filter has to match cells by world position), black where the robot must not go: part
of the lower right room.
"""

import pathlib

WIDTH_M, HEIGHT_M = 10.0, 8.0

FREE, OCCUPIED, UNKNOWN = 254, 0, 205

# Rectangles in metres: (x0, y0, x1, y1), x1/y1 exclusive.
BUILDING = (0.25, 0.25, 9.75, 7.75)
INTERIOR = (0.40, 0.40, 9.60, 7.60)
WALLS = [
    (0.40, 3.25, 9.60, 3.40),   # corridor, lower wall
    (0.40, 4.60, 9.60, 4.75),   # corridor, upper wall
    (4.90, 0.40, 5.05, 3.25),    # between the two lower rooms
    (3.20, 4.75, 3.35, 7.60),    # between the upper rooms
    (6.50, 4.75, 6.65, 7.60),
]
DOORS = [
    (2.00, 3.25, 2.90, 3.40),   # lower left room
    (7.00, 3.25, 7.90, 3.40),   # lower right room
    (1.20, 4.60, 2.10, 4.75),   # upper left room
    (4.50, 4.60, 5.40, 4.75),   # upper middle room
    (7.80, 4.60, 8.70, 4.75),   # upper right room
]
FURNITURE = [
    (1.00, 1.00, 1.30, 1.30),   # pillar, lower left room
    (4.20, 6.20, 5.00, 6.80),   # table, upper middle room
    (8.80, 1.00, 9.20, 2.50),   # shelf, lower right room
    (0.80, 6.60, 1.60, 7.20),   # cabinet, upper left room
]
KEEPOUT = [
    (6.00, 0.80, 7.50, 2.00),   # lower right room: a zone the robot must avoid
]


def inside(x, y, rect):
    return rect[0] <= x < rect[2] and rect[1] <= y < rect[3]


def render(resolution, classify):
    """Rows top-down, as PGM stores them; classify(x, y) gives a pixel for a cell centre."""
    width, height = round(WIDTH_M / resolution), round(HEIGHT_M / resolution)
    rows = []
    for row in range(height):
        y = (height - 1 - row + 0.5) * resolution
        rows.append(bytes(classify((col + 0.5) * resolution, y) for col in range(width)))
    return width, height, rows


def floor_pixel(x, y):
    if not inside(x, y, BUILDING):
        return UNKNOWN
    if not inside(x, y, INTERIOR):
        return OCCUPIED
    if any(inside(x, y, r) for r in DOORS):
        return FREE
    if any(inside(x, y, r) for r in WALLS + FURNITURE):
        return OCCUPIED
    return FREE


def mask_pixel(x, y):
    return OCCUPIED if any(inside(x, y, r) for r in KEEPOUT) else FREE


def write_map(stem, resolution, classify, comment):
    width, height, rows = render(resolution, classify)
    header = f"P5\n# {comment}\n{width} {height}\n255\n".encode("ascii")
    pathlib.Path(f"{stem}.pgm").write_bytes(header + b"".join(rows))
    pathlib.Path(f"{stem}.yaml").write_text(
        f"image: {stem}.pgm\n"
        "mode: trinary\n"
        f"resolution: {resolution}\n"
        "origin: [0.0, 0.0, 0.0]\n"
        "negate: 0\n"
        "occupied_thresh: 0.65\n"
        "free_thresh: 0.196\n")


if __name__ == "__main__":
    write_map("rooms", 0.05, floor_pixel, "rooms and a corridor, 10 m x 8 m")
    write_map("keepout_mask", 0.1, mask_pixel, "keepout zone in the lower right room")
