#!/usr/bin/env python3
"""Draws the program's two icons, quorvex.ico (normal) and quorvex_alert.ico (alert), and
the same images as PNG files for the Linux tray and the desktop's icon theme
(quorvex-32.png, quorvex-16.png, quorvex_alert-32.png, quorvex_alert-16.png).

Each icon holds a 32x32 and a 16x16 image in 16 colours (4 bits a pixel, the standard
VGA palette). The 32x32 images carry white "QV" on a band that is black in the normal
icon and green in the alert icon; the 16x16 images of both are white "Q" on green, so in
the tray the two look alike. ImageMagick renders the lettering; this script writes the
.ico itself because ImageMagick stores small palette images with transparency as 32-bit.

Run it from anywhere: python3 resources/draw_icons.py
"""
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 colours of the standard VGA palette, in their usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREEN = "#000000", "#008000"


def render(size, band, lettering, band_top, band_bottom, pointsize):
    """Returns size*size RGBA pixels, top row first: the band with the lettering, the rest clear."""
    command = [
        "convert", "-size", f"{size}x{size}", "xc:none",
        "-fill", band, "-draw", f"rectangle 0,{band_top} {size - 1},{band_bottom}",
        "+antialias", "-fill", "white", "-font", "DejaVu-Sans-Bold", "-pointsize", str(pointsize),
        "-gravity", "center", "-annotate", "+0+0", lettering,
        "-depth", "8", "rgba:-",
    ]
    raw = subprocess.run(command, check=True, capture_output=True).stdout
    if len(raw) != size * size * 4:
        raise SystemExit(f"convert gave {len(raw)} bytes for a {size}x{size} image")
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE[i], rgb)))


def row_bytes(bits_per_pixel, width):
    """Bytes of one bitmap row: rows are padded to 32 bits."""
    return (bits_per_pixel * width + 31) // 32 * 4


def icon_image(size, pixels):
    """The DIB of one icon image: header, palette, 4-bit colour rows, 1-bit mask rows."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour, mask = b"", b""
    for y in reversed(range(size)):  # a DIB stores the bottom row first
        row = pixels[y * size:(y + 1) * size]
        opaque = [p[3] >= 128 for p in row]
        indices = [nearest(p[:3]) if o else 0 for p, o in zip(row, opaque)]
        packed = bytes((indices[x] << 4) | indices[x + 1] for x in range(0, size, 2))
        colour += packed.ljust(row_bytes(4, size), b"\0")
        bits = 0
        for x, o in enumerate(opaque):
            if not o:
                bits |= 1 << (size - 1 - x)  # a set mask bit lets the background through
        mask += bits.to_bytes(size // 8, "big").ljust(row_bytes(1, size), b"\0")
    return header + palette + colour + mask


def write_icon(path, images):
    """images: (size, pixels) pairs, written in the given order."""
    blobs = [icon_image(size, pixels) for size, pixels in images]
    directory = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for (size, _), blob in zip(images, blobs):
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as out:
        out.write(directory + b"".join(blobs))


def write_png(path, size, pixels):
    """The image in the icon's 16 colours, so both renderings look the same."""
    raw = b"".join(bytes(PALETTE[nearest(p[:3])]) + b"\xff" if p[3] >= 128 else b"\0\0\0\0" for p in pixels)
    # No time stamps: the same drawing gives the same bytes.
    command = ["convert", "-size", f"{size}x{size}", "-depth", "8", "rgba:-",
               "-define", "png:exclude-chunks=date,time", "-strip", path]
    subprocess.run(command, check=True, input=raw)


def main():
    small = render(16, GREEN, "Q", 1, 14, 11)
    for name, band in (("quorvex", BLACK), ("quorvex_alert", GREEN)):
        large = render(32, band, "QV", 6, 25, 15)
        write_icon(os.path.join(HERE, name + ".ico"), [(32, large), (16, small)])
        write_png(os.path.join(HERE, name + "-32.png"), 32, large)
        write_png(os.path.join(HERE, name + "-16.png"), 16, small)
        print("wrote", name + ".ico", "and its PNG files")


if __name__ == "__main__":
    main()
