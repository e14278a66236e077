#!/usr/bin/env python3
"""Draw the installer artwork: res/logo.bmp (header picture) and
res/QuorletSetup.ico (application icon).

Everything is drawn from geometry in this file with the standard library
only, so the binaries can be rebuilt on any machine with Python 3 and the
output is byte-for-byte the same on every run (no randomness, no clocks,
no external fonts).

Run from anywhere:  python3 scripts/make-artwork.py
"""

import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")

# ---------------------------------------------------------------- colours --

WHITE = (255, 255, 255)
# Emblem gradient runs from deep blue (top left) to teal (bottom right).
BLUE = (16, 54, 138)
TEAL = (0, 150, 150)
# Wordmark: a near-black navy reads best on the white header panel.
NAVY = (20, 36, 72)
# Sub-title: a darker teal than the emblem end so small text keeps contrast.
SUBTEAL = (0, 118, 130)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(p, q, t) for p, q in zip(c1, c2))


def emblem_colour(t):
    t = min(max(t, 0.0), 1.0)
    return mix(BLUE, TEAL, t)


# -------------------------------------------------------------- geometry --

def in_rrect(x, y, x0, y0, x1, y1, radii):
    """Rounded rectangle; radii = (top-left, top-right, bottom-right,
    bottom-left) so letters can round only some corners."""
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    tl, tr, br, bl = (max(r, 0.0) for r in radii)
    if x < x0 + tl and y < y0 + tl:
        return (x - x0 - tl) ** 2 + (y - y0 - tl) ** 2 <= tl * tl
    if x > x1 - tr and y < y0 + tr:
        return (x - x1 + tr) ** 2 + (y - y0 - tr) ** 2 <= tr * tr
    if x > x1 - br and y > y1 - br:
        return (x - x1 + br) ** 2 + (y - y1 + br) ** 2 <= br * br
    if x < x0 + bl and y > y1 - bl:
        return (x - x0 - bl) ** 2 + (y - y1 + bl) ** 2 <= bl * bl
    return True


def in_rect(x, y, x0, y0, x1, y1):
    return x0 <= x <= x1 and y0 <= y <= y1


def in_convex(x, y, pts):
    """Convex polygon test: the point must be on the same side of every edge."""
    sign = 0
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        c = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
        if c != 0:
            s = 1 if c > 0 else -1
            if sign == 0:
                sign = s
            elif s != sign:
                return False
    return True


