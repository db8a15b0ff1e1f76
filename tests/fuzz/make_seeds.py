#!/usr/bin/env python3
"""Writes the generated seeds of the fuzz targets (xfile, dds, picture) into
tests/fuzz/<target>_seeds, so that every encoding and pixel format the
readers accept starts with an example. The picture seeds are thumbnails of
two reference pictures of the shared real-world corpus, re-encoded with
ImageMagick's convert; the corpus files themselves stay outside the
repository.

Usage: tests/fuzz/make_seeds.py [CORPUS_DIR]   (default ../shared/corpus)
"""
import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
CORPUS = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "..", "shared", "corpus")


def write(target, name, data):
    folder = os.path.join(HERE, target + "_seeds")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- .x ----------------------------------------------------------------------

TEXT_MESH = """template Unused {
 <11111111-2222-3333-4444-555555555555>
 DWORD n;
 array FLOAT v[n];
}
Frame Root {
 FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 2,0,0,1;; }
 Frame Inner {
  Mesh Quad {
   5;
   0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;, 0.5;0.5;1.000000;;
   3;
   4;0,1,2,3;,
   3;0,1,4;,
   3;2,3,4;;
   MeshNormals { 2; 0;0;1;, 0;1;0;; 3; 4;0,0,0,0;, 3;1,1,1;, 3;0,1,0;; }
   MeshTextureCoords { 5; 0;0;, 1;0;, 1;1;, 0;1;, 0.5;0.5;; }
   MeshMaterialList { 2; 2; 1, 0;;
    Material Red { 1;0;0;1;; 250; 1;1;1;; 0;0;0;; TextureFilename { "red.dds"; } }
    { Red }
   }
  }
 }
}
Mesh Plain { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
"""

NO_MATERIALS = "Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,3;; }\n"


class Binary:
    """Token stream of a binary body; floatBytes is 4 or 8."""

    def __init__(self, float_bytes):
        self.out = bytearray()
        self.float_bytes = float_bytes

    def token(self, t):
        self.out += struct.pack("<H", t)

    def name(self, text):
        self.token(1)
        self.out += struct.pack("<I", len(text)) + text.encode()

    def open(self, template, name=None):
        self.name(template)
        if name:
            self.name(name)
        self.token(10)

    def close(self):
        self.token(11)

    def ints(self, values):
        self.token(6)
        self.out += struct.pack("<I", len(values)) + struct.pack("<%dI" % len(values), *values)

    def floats(self, values):
        self.token(7)
        code = "f" if self.float_bytes == 4 else "d"
        self.out += struct.pack("<I", len(values)) + struct.pack("<%d%s" % (len(values), code), *values)


def binary_body(float_bytes):
    b = Binary(float_bytes)
    b.open("Frame", "Root")
    b.open("FrameTransformMatrix")
    b.floats([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1])
    b.close()
    b.open("Mesh", "Quad")
    b.ints([5])
    b.floats([0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5, 0.5, 1])
    b.ints([3, 4, 0, 1, 2, 3, 3, 0, 1, 4, 3, 2, 3, 4])
    b.open("MeshNormals")
    b.ints([2])
    b.floats([0, 0, 1, 0, 1, 0])
    b.ints([3, 4, 0, 0, 0, 0, 3, 1, 1, 1, 3, 0, 1, 0])
    b.close()
    b.open("MeshTextureCoords")
    b.ints([5])
    b.floats([0, 0, 1, 0, 1, 1, 0, 1, 0.5, 0.5])
    b.close()
    b.open("MeshMaterialList")
    b.ints([2, 2, 1, 0])
    b.open("Material")
    b.floats([1, 0, 0, 1, 250, 1, 1, 1, 0, 0, 0])
    b.close()
    b.close()
    b.close()
    b.close()
    return bytes(b.out)


def mszip(body, carried):
    """The size field and the blocks; carried lets a block refer back."""
    out = bytearray(struct.pack("<I", len(body) + 16))
    block = 32768
    for offset in range(0, len(body), block):
        raw = body[offset:offset + block]
        history = body[max(0, offset - block):offset] if carried else b""
        z = zlib.compressobj(9, zlib.DEFLATED, -15, zdict=history) if history else \
            zlib.compressobj(9, zlib.DEFLATED, -15)
        packed = z.compress(raw) + z.flush()
        out += struct.pack("<HH", len(raw), len(packed) + 2) + b"CK" + packed
    return bytes(out)


def make_xfile_seeds():
    text = TEXT_MESH.encode()
    write("xfile", "frames_text.x", b"xof 0303txt 0032" + text)
    write("xfile", "frames_text64.x", b"xof 0303txt 0064" + text)
    write("xfile", "no_materials.x", b"xof 0303txt 0032" + NO_MATERIALS.encode())
    write("xfile", "frames_bin32.x", b"xof 0303bin 0032" + binary_body(4))
    write("xfile", "frames_bin64.x", b"xof 0303bin 0064" + binary_body(8))
    write("xfile", "frames_tzip.x", b"xof 0303tzip0032" + mszip(text, False))
    write("xfile", "frames_bzip64.x", b"xof 0303bzip0064" + mszip(binary_body(8), False))
    # Enough meshes for several blocks, the later ones referring back.
    many = text + (NO_MATERIALS.encode() * 1200)
    write("xfile", "blocks_tzip_carried.x", b"xof 0303tzip0032" + mszip(many, True))


# --- DDS ---------------------------------------------------------------------

