#!/usr/bin/python3
"""Reads the committed template image back with an independent reader and
checks what the module relies on: its checksum, its size and mode, the
composite pixel, the layers' names and order, each a smart object, and each
layer's smart filters, in the order the module's indices address them (the
filter of index k is element k - 1 of the list, so the last offered filter of
a family comes first)."""

import hashlib
import struct
import sys

from psd_tools import PSDImage
from psd_tools.constants import Tag

# Bottom to top: the family layer and its offered filters' names, element 0 first.
EXPECTED = [
    ("Other", ["Offset", "Minimum", "Maximum", "High Pass", "Custom"]),
    ("Video", ["NTSC Colors", "De-Interlace"]),
    ("Texture", ["Texturizer", "Stained Glass", "Patchwork", "Mosaic Tiles", "Grain", "Craquelure"]),
    ("Stylize", ["Wind", "Trace Contour", "Tiles", "Solarize", "Glowing Edges", "Find Edges", "Extrude", "Emboss",
                 "Diffuse"]),
    ("Sketch", ["Water Paper", "Torn Edges", "Stamp", "Reticulation", "Plaster", "Photocopy", "Note Paper",
                "Halftone Pattern", "Graphic Pen", "Conté Crayon", "Chrome", "Charcoal", "Chalk & Charcoal",
                "Bas Relief"]),
    ("Render", ["Lighting Effects", "Lens Flare", "Fibers", "Difference Clouds", "Clouds"]),
    ("Pixelate", ["Pointillize", "Mosaic", "Mezzotint", "Fragment", "Facet", "Crystallize", "Color Halftone"]),
    ("Noise", ["Reduce Noise", "Median", "Dust & Scratches", "Despeckle", "Add Noise"]),
    ("Distort", ["ZigZag", "Wave", "Twirl", "Spherize", "Shear", "Ripple", "Polar Coordinates", "Pinch",
                 "Ocean Ripple", "Glass", "Displace", "Diffuse Glow"]),
    ("Brush Strokes", ["Sumi-e", "Sprayed Strokes", "Spatter", "Ink Outlines", "Dark Strokes", "Crosshatch",
                       "Angled Strokes", "Accented Edges"]),
    ("Blur", ["Surface Blur", "Smart Blur", "Radial Blur", "Motion Blur", "Gaussian Blur", "Blur More", "Blur",
              "Average"]),
    ("Artistic", ["Watercolor", "Underpainting", "Sponge", "Smudge Stick", "Rough Pastels", "Poster Edges",
                  "Plastic Wrap", "Palette Knife", "Paint Daubs", "Neon Glow", "Fresco", "Film Grain", "Dry Brush",
                  "Cutout", "Colored Pencil"]),
    ("Filter", ["Correct Camera Distortion", "Filter Gallery"]),
    ("Sharpen", ["Sharpen Edges", "Sharpen More", "Sharpen", "Smart Sharpen", "Unsharp Mask"]),
    ("Enhance", ["Variations", "Shadow/Highlight"]),
]

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def filter_names(layer):
    for tag in (Tag.SMART_OBJECT_LAYER_DATA1, Tag.SMART_OBJECT_LAYER_DATA2, Tag.PLACED_LAYER2, Tag.PLACED_LAYER1):
        if tag in layer.tagged_blocks:
            data = layer.tagged_blocks.get_data(tag).data
            if b"filterFX" in data:
                return [f[b"Nm  "].value.rstrip("\x00") for f in data[b"filterFX"][b"filterFXList"]]
    return None


def composite_section(raw):
    """The image data section: compression and the bytes after it."""
    offset = 26
    for _ in range(3):
        offset += 4 + struct.unpack(">I", raw[offset:offset + 4])[0]
    return struct.unpack(">H", raw[offset:offset + 2])[0], raw[offset + 2:]


def main(path, checksum_path):
    raw = open(path, "rb").read()
    recorded = open(checksum_path).read().split()[0]
    expect(hashlib.sha256(raw).hexdigest() == recorded, "the checksum beside the file does not match it")

    psd = PSDImage.open(path)
    expect((psd.width, psd.height) == (1, 1), f"size {psd.width} x {psd.height}")
    expect(int(psd.color_mode) == 3, f"colour mode {psd.color_mode}")
    expect(psd.depth == 8 and psd.channels == 3, f"{psd.channels} channels of {psd.depth} bits")
    # The composite whole: one byte per channel, not rows cut short.
    compression, data = composite_section(raw)
    expect(compression == 0 and len(data) == 3, f"composite compression {compression}, {len(data)} bytes")

    layers = list(psd)
    expect([l.name for l in layers] == [name for name, _ in EXPECTED],
           f"layers {[l.name for l in layers]}")
    for layer, (name, filters) in zip(layers, EXPECTED):
        expect(layer.kind == "smartobject", f"{name} is {layer.kind}, no smart object")
        found = filter_names(layer)
        expect(found == filters, f"{name} carries {found}")

    for failure in failures:
        print("FAIL:", failure)
    print("ok" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
