// Writes the template image the module copies smart filters from: 1 x 1
// pixel, RGB, 8 bits per channel, one smart-object layer per filter family,
// each carrying its family's offered filters as smart filters. A filter of
// index k (as the module's tables address it) is element k - 1 of its
// layer's list, so the last offered filter of a family comes first.
//
//   node generate.js OUTPUT.psd
'use strict';

const fs = require('fs');
const crypto = require('crypto');
const { writePsdBuffer } = require('ag-psd');

// Bottom to top; each with its offered filters in table order.
const kFamilies = [
  ['Other', ['Custom', 'High Pass', 'Maximum', 'Minimum', 'Offset']],
  ['Video', ['De-Interlace', 'NTSC Colors']],
  ['Texture', ['Craquelure', 'Grain', 'Mosaic Tiles', 'Patchwork', 'Stained Glass', 'Texturizer']],
  ['Stylize', ['Diffuse', 'Emboss', 'Extrude', 'Find Edges', 'Glowing Edges', 'Solarize', 'Tiles', 'Trace Contour', 'Wind']],
  ['Sketch', ['Bas Relief', 'Chalk & Charcoal', 'Charcoal', 'Chrome', 'Conté Crayon', 'Graphic Pen', 'Halftone Pattern',
              'Note Paper', 'Photocopy', 'Plaster', 'Reticulation', 'Stamp', 'Torn Edges', 'Water Paper']],
  ['Render', ['Clouds', 'Difference Clouds', 'Fibers', 'Lens Flare', 'Lighting Effects']],
  ['Pixelate', ['Color Halftone', 'Crystallize', 'Facet', 'Fragment', 'Mezzotint', 'Mosaic', 'Pointillize']],
  ['Noise', ['Add Noise', 'Despeckle', 'Dust & Scratches', 'Median', 'Reduce Noise']],
  ['Distort', ['Diffuse Glow', 'Displace', 'Glass', 'Ocean Ripple', 'Pinch', 'Polar Coordinates', 'Ripple', 'Shear',
               'Spherize', 'Twirl', 'Wave', 'ZigZag']],
  ['Brush Strokes', ['Accented Edges', 'Angled Strokes', 'Crosshatch', 'Dark Strokes', 'Ink Outlines', 'Spatter',
                     'Sprayed Strokes', 'Sumi-e']],
  ['Blur', ['Average', 'Blur', 'Blur More', 'Gaussian Blur', 'Motion Blur', 'Radial Blur', 'Smart Blur', 'Surface Blur']],
  ['Artistic', ['Colored Pencil', 'Cutout', 'Dry Brush', 'Film Grain', 'Fresco', 'Neon Glow', 'Paint Daubs',
                'Palette Knife', 'Plastic Wrap', 'Poster Edges', 'Rough Pastels', 'Smudge Stick', 'Sponge',
                'Underpainting', 'Watercolor']],
  ['Filter', ['Filter Gallery', 'Correct Camera Distortion']],
  ['Sharpen', ['Unsharp Mask', 'Smart Sharpen', 'Sharpen', 'Sharpen More', 'Sharpen Edges']],
  ['Enhance', ['Shadow/Highlight', 'Variations']],
];

// Filters the writer knows without settings are written as themselves;
// the others as stand-ins of that kind carrying their own name (the host
// shows the named filter's dialog when the copy is edited).
const kPlainKinds = {
  'Average': 'average', 'Blur': 'blur', 'Blur More': 'blur more', 'Despeckle': 'despeckle',
  'Facet': 'facet', 'Fragment': 'fragment', 'Find Edges': 'find edges', 'Solarize': 'solarize',
  'Sharpen': 'sharpen', 'Sharpen More': 'sharpen more', 'Sharpen Edges': 'sharpen edges',
};

const white = { r: 255, g: 255, b: 255 };
const black = { r: 0, g: 0, b: 0 };

function pixel() {
  return { width: 1, height: 1, data: new Uint8ClampedArray([255, 255, 255, 255]) };
}

function smartFilter(name) {
  return { type: kPlainKinds[name] || 'average', name, opacity: 1, blendMode: 'normal', enabled: true,
           hasOptions: false, foregroundColor: black, backgroundColor: white };
}

// The contents of every smart object: a 1 x 1 white image of its own.
function contentsFile() {
  return writePsdBuffer({ width: 1, height: 1, channels: 3, bitsPerChannel: 8, colorMode: 3,
                          imageData: pixel(), children: [{ name: 'Layer 1', imageData: pixel() }] });
}

// The composite is written uncompressed: the writer's RLE scratch buffer is
// too small for an image one pixel wide and the packed rows come out cut
// short. The image data section is the file's last; it is replaced by raw
// rows (compression 0), one plane per channel.
function withRawComposite(buffer, width, height, channels, fill) {
  let offset = 26;
  for (let section = 0; section < 3; ++section) offset += 4 + buffer.readUInt32BE(offset);
  if (offset > buffer.length) throw new Error('the written file has no image data section');
  const raw = Buffer.alloc(2 + width * height * channels, fill);
  raw.writeUInt16BE(0, 0);
  return Buffer.concat([buffer.subarray(0, offset), raw]);
}

function build() {
  const linkedFiles = [];
  const children = kFamilies.map(([family, offered], n) => {
    const id = crypto.createHash('md5').update(family).digest('hex');
    const uuid = `${id.slice(0, 8)}-${id.slice(8, 12)}-${id.slice(12, 16)}-${id.slice(16, 20)}-${id.slice(20, 32)}`;
    linkedFiles.push({ id: uuid, name: `${family}.psd`, data: contentsFile() });
    return {
      name: family,
      imageData: pixel(),
      placedLayer: {
        id: uuid, placed: uuid, type: 'raster', transform: [0, 0, 1, 0, 1, 1, 0, 1], width: 1, height: 1,
        filter: { enabled: true, validAtPosition: true, maskEnabled: false, maskLinked: false, maskExtendWithWhite: true,
                  list: offered.slice().reverse().map(smartFilter) },
      },
      id: n + 1,
    };
  });
  const psd = { width: 1, height: 1, channels: 3, bitsPerChannel: 8, colorMode: 3, imageData: pixel(), children, linkedFiles };
  return withRawComposite(Buffer.from(writePsdBuffer(psd, { noBackground: true })), 1, 1, 3, 255);
}

const output = process.argv[2];
if (!output) {
  console.error('usage: node generate.js OUTPUT.psd');
  process.exit(2);
}
const bytes = build();
fs.writeFileSync(output, bytes);
const sum = crypto.createHash('sha256').update(bytes).digest('hex');
fs.writeFileSync(output + '.sha256', `${sum}  ${require('path').basename(output)}\n`);
console.log(`${output}: ${bytes.length} bytes, sha256 ${sum}`);