def seg_dist2(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    ex, ey = ax + t * dx - x, ay + t * dy - y
    return ex * ex + ey * ey


# ---------------------------------------------------------------- emblem --
# The emblem is a stylised "Q": a thick ring broken at the lower right where
# a round-capped tail passes through it.  A thin cut separates the tail from
# the ring so the shape still reads as a Q when it is only 16 pixels wide.
# Coordinates are in units of the emblem box (0..1, y downwards).

RING_C = (0.46, 0.46)
RING_RO = 0.43
RING_RI = 0.255
TAIL_A = (0.60, 0.60)
TAIL_B = (0.855, 0.855)
TAIL_R = 0.088


def emblem_inside(u, v, gap):
    tail = seg_dist2(u, v, *TAIL_A, *TAIL_B)
    if tail <= TAIL_R * TAIL_R:
        return True
    d2 = (u - RING_C[0]) ** 2 + (v - RING_C[1]) ** 2
    if not (RING_RI * RING_RI <= d2 <= RING_RO * RING_RO):
        return False
    # Cut the ring around the tail; the cut only matters outside the hole.
    return tail > (TAIL_R + gap) ** 2


def render_emblem(size, ss):
    """Return size*size pixels as (alpha, (r, g, b)), the colour being the
    average of the covered supersamples so edges keep the gradient hue."""
    # At tiny sizes a fractional cut turns to mush; keep it about 1 pixel.
    gap = max(0.045, 1.0 / size)
    out = []
    n = ss * ss
    for py in range(size):
        for px in range(size):
            hits = 0
            acc = [0.0, 0.0, 0.0]
            for sy in range(ss):
                v = (py + (sy + 0.5) / ss) / size
                for sx in range(ss):
                    u = (px + (sx + 0.5) / ss) / size
                    if emblem_inside(u, v, gap):
                        hits += 1
                        c = emblem_colour((u + v - 0.15) / 1.6)
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
            if hits:
                out.append((hits / n, tuple(a / hits for a in acc)))
            else:
                out.append((0.0, (0.0, 0.0, 0.0)))
    return out


# ------------------------------------------------------------------ font --
# A small geometric capitals font: straight stems and bars sit on whole
# pixels (crisp), only the rounded corners and diagonals are anti-aliased.
# Each glyph is a predicate inside(x, y) in its own box (0..W, 0..H).

WIDTHS = {  # advance box width as a fraction of the cap height
    "O": 0.80, "Q": 0.80, "U": 0.72, "R": 0.72, "L": 0.58,
    "E": 0.62, "T": 0.68, "S": 0.70, "P": 0.70,
}


def make_glyph(ch, W, H, T):
    R = 0.46 * W           # outer corner radius of the round letters
    ri = R - T             # inner radius follows so the stroke stays even

    def stem(x, y):
        return in_rect(x, y, 0, 0, T, H)

    def bowl(x, y, hb):
        rb = min(R, hb / 2.0)
        return (in_rrect(x, y, 0, 0, W, hb, (0, rb, rb, 0)) and
                not in_rrect(x, y, T, T, W - T, hb - T,
                             (0, rb - T, rb - T, 0)))

    def ring(x, y):
        return (in_rrect(x, y, 0, 0, W, H, (R,) * 4) and
                not in_rrect(x, y, T, T, W - T, H - T, (ri,) * 4))

    if ch == "O":
        return ring

    if ch == "Q":
        # Same diagonal tail idea as the emblem, for a family resemblance.
        a = (W * 0.62, H * 0.66)
        b = (W - T * 0.05, H + T * 0.10)
        r = T * 0.5
        cut = (r + 1.0) ** 2

        def q(x, y):
            d = seg_dist2(x, y, *a, *b)
            if d <= r * r:
                return True
            return ring(x, y) and d > cut
        return q

    if ch == "U":
        return lambda x, y: (
            in_rrect(x, y, 0, 0, W, H, (0, 0, R, R)) and
            not in_rrect(x, y, T, -1, W - T, H - T, (0, 0, ri, ri)))

    if ch == "L":
        return lambda x, y: stem(x, y) or in_rect(x, y, 0, H - T, W, H)

    if ch == "E":
        ym = round((H - T) / 2.0)
        return lambda x, y: (stem(x, y) or in_rect(x, y, 0, 0, W, T) or
                             in_rect(x, y, 0, ym, round(W * 0.86), ym + T) or
                             in_rect(x, y, 0, H - T, W, H))

    if ch == "T":
        sx = round((W - T) / 2.0)
        return lambda x, y: (in_rect(x, y, 0, 0, W, T) or
                             in_rect(x, y, sx, 0, sx + T, H))

    if ch == "P":
        hb = round(H * 0.60)
        return lambda x, y: stem(x, y) or bowl(x, y, hb)

    if ch == "R":
        hb = round(H * 0.58)
        lw = T * 1.3
        xt = W * 0.36
        leg = [(xt, hb - T), (xt + lw, hb - T), (W, H), (W - lw, H)]
        return lambda x, y: (stem(x, y) or bowl(x, y, hb) or
                             (y >= hb - T and in_convex(x, y, leg)))

    if ch == "S":
        # Two stacked rings sharing the middle bar; the upper one loses its
        # lower right quarter and the lower one its upper left, leaving short
        # vertical spurs as terminals.
        ym1 = round((H - T) / 2.0)
        ym2 = ym1 + T
        ru = min(R, ym2 / 2.0)
        rl = min(R, (H - ym1) / 2.0)
        spur = round(H * 0.30)

        def s(x, y):
            if (x <= W / 2.0 or y <= spur) and \
                    in_rrect(x, y, 0, 0, W, ym2, (ru,) * 4) and \
                    not in_rrect(x, y, T, T, W - T, ym1, (ru - T,) * 4):
                return True
            if (x >= W / 2.0 or y >= H - spur) and \
                    in_rrect(x, y, 0, ym1, W, H, (rl,) * 4) and \
                    not in_rrect(x, y, T, ym2, W - T, H - T, (rl - T,) * 4):
                return True
            return False
        return s

    raise ValueError("no glyph for %r" % ch)


def layout(text, H, T, tracking):
    """Place glyphs on whole pixels; returns [(x, W, predicate)], width."""
    x = 0
    out = []
    for i, ch in enumerate(text):
        W = round(WIDTHS[ch] * H)
        out.append((x, W, make_glyph(ch, W, H, T)))
        x += W + (tracking if i + 1 < len(text) else 0)
    return out, x


# ---------------------------------------------------------------- canvas --

class Canvas:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [[tuple(float(c) for c in bg) for _ in range(w)]
                   for _ in range(h)]

    def blend(self, x, y, colour, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        old = self.px[y][x]
        self.px[y][x] = tuple(lerp(o, c, a) for o, c in zip(old, colour))

    def fill_shape(self, inside, ox, oy, bw, bh, colour, ss, pad=3):
        """Supersample a predicate whose box sits at whole pixel (ox, oy)."""
        n = ss * ss
        for py in range(oy - pad, oy + bh + pad):
            for px in range(ox - pad, ox + bw + pad):
                hits = 0
                for sy in range(ss):
                    y = py - oy + (sy + 0.5) / ss
                    for sx in range(ss):
                        if inside(px - ox + (sx + 0.5) / ss, y):
                            hits += 1
                self.blend(px, py, colour, hits / n)


# ------------------------------------------------------------ quantising --

def build_palette():
    """White, then ramps: every colour we draw at full strength and at a
    set of coverages over white, so anti-aliased edges find a close match."""
    pal = [WHITE]
    for i in range(64):                       # emblem interior gradient
        pal.append(emblem_colour(i / 63.0))
    for g in range(8):                        # emblem edges
        base = emblem_colour(g / 7.0)
        for k in range(1, 15):
            pal.append(mix(WHITE, base, k / 15.0))
    for colour in (NAVY, SUBTEAL):            # text and its edges
        for k in range(1, 17):
            pal.append(mix(WHITE, colour, k / 16.0))
    pal = [tuple(int(round(c)) for c in p) for p in pal]
    seen, uniq = set(), []
    for p in pal:
        if p not in seen:
            seen.add(p)
            uniq.append(p)
    assert len(uniq) <= 256
    return uniq


def quantise(canvas, pal):
    cache = {}
    rows = []
    for row in canvas.px:
        out = []
        for c in row:
            key = tuple(int(round(v)) for v in c)
            idx = cache.get(key)
            if idx is None:
                best, idx = None, 0
                for i, p in enumerate(pal):
                    # Green weighs most for the eye; ties keep the lower index.
                    d = (2 * (p[0] - key[0]) ** 2 + 4 * (p[1] - key[1]) ** 2 +
                         3 * (p[2] - key[2]) ** 2)
                    if best is None or d < best:
                        best, idx = d, i
                cache[key] = idx
            out.append(idx)
        rows.append(out)
    return rows


# ---------------------------------------------------------------- writers --

def bmp8(rows, pal):
    h, w = len(rows), len(rows[0])
    stride = (w + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):                # BMP stores bottom row first
        pixels += bytes(row) + b"\0" * (stride - w)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels),
                       2835, 2835, len(pal), len(pal))
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + palette + bytes(pixels)


