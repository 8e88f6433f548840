// The PNG files the record mode writes (8-bit RGB or RGBA, not interlaced), read and written
// with node's zlib: frames as RGB bytes, rows top down.
import { readFileSync, writeFileSync } from 'node:fs';
import zlib from 'node:zlib';

const SIGNATURE = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes the per-row filters of PNG; returns the rows without their filter bytes.
function unfilter(data, width, height, channels) {
  const stride = width * channels;
  const out = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const type = data[y * (stride + 1)];
    const from = y * (stride + 1) + 1;
    const at = y * stride;
    const up = at - stride;
    for (let i = 0; i < stride; i++) {
      const left = i >= channels ? out[at + i - channels] : 0;
      const above = y > 0 ? out[up + i] : 0;
      let predictor = 0;
      if (type === 1) predictor = left;
      else if (type === 2) predictor = above;
      else if (type === 3) predictor = (left + above) >> 1;
      else if (type === 4) predictor = paeth(left, above, y > 0 && i >= channels ? out[up + i - channels] : 0);
      out[at + i] = (data[from + i] + predictor) & 255;
    }
  }
  return out;
}

export const readPng = (file) => readPngBytes(readFileSync(file), file);

export function readPngBytes(bytes, name = 'the picture') {
  if (!bytes.subarray(0, 8).equals(SIGNATURE)) throw new Error(`${name} is no PNG`);
  let width = 0, height = 0, channels = 0;
  const idat = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0 || (body[9] !== 2 && body[9] !== 6)) throw new Error(`${name}: not 8-bit RGB`);
      channels = body[9] === 2 ? 3 : 4;
    } else if (type === 'IDAT') {
      idat.push(body);
    }
    at += 12 + length;
  }
  const rows = unfilter(zlib.inflateSync(Buffer.concat(idat)), width, height, channels);
  if (channels === 3) return { width, height, rgb: rows };
  const rgb = Buffer.alloc(width * height * 3);
  for (let i = 0, j = 0; i < rgb.length; i += 3, j += 4) rows.copy(rgb, i, j, j + 3);
  return { width, height, rgb };
}

// zlib.crc32 only came with node 20.15; Debian's node is older.
function crc32(bytes, crc = 0) {
  let c = ~crc;
  for (const byte of bytes) {
    c ^= byte;
    for (let k = 0; k < 8; k++) c = (c >>> 1) ^ (0xEDB88320 & -(c & 1));
  }
  return ~c >>> 0;
}

function chunk(type, body) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(body.length, 0);
  head.write(type, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(body, crc32(head.subarray(4))));
  return Buffer.concat([head, body, crc]);
}

export function writePng(file, { width, height, rgb }) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 2, 0, 0, 0], 8);
  const raw = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; y++) rgb.copy(raw, y * (width * 3 + 1) + 1, y * width * 3, (y + 1) * width * 3);
  writeFileSync(file, Buffer.concat([SIGNATURE, chunk('IHDR', header), chunk('IDAT', zlib.deflateSync(raw, { level: 3 })),
    chunk('IEND', Buffer.alloc(0))]));
}

// The surface's bottom-up 0xAARRGGBB words (bytes B, G, R, A) as RGB rows top down.
export function surfaceToRgb(surface, width, height) {
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; y++) {
    const from = (height - 1 - y) * width * 4;
    for (let x = 0, i = y * width * 3, j = from; x < width; x++, i += 3, j += 4) {
      rgb[i] = surface[j + 2];
      rgb[i + 1] = surface[j + 1];
      rgb[i + 2] = surface[j];
    }
  }
  return rgb;
}
