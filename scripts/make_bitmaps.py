#!/usr/bin/env python3
"""Draws the launcher's pictures with ImageMagick's convert.

    python3 scripts/make_bitmaps.py

writes src/resources/menu.bmp (bitmap 123, 367 x 256), credits.bmp (bitmap
117, 575 x 52) and launcher.ico (16, 32 and 48 pixels). The outputs are
committed, so building the launcher needs no image tools; run this only to
change the pictures. The committed files were made with ImageMagick 6.9.11;
another version may dither a few pixels differently.

Everything is drawn from primitives at SS times the final size and scaled
down, which gives smooth edges, then reduced to a 256-colour palette and
written as an uncompressed 8-bit BMP, the format the dialogs' picture controls
show on every Windows version.
"""

import os
import pathlib
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "src" / "resources"
SS = 4  # supersampling factor

# Palette of the pictures.
EMBER = "#ff7a1c"
GOLD_LIGHT = "#fff1b8"
GOLD = "#e7a93a"
GOLD_DARK = "#7a3f0c"
HIDE_LIGHT = "#5b3326"
HIDE_DARK = "#120806"
EYE = "#ffe45c"


# ImageMagick's own program: some machines put a different "convert" earlier
# in PATH.
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"


def convert(*args):
    # One thread: with several, the reduction to 256 colours may pick a
    # slightly different palette from run to run.
    env = dict(os.environ, MAGICK_THREAD_LIMIT="1")
    subprocess.run([CONVERT, *[str(a) for a in args]], check=True, env=env)


def fmt(x, y):
    return f"{x:.2f},{y:.2f}"


class Shape:
    """A closed outline of lines and cubic curves, drawn in picture pixels."""

    def __init__(self, start):
        self.start = start
        self.segments = []  # ("L", p) or ("C", c1, c2, p)

    def line(self, p):
        self.segments.append(("L", p))
        return self

    def curve(self, c1, c2, p):
        self.segments.append(("C", c1, c2, p))
        return self

    def mirrored_closed(self):
        """The outline followed by its mirror image in x = 0, walked back to
        the start: a right half becomes the whole symmetrical shape."""
        points = [self.start] + [s[-1] for s in self.segments]
        whole = Shape(self.start)
        whole.segments = list(self.segments)
        for i in range(len(self.segments) - 1, -1, -1):
            seg = self.segments[i]
            target = points[i]
            if seg[0] == "L":
                whole.segments.append(("L", (-target[0], target[1])))
            else:
                c1, c2 = seg[1], seg[2]
                whole.segments.append(
                    ("C", (-c2[0], c2[1]), (-c1[0], c1[1]), (-target[0], target[1])))
        return whole

    def svg(self, ox, oy, scale):
        def p(pt):
            return fmt((ox + pt[0] * scale) * SS, (oy + pt[1] * scale) * SS)

        parts = [f"M {p(self.start)}"]
        for seg in self.segments:
            if seg[0] == "L":
                parts.append(f"L {p(seg[1])}")
            else:
                parts.append(f"C {p(seg[1])} {p(seg[2])} {p(seg[3])}")
        parts.append("Z")
        return " ".join(parts)


def polygon_svg(points, ox, oy, scale):
    pts = " L ".join(fmt((ox + x * scale) * SS, (oy + y * scale) * SS) for x, y in points)
    return f"M {pts} Z"


def mirror(points):
    return [(-x, y) for x, y in points]


# The beast's head, designed about 190 units wide around x = 0, horn tips at
# y = -36, chin at y = 144.
HEAD_TOP, HEAD_BOTTOM = -36, 144


def head_outline():
    half = Shape((0, 14))
    half.curve((16, 14), (30, 20), (38, 34))        # skull
    half.line((60, 44))                             # ear spike
    half.line((46, 56))
    half.curve((56, 74), (54, 96), (48, 112))       # cheek
    half.curve((44, 128), (30, 140), (0, 144))      # heavy jaw
    return half.mirrored_closed()


