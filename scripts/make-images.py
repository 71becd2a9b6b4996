#!/usr/bin/env python3
"""Draws the program's pictures into resources/images/.

Every picture is drawn four times larger than it is shown and scaled down,
which gives smooth edges. The sizes are the display sizes of the kinds the
pictures are used for (ImageItem::displaySize); Qt scales a picture of
another size anyway, so they only keep the pictures crisp.

Usage: python3 scripts/make-images.py   (needs Pillow)
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SCALE = 4
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "images")
FONT_DIR = "/usr/share/fonts/truetype/liberation"

BLUE = (40, 110, 200, 255)
DARK = (30, 30, 30, 255)
WHITE = (255, 255, 255, 255)
GREY = (150, 150, 150, 255)
GOLD = (235, 185, 40, 255)
GREEN = (60, 170, 80, 255)
RED = (210, 50, 45, 255)


def font(size, bold=True):
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    try:
        return ImageFont.truetype(os.path.join(FONT_DIR, name), size)
    except OSError:
        return ImageFont.load_default()


class Canvas:
    """A transparent picture of w x h drawn at SCALE; coordinates are in
    display pixels (floats allowed)."""

    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SCALE, h * SCALE), background or (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def s(self, *values):
        return [v * SCALE for v in values]

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1, radius=0):
        if radius:
            self.d.rounded_rectangle(self.s(x0, y0, x1, y1), radius=radius * SCALE,
                                     fill=fill, outline=outline, width=int(width * SCALE))
        else:
            self.d.rectangle(self.s(x0, y0, x1, y1), fill=fill, outline=outline,
                             width=int(width * SCALE))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.ellipse(self.s(x0, y0, x1, y1), fill=fill, outline=outline, width=int(width * SCALE))

    def polygon(self, points, fill=None, outline=None):
        self.d.polygon([(x * SCALE, y * SCALE) for x, y in points], fill=fill, outline=outline)

    def line(self, points, fill, width=1):
        self.d.line([(x * SCALE, y * SCALE) for x, y in points], fill=fill, width=int(width * SCALE),
                    joint="curve")

    def arc(self, x0, y0, x1, y1, start, end, fill, width=1):
        self.d.arc(self.s(x0, y0, x1, y1), start, end, fill=fill, width=int(width * SCALE))

    def text(self, cx, cy, text, size, fill, bold=True):
        f = font(int(size * SCALE), bold)
        self.d.text((cx * SCALE, cy * SCALE), text, font=f, fill=fill, anchor="mm")

    def save(self, name):
        small = self.img.resize((self.w, self.h), Image.LANCZOS)
        small.save(os.path.join(OUT, name))
        return small


# ------------------------------------------------------------ main menu

def menu_button(name, caption, colour, symbol):
    c = Canvas(100, 50)
    c.rect(1, 1, 99, 49, fill=colour, outline=WHITE, width=1.5, radius=8)
    symbol(c)
    c.text(60, 26, caption, 15, WHITE)
    c.save(name)


def arrow_in(c):
    # an arrow pointing into a tray: money coming in
    c.line([(8, 14), (20, 26)], WHITE, 3)
    c.polygon([(22, 28), (12, 26), (20, 18)], fill=WHITE)
    c.line([(8, 36), (26, 36)], WHITE, 2.5)


def arrow_out(c):
    c.line([(10, 28), (22, 16)], WHITE, 3)
    c.polygon([(24, 14), (14, 16), (22, 24)], fill=WHITE)
    c.line([(8, 36), (26, 36)], WHITE, 2.5)


def bank(c):
    c.polygon([(6, 18), (17, 10), (28, 18)], fill=WHITE)
    for x in (9, 15.5, 22):
        c.rect(x, 20, x + 3, 32, fill=WHITE)
    c.rect(6, 34, 28, 37, fill=WHITE)


# ------------------------------------------------------------ small icons

def quit_icon():
    c = Canvas(50, 50)
    c.ellipse(2, 2, 48, 48, fill=RED, outline=WHITE, width=2)
    c.arc(13, 13, 37, 37, -50, 230, WHITE, 4)
    c.line([(25, 9), (25, 25)], WHITE, 4)
    c.save("quit.png")


def info_icon():
    c = Canvas(35, 35)
    c.ellipse(1.5, 1.5, 33.5, 33.5, fill=BLUE, outline=WHITE, width=1.5)
    c.ellipse(15, 7, 20, 12, fill=WHITE)
    c.rect(15, 14.5, 20, 27, fill=WHITE)
    c.rect(12.5, 25.5, 22.5, 28, fill=WHITE)
    c.save("info.png")


def calendar(c, body, head):
    c.rect(4, 6, 31, 31, fill=body, outline=DARK, width=1, radius=2)
    c.rect(4, 6, 31, 13, fill=head, outline=DARK, width=1, radius=2)
    c.rect(10, 3, 12, 9, fill=DARK)
    c.rect(23, 3, 25, 9, fill=DARK)


def change_year_icon():
    c = Canvas(35, 35)
    calendar(c, WHITE, RED)
    # a circular arrow: turn over to the current year
    c.arc(10, 15, 26, 30, 200, 500, BLUE, 2.5)
    c.polygon([(9, 19), (14, 21), (9, 25)], fill=BLUE)
    c.save("change-year.png")


def hist_icon():
    c = Canvas(35, 35)
    c.ellipse(2, 2, 33, 33, fill=WHITE, outline=DARK, width=2)
    for i in range(12):
        a = math.radians(i * 30)
        r0, r1 = 12.5, 14.5
        c.line([(17.5 + r0 * math.sin(a), 17.5 - r0 * math.cos(a)),
                (17.5 + r1 * math.sin(a), 17.5 - r1 * math.cos(a))], DARK, 1)
    c.line([(17.5, 17.5), (17.5, 8)], DARK, 2)
    c.line([(17.5, 17.5), (24, 21)], DARK, 2)
    c.arc(-1, -1, 36, 36, 200, 260, BLUE, 2.5)
    c.polygon([(1, 16), (3.5, 10), (8, 14)], fill=BLUE)
    c.save("hist.png")


def down_arrow_icon():
    c = Canvas(50, 12)
    c.polygon([(13, 1), (37, 1), (25, 11)], fill=WHITE, outline=GREY)
    c.save("down-arrow.png")


def back_arrow_icon():
    c = Canvas(12, 40)
    c.polygon([(11, 3), (11, 37), (1, 20)], fill=WHITE, outline=GREY)
    c.save("back-arrow.png")


def cart_icon():
    c = Canvas(35, 35)
    c.line([(2, 6), (7, 6), (11, 24), (28, 24)], WHITE, 2.5)
    c.polygon([(8.5, 9), (32, 9), (29, 20), (10.5, 20)], fill=GOLD, outline=WHITE)
    c.ellipse(10, 26, 15, 31, fill=WHITE)
    c.ellipse(24, 26, 29, 31, fill=WHITE)
    c.save("warenkorb.png")


def display_icon(name, frame, screen, eye):
    c = Canvas(35, 35)
    c.rect(2, 4, 33, 25, fill=frame, outline=DARK, width=1, radius=2)
    c.rect(4.5, 6.5, 30.5, 22.5, fill=screen)
    c.rect(15, 25, 20, 29, fill=frame)
    c.rect(9, 29, 26, 32, fill=frame, outline=DARK, width=0.7)
    # an eye on the screen: show
    c.d.chord(c.s(8, 9, 27, 21), 180, 360, fill=WHITE)
    c.d.chord(c.s(8, 9, 27, 21), 0, 180, fill=WHITE)
    c.ellipse(14.5, 11.5, 20.5, 17.5, fill=eye)
    c.ellipse(16.5, 13.5, 18.5, 15.5, fill=DARK)
    c.save(name)


def anzeigen_icon():
    # a magnifying glass over a person: show the recipients
    c = Canvas(35, 35)
    c.ellipse(3, 3, 23, 23, fill=(220, 235, 255, 255), outline=WHITE, width=2.5)
    c.ellipse(10, 6.5, 16, 12.5, fill=BLUE)
    c.d.chord(c.s(7.5, 13, 18.5, 24), 180, 360, fill=BLUE)
    c.line([(20, 20), (31, 31)], GOLD, 4.5)
    c.save("anzeigen.png")


def gear_icon(name, colour):
    c = Canvas(35, 35)
    cx, cy = 17.5, 17.5
    teeth = 8
    points = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = 15.5 if (i % 4) in (1, 2) else 11.5
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.polygon(points, fill=colour, outline=DARK)
    c.ellipse(cx - 5, cy - 5, cx + 5, cy + 5, fill=(80, 80, 80, 255), outline=DARK)
    c.save(name)


def coin(c, x, y, r):
    c.ellipse(x - r, y - r, x + r, y + r, fill=GOLD, outline=(150, 110, 20, 255), width=1)
    c.ellipse(x - r + 2.5, y - r + 2.5, x + r - 2.5, y + r - 2.5, outline=(190, 140, 30, 255), width=0.8)


def income_icon():
    c = Canvas(35, 35)
    # a stack of coins with a green plus
    for y in (29, 25, 21):
        c.ellipse(3, y - 4, 23, y + 4, fill=GOLD, outline=(150, 110, 20, 255), width=1)
    coin(c, 13, 12, 8)
    c.rect(25, 5, 28, 19, fill=GREEN)
    c.rect(19.5, 10.5, 33.5, 13.5, fill=GREEN)
    c.save("income.png")


def transfer_icon():
    c = Canvas(35, 35)
    c.line([(4, 11), (26, 11)], GREEN, 3.5)
    c.polygon([(33, 11), (24, 4), (24, 18)], fill=GREEN)
    c.line([(31, 24), (9, 24)], GOLD, 3.5)
    c.polygon([(2, 24), (11, 17), (11, 31)], fill=GOLD)
    c.save("internal-transfer.png")


def check_icon():
    c = Canvas(35, 35)
    c.ellipse(1.5, 1.5, 33.5, 33.5, fill=GREEN, outline=WHITE, width=1.5)
    c.line([(9, 18), (15, 24), (26, 11)], WHITE, 4)
    c.save("check.png")


def maintenance_icon():
    c = Canvas(35, 35)
    c.ellipse(1.5, 1.5, 33.5, 33.5, fill=(110, 110, 120, 255), outline=WHITE, width=1.5)
    # A wrench: handle and open jaw.
    c.line([(10, 25), (21, 14)], WHITE, 5)
    c.ellipse(18, 7, 29, 18, fill=WHITE)
    c.polygon([(23, 6), (30, 6), (30, 13), (25, 11)], fill=(110, 110, 120, 255))
    c.save("maintenance.png")


def logo():
    sizes = [16, 24, 32, 48, 64, 128, 256]
    c = Canvas(256, 256)
    c.ellipse(8, 8, 248, 248, fill=(45, 45, 45, 255), outline=GOLD, width=14)
    c.text(128, 132, "Z", 150, GOLD)
    big = c.img.resize((256, 256), Image.LANCZOS)
    big.save(os.path.join(OUT, "Logo.ico"), sizes=[(s, s) for s in sizes])


def main():
    os.makedirs(OUT, exist_ok=True)
    menu_button("button-eingang.png", "Eingang", (40, 140, 70, 255), arrow_in)
    menu_button("button-ausgang.png", "Ausgang", (190, 70, 50, 255), arrow_out)
    menu_button("button-konten.png", "Konten", (50, 100, 180, 255), bank)
    quit_icon()
    info_icon()
    change_year_icon()
    hist_icon()
    down_arrow_icon()
    back_arrow_icon()
    cart_icon()
    display_icon("display.png", (200, 200, 210, 255), (40, 110, 200, 255), GREEN)
    display_icon("display-grey.png", (170, 170, 170, 255), (95, 95, 95, 255), GREY)
    anzeigen_icon()
    gear_icon("settings.png", (190, 190, 190, 255))
    gear_icon("settings-blue.png", (70, 130, 230, 255))
    gear_icon("settings-yellow.png", (240, 210, 40, 255))
    gear_icon("settings-red.png", (220, 60, 50, 255))
    income_icon()
    transfer_icon()
    check_icon()
    maintenance_icon()
    logo()
    return 0


if __name__ == "__main__":
    sys.exit(main())
