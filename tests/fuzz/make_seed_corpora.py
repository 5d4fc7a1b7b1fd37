#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: small valid images of each kind, scenes and
values, and the hostile image files: headers that claim far more pixels than the file holds,
an integer that overflows, and a small file of legitimate but huge zlib data. Run from the
repository root; the files are checked in, so this is only for review or to make them again."""
import struct
import zlib


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, idat, depth=8, colour=6):
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", idat) +
            png_chunk(b"IEND", b""))


def zlib_bomb(width, height):
    # Rows of zeros (filter byte included) deflate at close to the format's best ratio.
    packer = zlib.compressobj(9)
    row = bytes(1 + 4 * width)
    data = b"".join(packer.compress(row) for _ in range(height))
    return png(width, height, data + packer.flush())


def exr_attribute(name, kind, value):
    return name + b"\0" + kind + b"\0" + struct.pack("<i", len(value)) + value


def exr_claiming(width, height):
    channels = b"".join(name + b"\0" + struct.pack("<iB3xii", 2, 0, 1, 1) for name in (b"B", b"G", b"R"))
    channels += b"\0"
    window = struct.pack("<iiii", 0, 0, width - 1, height - 1)
    header = (exr_attribute(b"channels", b"chlist", channels) +
              exr_attribute(b"compression", b"compression", b"\x03") +  # ZIP, 16 rows a chunk
              exr_attribute(b"dataWindow", b"box2i", window) +
              exr_attribute(b"displayWindow", b"box2i", window) +
              exr_attribute(b"lineOrder", b"lineOrder", b"\0") +
              exr_attribute(b"pixelAspectRatio", b"float", struct.pack("<f", 1)) +
              exr_attribute(b"screenWindowCenter", b"v2f", struct.pack("<ff", 0, 0)) +
              exr_attribute(b"screenWindowWidth", b"float", struct.pack("<f", 1)) + b"\0")
    chunks = (height + 15) // 16
    start = 8 + len(header) + 8 * chunks
    # An offset table that points at one short chunk, and nothing else.
    table = struct.pack("<Q", start) + bytes(8 * (chunks - 1))
    chunk = struct.pack("<ii", 0, 8) + bytes(8)
    return b"\x76\x2f\x31\x01" + struct.pack("<i", 2) + header + table + chunk


def exr_zip(block):
    # Bytes split into even and odd halves, then each byte as its difference to the previous.
    order = block[0::2] + block[1::2]
    out = bytearray(order[:1])
    for i in range(1, len(order)):
        out.append((order[i] - order[i - 1] + 128) & 0xFF)
    packed = zlib.compress(bytes(out), 9)
    return packed if len(packed) < len(block) else block


def exr_image(width, height, compression, half=False, tiled=False):
    """A small scan-line (or single-level tiled) image with B, G, R and A channels."""
    kind, size = (1, 2) if half else (2, 4)
    names = (b"A", b"B", b"G", b"R")
    channels = b"".join(n + b"\0" + struct.pack("<iB3xii", kind, 0, 1, 1) for n in names) + b"\0"
    window = struct.pack("<iiii", 0, 0, width - 1, height - 1)
    header = (exr_attribute(b"channels", b"chlist", channels) +
              exr_attribute(b"compression", b"compression", bytes([compression])) +
              exr_attribute(b"dataWindow", b"box2i", window) +
              exr_attribute(b"displayWindow", b"box2i", window) +
              exr_attribute(b"lineOrder", b"lineOrder", b"\0") +
              exr_attribute(b"pixelAspectRatio", b"float", struct.pack("<f", 1)) +
              exr_attribute(b"screenWindowCenter", b"v2f", struct.pack("<ff", 0, 0)) +
              exr_attribute(b"screenWindowWidth", b"float", struct.pack("<f", 1)))
    if tiled:
        header += exr_attribute(b"tiles", b"tiledesc", struct.pack("<IIB", width, height, 0))
    header += b"\0"

    def sample(c, x, y):
        v = ((x * 7 + y * 3 + c * 5) % 11) / 10.0 if c > 0 else 1.0
        return struct.pack("<e" if half else "<f", v)

    def rows(y0, y1):
        return b"".join(sample(c, x, y) for y in range(y0, y1) for c in range(4)
                        for x in range(width))

    lines = 16 if compression == 3 else 1
    blocks = []
    if tiled:
        data = payload(rows(0, height), compression)
        blocks.append(struct.pack("<iiiii", 0, 0, 0, 0, len(data)) + data)
    else:
        for y in range(0, height, lines):
            data = payload(rows(y, min(height, y + lines)), compression)
            blocks.append(struct.pack("<ii", y, len(data)) + data)
    start = 8 + len(header) + 8 * len(blocks)
    table = b""
    for block in blocks:
        table += struct.pack("<Q", start)
        start += len(block)
    flags = 2 | (0x200 if tiled else 0)
    return b"\x76\x2f\x31\x01" + struct.pack("<i", flags) + header + table + b"".join(blocks)


def payload(data, compression):
    if compression == 3:
        return exr_zip(data)
    return data


HDR_HEAD = b"#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n"


def hdr_flat(resolution, width, height):
    pixels = b"".join(bytes([(x * 40) % 256, (y * 60) % 256, 128, 129])
                      for y in range(height) for x in range(width))
    return HDR_HEAD + resolution + b"\n" + pixels


def hdr_rle(width, height):
    out = HDR_HEAD + b"-Y %d +X %d\n" % (height, width)
    for y in range(height):
        out += bytes([2, 2, width >> 8, width & 0xFF])
        out += bytes([128 + width, 200])                         # red: one run
        out += bytes([width]) + bytes((x * 9 + y) % 256 for x in range(width))  # green: literal
        out += bytes([128 + width // 2, 10, 128 + width - width // 2, 20])       # blue: two runs
        out += bytes([128 + width, 130])                         # exponent
    return out


def png_plain(width, height, depth, colour, interlace=0, extra=b""):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    row_bytes = (width * channels * depth + 7) // 8
    raw = b"".join(b"\0" + bytes((x * 31 + y * 17) % 256 for x in range(row_bytes))
                   for y in range(height))
    if interlace:  # 8-bit RGBA only: the seven passes of Adam7, each its own rows
        raw = b""
        for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
                               (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)):
            pass_width = (width - x0 + dx - 1) // dx
            pass_height = (height - y0 + dy - 1) // dy
            if pass_width > 0:
                raw += (b"\0" + bytes(range(4 * pass_width))) * pass_height
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra +
            png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b""))


PALETTE = png_chunk(b"PLTE", bytes(range(48))) + png_chunk(b"tRNS", bytes([0, 128, 255]))

SCENE = b"""{
  "size": [64, 36], "frame_rate": 24, "frames": "0-3", "ramp": "0:#000000,1:#FFFFFF",
  "camera": {"position": {"keys": [{"frame": 0, "value": [32, 18, -80]},
                                   {"frame": 3, "value": [40, 18, -70]}]},
             "point_of_interest": [32, 18, 0], "zoom": 90},
  "lights": [{"name": "Key", "type": "point", "position": [10, -20, -60], "color": "#FFE2C0",
              "intensity": 120, "casts_shadows": true}],
  "params": {"Power": {"keys": [{"frame": 0, "value": 8}, {"frame": 3, "value": -3.5}]},
             "AO Samples": 16, "Rotation Z": 45, "Julia Mode": "on", "AO Type": "Raytraced",
             "Light Color": "#80FF00", "Specularity": 0.25}
}
"""

files = {
    "tests/fuzz/hdr_corpus/claims_32767_square.hdr": HDR_HEAD + b"-Y 32767 +X 32767\n",
    "tests/fuzz/hdr_corpus/height_overflows_int.hdr":
        HDR_HEAD + b"-Y 4294967297 +X 1\n" + bytes([128, 64, 32, 129]),
    "tests/fuzz/png_corpus/claims_32767_square.png":
        png(32767, 32767, (zlib.compress(bytes(64)) + bytes(17))[:17]),
    "tests/fuzz/exr_corpus/claims_16128x8960.exr": exr_claiming(16128, 8960),
    "tests/fuzz/exr_corpus/claims_8000x8000.exr": exr_claiming(8000, 8000),
    "tests/fuzz/png_corpus/zlib_bomb_8192_square.png": zlib_bomb(8192, 8192),
}
files.update({
    "tests/fuzz/png_corpus/rgba8.png": png_plain(5, 3, 8, 6),
    "tests/fuzz/png_corpus/rgb16.png": png_plain(4, 2, 16, 2),
    "tests/fuzz/png_corpus/grey1.png": png_plain(9, 2, 1, 0),
    "tests/fuzz/png_corpus/grey_alpha8.png": png_plain(3, 3, 8, 4),
    "tests/fuzz/png_corpus/palette4.png": png_plain(6, 2, 4, 3, extra=PALETTE),
    "tests/fuzz/png_corpus/interlaced.png": png_plain(9, 9, 8, 6, interlace=1),
    "tests/fuzz/exr_corpus/float_none.exr": exr_image(4, 3, 0),
    "tests/fuzz/exr_corpus/half_zip.exr": exr_image(6, 20, 3, half=True),
    "tests/fuzz/exr_corpus/float_zips.exr": exr_image(3, 2, 2),
    "tests/fuzz/exr_corpus/tiled_none.exr": exr_image(4, 4, 0, tiled=True),
    "tests/fuzz/hdr_corpus/flat.hdr": hdr_flat(b"-Y 2 +X 3", 3, 2),
    "tests/fuzz/hdr_corpus/flipped.hdr": hdr_flat(b"+Y 2 -X 2", 2, 2).replace(
        b"FORMAT", b"EXPOSURE=2.0\nFORMAT"),
    "tests/fuzz/hdr_corpus/run_length.hdr": hdr_rle(12, 2),
    "tests/fuzz/hdr_corpus/old_repeat.hdr": HDR_HEAD + b"-Y 1 +X 9\n" +
        bytes([100, 50, 25, 130, 1, 1, 1, 8]),
    "tests/fuzz/scene_corpus/animated.json": SCENE,
    "tests/fuzz/scene_corpus/minimal.json": b'{"params": {"Power": 2}}',
    "tests/fuzz/scene_corpus/faults.json":
        b'{"size": [0, 1e30], "params": {"No Such": 1, "AO Type": 9}, "lights": [{}]}',
})
values = ["\x001.5e3", "\x0164x36", "\x022-17", "\x03#a0B1c2", "\x04yes",
          "\x05Power=3", "\x060:#000000,0.5:#FF0000,1:#FFFFFF", "\x07-2.5",
          "\x34Raytraced", "\x08opencl"]
for i, value in enumerate(values):
    files[f"tests/fuzz/value_corpus/value_{i}"] = value.encode("latin-1")

for path, data in files.items():
    with open(path, "wb") as out:
        out.write(data)
    print(f"{path}: {len(data)} bytes")