def horns():
    right = Shape((22, 36))
    right.curve((40, 10), (62, -6), (72, -36))      # inner edge up to the tip
    right.curve((98, -4), (90, 36), (48, 54))       # outer edge back to the root
    left = Shape((-22, 36))
    left.curve((-40, 10), (-62, -6), (-72, -36))
    left.curve((-98, -4), (-90, 36), (-48, 54))
    return [right, left]


def horn_rings():
    """Thin dark bands across each horn, following its curve."""
    right = [[(36, 22), (54, 30), (54, 34), (34, 26)],
             [(48, 4), (70, 8), (69, 12), (46, 8)],
             [(58, -14), (78, -14), (76, -10), (56, -10)]]
    return right + [mirror(r) for r in right]


def head_eyes():
    right = [(8, 66), (32, 56), (28, 70), (12, 74)]
    return [right, mirror(right)]


def head_details(small=False):
    """Dark carved shapes inside the head: brow ridges, nostrils, the mouth.
    A small head leaves the nostrils out: at icon size they read as a snout."""
    brow = [(4, 58), (36, 46), (38, 52), (8, 64)]
    nostril = [(5, 96), (12, 91), (11, 100)]
    mouth = [(0, 112), (20, 108), (34, 104), (28, 118), (14, 128), (0, 130)]
    shapes = []
    for pts in (brow, mouth) if small else (brow, nostril, mouth):
        shapes += [pts, mirror(pts)]
    return shapes


def head_tusks():
    right = [(16, 130), (25, 127), (30, 96)]
    return [right, mirror(right)]


HEAD_STYLES = {
    # The menu's emblem: dark hide lit from the front, bone horns, burning eyes.
    "dark": dict(hide=("#6a3b28", HIDE_DARK), horn=("#f6e7c4", "#8a6236"), rim=EMBER,
                 eye=EYE, carve="#000000"),
    # The icon's: the head cast in gold, so it reads at 16 pixels.
    "gold": dict(hide=("#ffd77a", "#9a4e10"), horn=("#fff6dc", "#a07a3a"), rim="#2a0802",
                 eye="#ff2a00", carve="#2a0802"),
}


