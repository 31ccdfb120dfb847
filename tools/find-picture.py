#!/usr/bin/env python3
"""Whether a picture appears pixel for pixel somewhere in a larger one (a screenshot).

Usage: find-picture.py SCREEN.png PICTURE.png [--ignore RRGGBB]
Pixels of PICTURE in the --ignore colour may be anything on the screen: a picture of
the views has the window's background between them, which a system's theme may paint
in another colour. Exit status 0 and the place found on standard output, 1 when the
picture is nowhere.
"""
import subprocess
import sys


def pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          capture_output=True, text=True).stdout.split()
    raw = subprocess.run(["convert", path, "-alpha", "off", "rgb:-"], check=True,
                         capture_output=True).stdout
    return int(size[0]), int(size[1]), raw


def runs(row, width, ignored):
    """The pieces of a row that must match: (first pixel, bytes) between ignored pixels."""
    pieces, start = [], None
    for x in range(width + 1):
        keep = x < width and row[x * 3:x * 3 + 3] != ignored
        if keep and start is None:
            start = x
        elif not keep and start is not None:
            pieces.append((start, row[start * 3:x * 3]))
            start = None
    return pieces


def main():
    args = sys.argv[1:]
    ignored = b""
    if "--ignore" in args:
        at = args.index("--ignore")
        ignored = bytes.fromhex(args[at + 1])
        del args[at:at + 2]
    screen_w, screen_h, screen = pixels(args[0])
    w, h, picture = pixels(args[1])
    rows = [runs(picture[y * w * 3:(y + 1) * w * 3], w, ignored) for y in range(h)]
    anchor_y = next(y for y in range(h) if rows[y])
    anchor_x, anchor = max(rows[anchor_y], key=lambda piece: len(piece[1]))
    for top in range(-anchor_y, screen_h - h + 1):
        line = screen[(top + anchor_y) * screen_w * 3:(top + anchor_y + 1) * screen_w * 3]
        start = line.find(anchor)
        while start >= 0:
            left = start // 3 - anchor_x
            if start % 3 == 0 and 0 <= left <= screen_w - w and top >= 0 and all(
                    screen[((top + y) * screen_w + left + x) * 3:
                           ((top + y) * screen_w + left + x) * 3 + len(piece)] == piece
                    for y in range(h) for x, piece in rows[y]):
                print(f"found at {left},{top}")
                return 0
            start = line.find(anchor, start + 1)
    print("not found", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
