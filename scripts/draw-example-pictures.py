#!/usr/bin/env python3
"""Draws the example bundle's pictures: three small phone screens showing a
list, cards and a grid, as a tweak offers them in a picker row; the tweak's
icon for a row of the standard-cells page; and a quiet and a loud speaker for
the ends of its slider.

    python3 scripts/draw-example-pictures.py

Writes layout-list.png, layout-cards.png and layout-grid.png, demo-icon@3x.png,
volume-low@3x.png and volume-high@3x.png into the demo bundle (the @3x ones at
three pixels a point, as an iPhone's screen). Needs pycairo (Debian:
python3-cairo).
"""
import math
import os

import cairo

BUNDLE = os.path.join(os.path.dirname(__file__), "..", "examples", "device-root", "var", "jb",
                      "Library", "PreferenceBundles", "Demo.bundle")
WIDTH, HEIGHT = 180, 360
SCREEN = (8, 8, WIDTH - 16, HEIGHT - 16)

FRAME = (0.11, 0.11, 0.12)
BACKGROUND = (0.95, 0.95, 0.97)
WHITE = (1, 1, 1)
TEXT = (0.78, 0.78, 0.80)
TEXT_DARK = (0.45, 0.45, 0.48)
ACCENTS = [(0.0, 0.48, 1.0), (1.0, 0.58, 0.0), (0.20, 0.78, 0.35),
           (0.69, 0.32, 0.87), (1.0, 0.23, 0.19), (0.35, 0.78, 0.98)]


def rounded(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def fill(ctx, colour, shape):
    shape()
    ctx.set_source_rgb(*colour)
    ctx.fill()


def bar(ctx, x, y, w, colour=TEXT, h=6):
    fill(ctx, colour, lambda: rounded(ctx, x, y, w, h, h / 2))


def phone(ctx):
    """The device and its screen, with a title; answers the top of the content."""
    fill(ctx, FRAME, lambda: rounded(ctx, 0, 0, WIDTH, HEIGHT, 28))
    x, y, w, h = SCREEN
    fill(ctx, BACKGROUND, lambda: rounded(ctx, x, y, w, h, 21))
    fill(ctx, FRAME, lambda: rounded(ctx, WIDTH / 2 - 24, y + 6, 48, 10, 5))
    bar(ctx, x + 14, y + 30, 70, TEXT_DARK, 10)
    return y + 52


def draw_list(ctx):
    top = phone(ctx)
    x, _, w, _ = SCREEN
    fill(ctx, WHITE, lambda: rounded(ctx, x + 8, top, w - 16, 8 * 32, 10))
    for i in range(8):
        row = top + i * 32
        ctx.arc(x + 26, row + 16, 8, 0, 2 * math.pi)
        ctx.set_source_rgb(*ACCENTS[i % len(ACCENTS)])
        ctx.fill()
        bar(ctx, x + 42, row + 13, 60 + (i * 23) % 45)
        if i:
            ctx.rectangle(x + 42, row, w - 58, 1)
            ctx.set_source_rgb(0.88, 0.88, 0.90)
            ctx.fill()


def draw_cards(ctx):
    top = phone(ctx)
    x, _, w, _ = SCREEN
    for i in range(3):
        card = top + i * 92
        ctx.save()
        rounded(ctx, x + 10, card, w - 20, 82, 12)
        ctx.clip()
        ctx.set_source_rgb(*WHITE)
        ctx.paint()
        ctx.rectangle(x + 10, card, w - 20, 46)
        ctx.set_source_rgb(*ACCENTS[i])
        ctx.fill()
        ctx.restore()
        bar(ctx, x + 20, card + 56, 90, TEXT_DARK)
        bar(ctx, x + 20, card + 68, 60)


def draw_grid(ctx):
    top = phone(ctx)
    x, _, w, _ = SCREEN
    size = (w - 16 - 2 * 8) / 3
    for i in range(12):
        column, row = i % 3, i // 3
        left = x + 8 + column * (size + 8)
        cell = top + row * (size + 20)
        fill(ctx, ACCENTS[i % len(ACCENTS)], lambda: rounded(ctx, left, cell, size, size, 10))
        bar(ctx, left + 6, cell + size + 6, size - 12, TEXT, 5)


ICON = 87
# The speakers' heights, and the widths of the quiet one (no waves) and the loud one.
SPEAKER = 54
QUIET_WIDTH = 27
SPEAKER_GREY = (0.56, 0.56, 0.58)


def draw_icon(ctx):
    """A settings icon: a rounded square in the accent blue with a white star."""
    gradient = cairo.LinearGradient(0, 0, 0, ICON)
    gradient.add_color_stop_rgb(0, 0.35, 0.66, 1.0)
    gradient.add_color_stop_rgb(1, 0.0, 0.42, 0.95)
    rounded(ctx, 0, 0, ICON, ICON, ICON * 0.225)
    ctx.set_source(gradient)
    ctx.fill()
    centre, outer, inner = ICON / 2, ICON * 0.32, ICON * 0.14
    for point in range(10):
        radius = outer if point % 2 == 0 else inner
        angle = -math.pi / 2 + point * math.pi / 5
        ctx.line_to(centre + radius * math.cos(angle), centre + 2 + radius * math.sin(angle))
    ctx.close_path()
    ctx.set_source_rgb(*WHITE)
    ctx.fill()


def speaker(ctx, waves):
    """A speaker seen from the side, with as many sound waves as given."""
    middle = SPEAKER / 2
    ctx.rectangle(4, middle - 7, 9, 14)
    ctx.move_to(12, middle - 7)
    ctx.line_to(24, middle - 17)
    ctx.line_to(24, middle + 17)
    ctx.line_to(12, middle + 7)
    ctx.close_path()
    ctx.set_source_rgb(*SPEAKER_GREY)
    ctx.fill()
    ctx.set_line_width(4)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for wave in range(waves):
        ctx.arc(24, middle, 9 + wave * 8, -math.pi / 4, math.pi / 4)
        ctx.stroke()


def main():
    for name, draw in (("list", draw_list), ("cards", draw_cards), ("grid", draw_grid)):
        surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, WIDTH, HEIGHT)
        draw(cairo.Context(surface))
        surface.write_to_png(os.path.join(BUNDLE, "layout-%s.png" % name))
    pictures = (("demo-icon@3x.png", ICON, ICON, draw_icon),
                ("volume-low@3x.png", QUIET_WIDTH, SPEAKER, lambda ctx: speaker(ctx, 0)),
                ("volume-high@3x.png", SPEAKER, SPEAKER, lambda ctx: speaker(ctx, 3)))
    for name, width, height, draw in pictures:
        surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
        draw(cairo.Context(surface))
        surface.write_to_png(os.path.join(BUNDLE, name))


if __name__ == "__main__":
    main()