def head_layer(tmp, name, size, ox, oy, scale, glow=True, style="dark", small=False):
    """Draws the head into a transparent layer of `size` picture pixels and
    returns its file."""
    look = HEAD_STYLES[style]
    w, h = size[0] * SS, size[1] * SS
    top = (oy + HEAD_TOP * scale) * SS
    bottom = (oy + HEAD_BOTTOM * scale) * SS

    def filled(shapes, colours, center, radii, file):
        mask = tmp / f"{file}-mask.png"
        draw = ["-fill", "white"]
        for shape in shapes:
            draw += ["-draw", f"path '{shape}'"]
        convert("-size", f"{w}x{h}", "xc:black", *draw, mask)
        out = tmp / f"{file}.png"
        convert("-size", f"{w}x{h}",
                "-define", f"gradient:center={center[0]},{center[1]}",
                "-define", f"gradient:radii={radii[0]},{radii[1]}",
                f"radial-gradient:{colours[0]}-{colours[1]}",
                mask, "-alpha", "off", "-compose", "copyopacity", "-composite", out)
        return mask, out

    cx = ox * SS
    head_svg = head_outline().svg(ox, oy, scale)
    horn_svgs = [hn.svg(ox, oy, scale) for hn in horns()]
    head_mask, head = filled([head_svg], look["hide"], (cx, (oy + 50 * scale) * SS),
                             (70 * scale * SS, 110 * scale * SS), f"{name}-hide")
    horn_mask, horn = filled(horn_svgs, look["horn"], (cx, top),
                             (100 * scale * SS, (bottom - top) * 0.45), f"{name}-horn")
    edge = max(0.8, 1.5 * scale) * SS
    rings = ["-fill", "#00000060", "-stroke", "none"]
    for ring in horn_rings():
        rings += ["-draw", f"path '{polygon_svg(ring, ox, oy, scale)}'"]
    carve = ["-fill", look["carve"], "-stroke", "none"]
    for detail in head_details(small):
        carve += ["-draw", f"path '{polygon_svg(detail, ox, oy, scale)}'"]
    tusks = ["-fill", look["horn"][0], "-stroke", look["carve"], "-strokewidth", edge / 2]
    for tusk in head_tusks():
        tusks += ["-draw", f"path '{polygon_svg(tusk, ox, oy, scale)}'"]
    eyes = [polygon_svg(e, ox, oy, scale) for e in head_eyes()]
    eye_draw = []
    for e in eyes:
        eye_draw += ["-draw", f"path '{e}'"]
    layer = tmp / f"{name}-head.png"
    args = [
        # horns, their rings clipped to the horn, and a dark edge
        horn, "(", "+clone", "-alpha", "transparent", *rings, ")",
        "-compose", "atop", "-composite",
        "(", horn_mask, "-morphology", "edgein", f"disk:{edge}", "-background", look["rim"],
        "-alpha", "shape", ")", "-compose", "atop", "-composite",
        # the head over the horns' roots, carved, with a rim of light
        head, "-compose", "over", "-composite",
        "-compose", "over", *carve, *tusks, "-stroke", "none",
        "(", head_mask, "-morphology", "edgein", f"disk:{edge}", "-background", look["rim"],
        "-alpha", "shape", ")", "-compose", "over", "-composite",
    ]
    if glow:
        args += ["(", head_mask, horn_mask, "-compose", "lighten", "-composite",
                 "-blur", f"0x{9 * scale * SS}", "-background", EMBER, "-alpha", "shape", ")",
                 "-compose", "dstover", "-composite",
                 "(", "-size", f"{w}x{h}", "xc:none", "-fill", look["eye"], *eye_draw,
                 "-blur", f"0x{5 * scale * SS}", ")", "-compose", "screen", "-composite"]
    args += ["-compose", "over", "-fill", look["eye"], "-stroke", "none", *eye_draw, layer]
    convert(*args)
    return layer


# Angular title letters, 100 units high; each returns polygons, x from 0.
def letters_vok():
    v = [(0, 0), (30, 0), (48, 66), (66, 0), (96, 0), (62, 100), (34, 100)]
    o_outer = [(124, 0), (176, 0), (196, 20), (196, 80), (176, 100), (124, 100), (104, 80),
               (104, 20)]
    o_inner = [(136, 26), (164, 26), (170, 32), (170, 68), (164, 74), (136, 74), (130, 68),
               (130, 32)]
    k = [(206, 0), (234, 0), (234, 38), (264, 0), (298, 0), (258, 48), (300, 100), (266, 100),
         (234, 58), (234, 100), (206, 100)]
    return [v, o_outer, k], [o_inner]


VOK_WIDTH = 300


def draw_title(ox, oy, scale, tmp, name, width, height):
    """Draws the gold title into its own layer file and returns its path: a
    gradient cut out by the letters, with a dark edge and an ember glow."""
    solids, holes = letters_vok()
    mask_draw = ["-fill", "white"]
    for s in solids:
        mask_draw += ["-draw", f"path '{polygon_svg(s, ox, oy, scale)}'"]
    mask_draw += ["-fill", "black"]
    for h in holes:
        mask_draw += ["-draw", f"path '{polygon_svg(h, ox, oy, scale)}'"]
    w, h = width * SS, height * SS
    mask = tmp / f"{name}-mask.png"
    convert("-size", f"{w}x{h}", "xc:black", *mask_draw, mask)
    top = oy * SS
    bottom = (oy + 100 * scale) * SS
    gradient = tmp / f"{name}-gradient.png"
    # Gold that is bright at the top, darkens to a band and brightens again:
    # the look of polished metal.
    convert("-size", f"{w}x{int(bottom - top)}", "gradient:" + GOLD_LIGHT + "-" + GOLD,
            "(", "-size", f"{w}x{int(bottom - top)}", "gradient:" + GOLD_DARK + "-" + GOLD, ")",
            "-append", "-resize", f"{w}x{int(bottom - top)}!",
            "-background", "none", "-gravity", "north", "-splice", f"0x{int(top)}",
            "-extent", f"{w}x{h}", gradient)
    layer = tmp / f"{name}-title.png"
    convert(gradient, mask, "-alpha", "off", "-compose", "copyopacity", "-composite",
            # dark edge
            "(", mask, "-morphology", "edgeout", f"disk:{1.5 * scale * SS}",
            "-background", "#1a0802", "-alpha", "shape", ")",
            "-compose", "dstover", "-composite",
            # ember glow
            "(", mask, "-blur", f"0x{6 * scale * SS}", "-background", EMBER, "-alpha", "shape",
            ")", "-compose", "dstover", "-composite", layer)
    return layer