MASKS = {  # name: (flags, bits, r, g, b, a, format number)
    "a8r8g8b8": (0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 21),
    "x8r8g8b8": (0x40, 32, 0xFF0000, 0xFF00, 0xFF, 0, 22),
    "a8b8g8r8": (0x41, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, 32),
    "x8b8g8r8": (0x40, 32, 0xFF, 0xFF00, 0xFF0000, 0, 33),
    "r8g8b8": (0x40, 24, 0xFF0000, 0xFF00, 0xFF, 0, 20),
    "r5g6b5": (0x40, 16, 0xF800, 0x7E0, 0x1F, 0, 23),
    "a1r5g5b5": (0x41, 16, 0x7C00, 0x3E0, 0x1F, 0x8000, 25),
    "x1r5g5b5": (0x40, 16, 0x7C00, 0x3E0, 0x1F, 0, 24),
    "a4r4g4b4": (0x41, 16, 0xF00, 0xF0, 0xF, 0xF000, 26),
    "l8": (0x20000, 8, 0xFF, 0, 0, 0, 50),
    "a8": (0x2, 8, 0, 0, 0, 0xFF, 28),
}
BLOCKS = {"DXT1": 8, "DXT2": 16, "DXT3": 16, "DXT4": 16, "DXT5": 16}


def dds_header(width, height, mips, pixel_format, cube):
    flags = 0x1007 | (0x20000 if mips > 1 else 0)
    caps = 0x1000 | (0x400008 if mips > 1 else 0) | (0x8 if cube else 0)
    caps2 = 0xFE00 if cube else 0
    header = struct.pack("<4sIIIIIII", b"DDS ", 124, flags, height, width, 0, 0, mips)
    header += b"\0" * 44 + pixel_format
    header += struct.pack("<IIIII", caps, caps2, 0, 0, 0)
    assert len(header) == 128
    return header


def pattern(size, seed):
    return bytes((i * 37 + seed * 11 + (i >> 3)) & 0xFF for i in range(size))


def chain_bytes(width, height, mips, level_bytes):
    total = 0
    for _ in range(mips):
        total += level_bytes(width, height)
        width, height = max(1, width // 2), max(1, height // 2)
    return total


def make_dds_seeds():
    for name, (flags, bits, r, g, b, a, number) in MASKS.items():
        masks = struct.pack("<IIIIIIII", 32, flags, 0, bits, r, g, b, a)
        level = lambda w, h, bits=bits: w * h * bits // 8
        write("dds", name + "_5x3.dds", dds_header(5, 3, 1, masks, False) +
              pattern(level(5, 3), number))
        data = pattern(6 * chain_bytes(4, 4, 3, level), number)
        write("dds", name + "_cube4_mips.dds", dds_header(4, 4, 3, masks, True) + data)
        # The same layout named by its format number instead of masks.
        by_number = struct.pack("<IIIIIIII", 32, 0x4, number, 0, 0, 0, 0, 0)
        write("dds", name + "_fourcc_2x2.dds", dds_header(2, 2, 1, by_number, False) +
              pattern(level(2, 2), number + 1))
    for name, block in BLOCKS.items():
        fourcc = struct.pack("<II4sIIIII", 32, 0x4, name.encode(), 0, 0, 0, 0, 0)
        level = lambda w, h, block=block: ((w + 3) // 4) * ((h + 3) // 4) * block
        write("dds", name.lower() + "_6x5_mips.dds", dds_header(6, 5, 3, fourcc, False) +
              pattern(chain_bytes(6, 5, 3, level), block))
        write("dds", name.lower() + "_cube8.dds", dds_header(8, 8, 1, fourcc, True) +
              pattern(6 * level(8, 8), block + 1))


# --- BMP, PNG, JPEG, TGA -----------------------------------------------------

PICTURES = [  # output name, convert options
    ("rgb.png", ["-depth", "8", "PNG24:"]),
    ("rgba.png", ["-alpha", "set", "-channel", "A", "-evaluate", "set", "60%", "+channel",
                  "PNG32:"]),
    ("palette.png", ["-colors", "16", "PNG8:"]),
    ("grey.png", ["-colorspace", "Gray", "-depth", "8", "PNG8:"]),
    ("interlaced.png", ["-interlace", "PNG", "PNG24:"]),
    ("baseline.jpg", ["-quality", "80", "JPEG:"]),
    ("progressive.jpg", ["-interlace", "JPEG", "-quality", "60", "JPEG:"]),
    ("grey.jpg", ["-colorspace", "Gray", "JPEG:"]),
    ("rgb24.bmp", ["-type", "TrueColor", "BMP3:"]),
    ("rgba32.bmp", ["-alpha", "set", "BMP:"]),
    ("palette8.bmp", ["-colors", "16", "-type", "Palette", "BMP3:"]),
    ("rgb16.bmp", ["-define", "bmp:subtype=RGB565", "BMP:"]),
    ("rgb24.tga", ["-type", "TrueColor", "-compress", "None", "TGA:"]),
    ("rgba32_rle.tga", ["-alpha", "set", "-compress", "RLE", "TGA:"]),
    ("grey.tga", ["-colorspace", "Gray", "-type", "Grayscale", "TGA:"]),
    ("palette.tga", ["-colors", "16", "-type", "Palette", "TGA:"]),
]


def make_picture_seeds():
    source = os.path.join(CORPUS, "dds", "ref_crane_wheel.png")
    folder = os.path.join(HERE, "picture_seeds")
    os.makedirs(folder, exist_ok=True)
    for name, options in PICTURES:
        *flags, kind = options
        subprocess.run(["convert", source, "-resize", "13x11!", *flags,
                        kind + os.path.join(folder, name)], check=True)
    tiger = os.path.join(CORPUS, "dds", "tiger.bmp")
    subprocess.run(["convert", tiger, "-resize", "24x24!", "-type", "TrueColor",
                    "BMP3:" + os.path.join(folder, "tiger_small.bmp")], check=True)


if __name__ == "__main__":
    make_xfile_seeds()
    make_dds_seeds()
    make_picture_seeds()
