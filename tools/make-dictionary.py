#!/usr/bin/env python3
"""Writes a host string dictionary (tw10428.dat) of the size and shape of a
real one: UTF-16LE with a byte-order mark, one quoted "key=text" entry a line.

It holds the keys the plug-in looks up at start-up, spread over the start,
the middle and the end of the file among generated filler keys, a few of them
missing (the plug-in then uses its default), and entries whose key begins
with a looked-up key placed before that key's own entry.

    tools/make-dictionary.py OUT.dat [--entries 40000] [--seed 7]
"""
import argparse
import pathlib
import random
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
LABEL_SOURCES = [ROOT / "src/menus/label_texts.h", ROOT / "src/localization/dialog_labels.h"]

AREAS = ["Actions/Event", "Actions/Enum", "Actions/Key", "Actions/Class", "Menu", "Menu/Layer",
         "Menu/Filter", "Dialog", "Commands", "Filters/Builtins", "LFN/FileNames/Localized", "ControlsStrings",
         "Layer", "Text", "EL/Organizer", "PlatformSpecific/Windows", "AdobePlugin/PIPLInfo/PluginName",
         "Tooltip", "Preferences", "Guided", "Share", "Print", "Export", "Brush", "Camera"]
WORDS = ["Layer", "Mask", "Filter", "Color", "Adjust", "Select", "Brush", "Shape", "Text", "Image", "Photo",
         "Album", "Print", "Share", "Export", "Import", "Preview", "Options", "Settings", "Tool", "Panel",
         "Opacity", "Blend", "Mode", "Channel", "Curve", "Level", "Hue", "Saturation", "Light", "Shadow",
         "Highlight", "Sharpen", "Blur", "Noise", "Crop", "Rotate", "Resize", "Canvas", "Guide", "Grid"]
GERMAN = ["Ebene", "Maske", "Filter", "Farbe", "Auswahl", "Pinsel", "Form", "Bild", "Foto", "Drucken",
          "Einstellungen", "Werkzeug", "Deckkraft", "F\u00fcllmethode", "Kan\u00e4le", "Gr\u00f6\u00dfe",
          "Schatten", "Lichter", "Sch\u00e4rfen", "Weichzeichnen", "Rauschen", "Freistellen", "Drehen"]


def looked_up_keys():
    keys = []
    for path in LABEL_SOURCES:
        for text in re.findall(r'"(\$\$\$/[^"]*)"', path.read_text(encoding="latin-1")):
            key = text.rsplit("=", 1)[0]
            if key not in keys:
                keys.append(key)
    return keys


def filler(rng, n):
    key = "$$$/%s/%s" % (rng.choice(AREAS), "".join(rng.sample(WORDS, rng.randint(1, 3))))
    if rng.random() < 0.5:
        key += "/" + rng.choice(WORDS) + str(n)
    else:
        key += str(n)
    text = " ".join(rng.choice(GERMAN) for _ in range(rng.randint(1, 3)))
    if rng.random() < 0.1:
        text = "&" + text + ":"
    if rng.random() < 0.03:  # long help texts
        text = " ".join(rng.choice(GERMAN) for _ in range(rng.randint(10, 30)))
    return key, text


def translation(key, rng):
    last = key.rsplit("/", 1)[-1].rstrip("=")
    return "%s \u00fcbersetzt %s" % (last, rng.choice(GERMAN))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--entries", type=int, default=40000)
    parser.add_argument("--seed", type=int, default=7)
    args = parser.parse_args()
    rng = random.Random(args.seed)

    wanted = looked_up_keys()
    missing = set(rng.sample(wanted, max(1, len(wanted) // 20)))
    entries = []
    seen = set()
    while len(entries) < args.entries - len(wanted):
        key, text = filler(rng, len(entries))
        if key not in seen:
            seen.add(key)
            entries.append((key, text))

    # Looked-up keys at the start, in the middle and at the end; every tenth
    # also has a longer key beginning with it somewhere before its own entry.
    for i, key in enumerate(wanted):
        if key in missing:
            continue
        third = i % 3
        span = len(entries)
        at = [rng.randrange(0, span // 10), rng.randrange(span * 4 // 10, span * 6 // 10),
              rng.randrange(span * 9 // 10, span)][third]
        entries.insert(at, (key, translation(key, rng)))
        if i % 10 == 0 and not key.endswith("="):
            entries.insert(rng.randrange(0, at + 1), (key + "Extended", "L\u00e4ngerer Schl\u00fcssel"))

    text = "".join('"%s=%s"\r\n' % entry for entry in entries)
    out = pathlib.Path(args.out)
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))
    print("%s: %d entries, %d bytes, %d looked-up keys (%d missing)" %
          (out, len(entries), out.stat().st_size, len(wanted), len(missing)))


if __name__ == "__main__":
    main()
