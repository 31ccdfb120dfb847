#!/usr/bin/env python3
"""Whether a picture appears pixel for pixel somewhere in a larger one (a screenshot).

Usage: find-picture.py SCREEN.png PICTURE.png
Exit status 0 and the place found on standard output, 1 when it is nowhere.
"""
import subprocess
import sys


def pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          capture_output=True, text=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    raw = subprocess.run(["convert", path, "-alpha", "off", "rgb:-"], check=True,
                         capture_output=True).stdout
    return width, height, raw


def main():
    screen_w, screen_h, screen = pixels(sys.argv[1])
    w, h, picture = pixels(sys.argv[2])
    rows = [picture[y * w * 3:(y + 1) * w * 3] for y in range(h)]
    for top in range(screen_h - h + 1):
        line = screen[top * screen_w * 3:(top + 1) * screen_w * 3]
        start = line.find(rows[0])
        while start >= 0:
            if start % 3 == 0:
                left = start // 3
                if all(screen[(top + y) * screen_w * 3 + left * 3:
                              (top + y) * screen_w * 3 + (left + w) * 3] == rows[y]
                       for y in range(h)):
                    print(f"found at {left},{top}")
                    return 0
            start = line.find(rows[0], start + 1)
    print("not found", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
