#!/usr/bin/env python3
"""Turns the icon art of tools/icons/ into the module's raw icon resources.

Each tools/icons/NAME.txt holds the rows of one icon, top to bottom, one
character a pixel; tools/icons/palette.txt says which colour each character
stands for. The output, src/resources/icons/NAME.rgb, has no header: rows top
to bottom, three bytes a pixel (red, green, blue). Pure white is the colour
the module leaves unpainted.

  make-icons.py          writes the .rgb files
  make-icons.py --check  exits 1 when a committed .rgb file differs from its art
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
ART = ROOT / "tools" / "icons"
OUT = ROOT / "src" / "resources" / "icons"

# Name, width, height: the resources the module loads.
ICONS = [
    ("LAYERMASK", 18, 18),
    ("LAYERSTYLE", 18, 18),
    ("GROUPLAYERS", 18, 18),
    ("SMARTOBJECT", 18, 18),
    ("SMARTOBJECT2", 18, 18),
    ("QUICKMASK", 34, 25),
    ("QUICKMASK2", 34, 25),
]


def read_palette():
    palette = {}
    for number, line in enumerate((ART / "palette.txt").read_text().splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split()
        if len(fields) != 4 or len(fields[0]) != 1:
            raise SystemExit(f"palette.txt:{number}: expected a character and three numbers")
        values = [int(v) for v in fields[1:]]
        if any(v < 0 or v > 255 for v in values):
            raise SystemExit(f"palette.txt:{number}: a colour value outside 0..255")
        palette[fields[0]] = bytes(values)
    return palette


def render(name, width, height, palette):
    rows = (ART / f"{name}.txt").read_text().splitlines()
    if len(rows) != height:
        raise SystemExit(f"{name}.txt: {len(rows)} rows, expected {height}")
    out = bytearray()
    for number, row in enumerate(rows, 1):
        if len(row) != width:
            raise SystemExit(f"{name}.txt:{number}: {len(row)} pixels, expected {width}")
        for ch in row:
            if ch not in palette:
                raise SystemExit(f"{name}.txt:{number}: '{ch}' is not in the palette")
            out += palette[ch]
    return bytes(out)


def main(argv):
    check = "--check" in argv[1:]
    palette = read_palette()
    stale = []
    for name, width, height in ICONS:
        data = render(name, width, height, palette)
        target = OUT / f"{name}.rgb"
        if check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(target.name)
        else:
            OUT.mkdir(parents=True, exist_ok=True)
            target.write_bytes(data)
    if stale:
        print("out of date with their art (run tools/make-icons.py):", ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