def menu_picture(tmp):
    W, H = 367, 256
    w, h = W * SS, H * SS
    cx = W / 2
    floor_y = 218
    base = tmp / "menu.png"
    beams = [[(-22, 0), (22, 0), (96, 256), (-96, 256)],
             [(-150, 0), (-118, 0), (-16, 256), (-120, 256)],
             [(118, 0), (150, 0), (120, 256), (16, 256)]]
    # The crowd on the far side of the arena: a row of heads and shoulders,
    # spaced and sized by a fixed rule so every run draws the same crowd.
    crowd = ["-fill", "#0d0504", "-stroke", "none"]
    for i in range(40):
        x = i * 9.6 + (i * 37 % 7) - 3
        y = 168 - (i * 53 % 5) - 10 * (1 - ((x - cx) / cx) ** 2)
        r = 4.2 + (i * 29 % 3) * 0.5
        crowd += ["-draw", f"circle {x * SS},{y * SS} {(x + r) * SS},{y * SS}",
                  "-draw", f"ellipse {x * SS},{(y + 2.2 * r) * SS} {1.9 * r * SS},"
                           f"{1.4 * r * SS} 0,360"]
    beam_draw = []
    for beam in beams:
        beam_draw += ["-draw", f"path '{polygon_svg(beam, cx, 0, 1)}'"]
    convert(
        "-size", f"{w}x{h}",
        "-define", f"gradient:center={cx * SS},{140 * SS}",
        "-define", f"gradient:radii={250 * SS},{190 * SS}",
        "radial-gradient:#4e1c10-#050203",
        # light falling from the roof of the arena
        "(", "+clone", "-alpha", "transparent", "-fill", "#ffd9a030", *beam_draw,
        "-blur", f"0x{9 * SS}", ")", "-compose", "screen", "-composite", "-compose", "over",
        *crowd,
        # the arena floor: sand inside a wall of stone
        "(", "-size", f"{w}x{h}",
        "-define", f"gradient:center={cx * SS},{(floor_y - 6) * SS}",
        "-define", f"gradient:radii={170 * SS},{42 * SS}",
        "radial-gradient:#a46a38-#3a1d0c",
        "(", "-size", f"{w}x{h}", "xc:black", "-fill", "white",
        "-draw", f"ellipse {cx * SS},{floor_y * SS} {172 * SS},{44 * SS} 0,360", ")",
        "-alpha", "off", "-compose", "copyopacity", "-composite", ")",
        "-compose", "over", "-composite",
        "-fill", "none", "-stroke", "#1e0d05", "-strokewidth", 3 * SS,
        "-draw", f"ellipse {cx * SS},{floor_y * SS} {172 * SS},{44 * SS} 0,360",
        "-stroke", "#5a3216", "-strokewidth", 1 * SS,
        "-draw", f"ellipse {cx * SS},{floor_y * SS} {164 * SS},{39 * SS} 0,360",
        "-stroke", "none", "-fill", "#00000070",
        "-draw", f"ellipse {cx * SS},{(floor_y - 14) * SS} {62 * SS},{11 * SS} 0,360",
        base)
    head = head_layer(tmp, "menu", (W, H), cx, 42, 0.82)
    title = draw_title(cx - VOK_WIDTH * 0.42 / 2, 190, 0.42, tmp, "menu", W, H)
    return [base, head, "-compose", "over", "-composite",
            title, "-compose", "over", "-composite"], (W, H)


