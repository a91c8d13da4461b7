#!/usr/bin/env python3
"""Draws the score window's tree images and button glyphs as XPM files.

Run it from this folder after changing a drawing; the XPM files are committed and
compiled into the library, so the build does not need Python.
"""

PALETTE = {
    ".": "None",
    "k": "#202020",  # outline
    "w": "#FFFFFF",
    "g": "#808080",
    "l": "#C0C0C0",
    "r": "#D02020",
    "R": "#FF6060",
    "y": "#F0C800",
    "b": "#2050C0",
    "B": "#70A0F0",
    "G": "#209030",
    "L": "#70D070",
    "o": "#E07010",
    "O": "#FFB060",
    "s": "#FFF4A0",  # selection halo
}


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [["."] * width for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill, edge=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                self.set(x, y, edge if edge and border else fill)

    def disc(self, cx, cy, r, fill, edge=None):
        for y in range(self.h):
            for x in range(self.w):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if d <= r * r:
                    self.set(x, y, fill)
                    if edge and d > (r - 1) ** 2:
                        self.set(x, y, edge)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def halo(self):
        """Marks a selected node: a pale frame around the picture's transparent edge."""
        for y in (0, self.h - 1):
            for x in range(self.w):
                if self.px[y][x] == ".":
                    self.px[y][x] = "s"
        for x in (0, self.w - 1):
            for y in range(self.h):
                if self.px[y][x] == ".":
                    self.px[y][x] = "s"

    def paste(self, other, dx):
        for y in range(other.h):
            for x in range(other.w):
                self.set(x + dx, y, other.px[y][x])

    def greyed(self):
        grey = Canvas(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                c = self.px[y][x]
                grey.px[y][x] = "." if c == "." else ("g" if c in "kbrGo" else "l")
        return grey

    def xpm(self, name):
        used = sorted({c for row in self.px for c in row})
        lines = ["/* XPM */", f"static const char* {name}[] = {{",
                 f'"{self.w} {self.h} {len(used)} 1",']
        lines += [f'"{c} c {PALETTE[c]}",' for c in used]
        lines += [f'"{"".join(row)}",' for row in self.px]
        lines[-1] = lines[-1].rstrip(",")
        lines.append("};")
        return "\n".join(lines) + "\n"


def root():  # the nation: a globe with a meridian and the equator
    c = Canvas(16, 16)
    c.disc(7.5, 7.5, 6.5, "B", "b")
    c.line(2, 7, 13, 7, "b")
    c.line(7, 2, 7, 13, "b")
    c.rect(4, 4, 5, 5, "L")
    c.rect(9, 9, 11, 10, "L")
    return c


def province():  # a province: a flag on a pole
    c = Canvas(16, 16)
    c.line(3, 1, 3, 14, "k")
    c.rect(3, 2, 13, 8, "r", "k")
    c.set(6, 4, "y")
    c.rect(2, 14, 5, 14, "g")
    return c


def city():  # a city: two tall buildings with windows
    c = Canvas(16, 16)
    c.rect(2, 4, 7, 14, "l", "k")
    c.rect(8, 1, 13, 14, "B", "k")
    for y in (6, 9, 12):
        c.set(4, y, "y")
        c.set(5, y, "y")
    for y in (3, 6, 9, 12):
        c.set(10, y, "w")
        c.set(11, y, "w")
    return c


def site():  # an exam site: a school house with a door
    c = Canvas(16, 16)
    for i in range(7):
        c.line(7 - i, 1 + i, 8 + i, 1 + i, "o")
    c.line(1, 7, 7, 1, "k")
    c.line(8, 1, 14, 7, "k")
    c.rect(2, 8, 13, 14, "O", "k")
    c.rect(7, 10, 8, 14, "G")
    c.set(4, 10, "w")
    c.set(11, 10, "w")
    return c


def candidate():  # spare: a person
    c = Canvas(16, 16)
    c.disc(7.5, 4, 3, "O", "k")
    c.rect(3, 9, 12, 14, "G", "k")
    return c


def check():  # 确定
    c = Canvas(16, 15)
    for x0, y0, x1, y1 in ((2, 7, 6, 11), (6, 11, 13, 3)):
        c.line(x0, y0, x1, y1, "G")
        c.line(x0, y0 + 1, x1, y1 + 1, "G")
        c.line(x0, y0 + 2, x1, y1 + 2, "L")
    return c


def printer():  # 打印
    c = Canvas(16, 15)
    c.rect(4, 1, 11, 5, "w", "k")
    c.rect(1, 5, 14, 10, "l", "k")
    c.set(12, 7, "G")
    c.rect(4, 9, 11, 13, "w", "k")
    c.line(5, 11, 10, 11, "g")
    return c


def maximum():  # 题目满分值: a sheet with a red mark and a star for the full mark
    c = Canvas(16, 15)
    c.rect(1, 1, 10, 13, "w", "k")
    for y in (4, 6, 8):
        c.line(3, y, 8, y, "g")
    c.line(3, 10, 5, 12, "r")
    c.line(5, 12, 8, 9, "r")
    c.disc(12, 5, 3, "y", "o")
    return c


def export():  # 导出: a sheet with an arrow leaving it
    c = Canvas(16, 15)
    c.rect(1, 1, 9, 13, "w", "k")
    for y in (4, 6, 8, 10):
        c.line(3, y, 7, y, "g")
    c.line(6, 7, 14, 7, "b")
    c.line(6, 8, 14, 8, "b")
    c.line(11, 4, 14, 7, "b")
    c.line(11, 11, 14, 8, "b")
    return c


def exit_door():  # 退出: an open door and an arrow out
    c = Canvas(16, 15)
    c.rect(1, 1, 8, 13, "O", "k")
    c.rect(3, 2, 7, 13, "o")
    c.set(6, 8, "y")
    c.line(9, 7, 14, 7, "r")
    c.line(12, 5, 14, 7, "r")
    c.line(12, 9, 14, 7, "r")
    return c


def two_state(picture):
    """A glyph strip: the normal picture and its greyed copy for the disabled button."""
    strip = Canvas(picture.w * 2, picture.h)
    strip.paste(picture, 0)
    strip.paste(picture.greyed(), picture.w)
    return strip


def selected(picture):
    picture.halo()
    return picture


def main():
    tree = [selected(root()), root(), selected(province()), province(),
            selected(city()), city(), selected(site()), site(), candidate()]
    images = {f"tree{i}": img for i, img in enumerate(tree)}
    images.update({
        "glyph_save": check(),
        "glyph_print": printer(),
        "glyph_set": maximum(),
        "glyph_export": two_state(export()),
        "glyph_exit": exit_door(),
    })
    for name, img in images.items():
        with open(f"{name}.xpm", "w", encoding="ascii") as f:
            f.write(img.xpm(name))


if __name__ == "__main__":
    main()