def ico_image(size, ss):
    """One 32-bit icon image: BGRA colour rows plus the 1-bit AND mask that
    older Windows versions use where alpha is not understood."""
    px = render_emblem(size, ss)
    xor = bytearray()
    mask = bytearray()
    mstride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        bits = bytearray(mstride)
        for x in range(size):
            a, c = px[y * size + x]
            alpha = int(round(a * 255))
            if alpha == 0:
                xor += b"\0\0\0\0"            # transparent: black, masked out
                bits[x >> 3] |= 0x80 >> (x & 7)
            else:
                r, g, b = (int(round(v)) for v in c)
                xor += struct.pack("<BBBB", b, g, r, alpha)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(sizes):
    images = [ico_image(s, 8) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32,
                           len(img), offset)
        offset += len(img)
    return out + b"".join(images)


# ------------------------------------------------------------------ logo --

def make_logo():
    W, H = 232, 78
    cv = Canvas(W, H, WHITE)

    # Emblem at the left, vertically centred on the ring rather than the box
    # so the tail hangs a little lower, as a Q's tail should.
    esize, ex, ey = 66, 5, 5
    for i, (a, c) in enumerate(render_emblem(esize, 8)):
        cv.blend(ex + i % esize, ey + i // esize, c, a)

    # Wordmark: the largest cap height that fits the space right of the
    # emblem, stroke about a fifth of the height for a bold face.
    left, right = 78, W - 6
    cap = 34
    while True:
        stroke = round(cap * 0.21)
        track = round(cap * 0.15)
        glyphs, width = layout("QUORLET", cap, stroke, track)
        if width <= right - left:
            break
        cap -= 1
    sub_cap, sub_stroke = 10, 2
    sub_track = 6
    sub, sub_w = layout("SETUP", sub_cap, sub_stroke, sub_track)
    gap = 9
    top = (H - (cap + gap + sub_cap)) // 2
    for x, gw, pred in glyphs:
        cv.fill_shape(pred, left + x, top, gw, cap, NAVY, 8)
    sy = top + cap + gap
    for x, gw, pred in sub:
        cv.fill_shape(pred, left + x, sy, gw, sub_cap, SUBTEAL, 8)
    # A light rule runs from the sub-title to the end of the wordmark, tying
    # the two lines into one block.
    rule_y = sy + sub_cap // 2 - 1
    for x in range(left + sub_w + 7, left + width):
        for y in (rule_y, rule_y + 1):
            cv.blend(x, y, SUBTEAL, 0.45)

    pal = build_palette()
    return bmp8(quantise(cv, pal), pal)


def main():
    os.makedirs(RES, exist_ok=True)
    with open(os.path.join(RES, "logo.bmp"), "wb") as f:
        f.write(make_logo())
    with open(os.path.join(RES, "QuorletSetup.ico"), "wb") as f:
        f.write(ico([16, 32, 48]))


if __name__ == "__main__":
    main()