def credits_picture(tmp):
    W, H = 575, 52
    w, h = W * SS, H * SS
    base = tmp / "credits.png"
    claws = []
    for side in (-1, 1):
        for i in range(3):
            x0 = W / 2 + side * (140 + i * 13)
            pts = [(x0 - 9, 11), (x0 + 2, 26), (x0 + 9, 42), (x0 - 2, 27)]
            claws += ["-draw", f"path '{polygon_svg(pts, 0, 0, 1)}'"]
    convert(
        "-size", f"{w}x{h}",
        "-define", f"gradient:center={W / 2 * SS},{H / 2 * SS}",
        "-define", f"gradient:radii={330 * SS},{60 * SS}",
        "radial-gradient:#4e1c10-#050203",
        "(", "+clone", "-alpha", "transparent", "-fill", EMBER, *claws,
        "-blur", f"0x{3 * SS}", ")", "-compose", "screen", "-composite", "-compose", "over",
        "-fill", "#2a0a02", *claws,
        "-fill", GOLD, "-draw", f"rectangle 0,{2 * SS} {w},{3 * SS - 1}",
        "-draw", f"rectangle 0,{(H - 3) * SS} {w},{(H - 2) * SS - 1}",
        base)
    left = head_layer(tmp, "credits-left", (W, H), 44, 11.5, 0.17)
    right = head_layer(tmp, "credits-right", (W, H), W - 44, 11.5, 0.17)
    title = draw_title(W / 2 - VOK_WIDTH * 0.3 / 2, 11, 0.3, tmp, "credits", W, H)
    return [base, left, "-compose", "over", "-composite", right, "-compose", "over",
            "-composite", title, "-compose", "over", "-composite"], (W, H)


def write_bmp(layers, size, path):
    W, H = size
    convert(*layers, "-filter", "Lanczos", "-resize", f"{W}x{H}!",
            "-alpha", "off", "-dither", "FloydSteinberg", "-colors", "256",
            "-type", "Palette", "-compress", "None", f"BMP3:{path}")


def icon(tmp):
    images = []
    for px in (48, 32, 16):
        w = px * SS
        ring = max(1.0, px / 20) * SS
        # The head fills most of the badge; at 16 pixels it fills it whole.
        scale = px * (0.78 if px > 16 else 0.92) / (HEAD_BOTTOM - HEAD_TOP)
        top = px / 2 - (HEAD_TOP + HEAD_BOTTOM) / 2 * scale
        head = head_layer(tmp, f"icon{px}", (px, px), px / 2, top, scale, glow=False,
                          style="gold", small=True)
        png = tmp / f"icon{px}.png"
        convert("-size", f"{w}x{w}", "xc:none",
                "-fill", "#4a140a", "-stroke", "#1a0602", "-strokewidth", ring,
                "-draw", f"circle {w / 2},{w / 2} {w / 2},{ring / 2}",
                head, "-compose", "over", "-composite",
                "-filter", "Lanczos", "-resize", f"{px}x{px}", png)
        images.append(png)
    convert(*images, OUT / "launcher.ico")


def main():
    with tempfile.TemporaryDirectory() as name:
        tmp = pathlib.Path(name)
        layers, size = menu_picture(tmp)
        write_bmp(layers, size, OUT / "menu.bmp")
        layers, size = credits_picture(tmp)
        write_bmp(layers, size, OUT / "credits.bmp")
        icon(tmp)
    return 0


if __name__ == "__main__":
    sys.exit(main())
