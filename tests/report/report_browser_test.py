#!/usr/bin/env python3
"""tlhost report as a reader sees it.

Runs tlhost demo, writes the report of both demo tasks, checks that the page fetches nothing from
outside, then opens it in headless Chromium: the page's script must have drawn every chart (the
DOM after the scripts ran), and the screenshot must show them (pixels of the charts' colours).
Exit status 77 when Chromium is missing, unless CI is set.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import zlib

# The first colours of the report's palette: 17.0.1 and 17.0.4 of the demo.
BLUE = (0x4E, 0x79, 0xA7)
TEAL = (0x76, 0xB7, 0xB2)


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def run(args, **kwargs):
    result = subprocess.run(args, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        fail("{} exited with {}:\n{}{}".format(" ".join(args), result.returncode, result.stdout, result.stderr))
    return result.stdout


def chromium_args(profile):
    # As root Chromium needs --no-sandbox; the network flags keep it from calling home.
    return ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--hide-scrollbars", "--user-data-dir=" + profile]


def png_pixels(path):
    """(width, height, rows of RGB tuples) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail(path + " is not a PNG")
    pos, idat, width, height, kind = 8, b"", 0, 0, 0
    while pos < len(data):
        length, name = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if name == b"IHDR":
            width, height, depth, kind = struct.unpack(">IIBB", body[:10])
            if depth != 8 or kind not in (2, 6):
                fail("unexpected PNG format: depth {} colour type {}".format(depth, kind))
        elif name == b"IDAT":
            idat += body
        pos += 12 + length
    channels = 3 if kind == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind_of_filter, row = line[0], bytearray(line[1:])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind_of_filter == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind_of_filter == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind_of_filter == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind_of_filter == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else up_left)) & 0xFF
        rows.append([tuple(row[x * channels:x * channels + 3]) for x in range(width)])
        previous = row
    return width, height, rows


def count_near(rows, colour, tolerance=6):
    return sum(1 for row in rows for p in row if all(abs(a - b) <= tolerance for a, b in zip(p, colour)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tlhost", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--screenshot", help="also keep the screenshot here")
    options = parser.parse_args()

    browser = shutil.which("chromium") or shutil.which("chromium-browser")
    if browser is None:
        if os.environ.get("CI"):
            fail("chromium is not installed (scripts/install-deps.sh installs it)")
        print("SKIPPED: chromium is not installed")
        return 77

    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    run([options.tlhost, "demo", "--db", options.work + "/"])
    page = os.path.join(options.work, "losses.html")
    run([options.tlhost, "--db", os.path.join(options.work, "demo.db"), "report", "\\Scripts\\Demo\\",
         "\\Scripts\\DemoFormulas\\", "-o", page])
    html = open(page, encoding="utf-8").read()

    # Nothing from outside: no address in a src or href, no style sheet or font to fetch.
    outside = re.findall(r"""(?:src|href)\s*=\s*["']?(?:https?:)?//|<link\b|@import|@font-face""", html)
    if outside:
        fail("the page refers outside: {}".format(outside[:5]))
    canvases = re.findall(r'<canvas id="([^"]+)"', html)
    if len(canvases) < 4 or len(canvases) % 2:
        fail("expected pairs of chart canvases, found {}".format(len(canvases)))
    for text in ("Elements not fully computed", "Мощность за предыдущие 5 минут (Код 7)",
                 "2. Расчет по произвольной формуле", "30 minutes (parameter 30012)"):
        if text not in html:
            fail("the page lacks " + repr(text))

    profile = os.path.join(options.work, "profile")
    url = "file://" + os.path.abspath(page)
    dom = run([browser] + chromium_args(profile) + ["--virtual-time-budget=10000", "--dump-dom", url],
              stdin=subprocess.DEVNULL)
    drawn = re.search(r'<body[^>]*data-charts="([^"]*)"', dom)
    if drawn is None or drawn.group(1) != str(len(canvases)):
        fail("the page's script drew {} charts of {}".format(drawn.group(1) if drawn else "no", len(canvases)))
    # Chart.js sizes each canvas to its box once it has drawn into it.
    for name in canvases:
        tag = re.search(r'<canvas id="{}"[^>]*>'.format(re.escape(name)), dom)
        size = re.search(r"height: (\d+)px; width: (\d+)px", tag.group(0)) if tag else None
        if size is None or int(size.group(1)) == 0 or int(size.group(2)) == 0:
            fail("canvas {} has no size: {}".format(name, tag.group(0) if tag else "missing"))

    shot = os.path.join(options.work, "report.png")
    run([browser] + chromium_args(profile) + ["--window-size=1300,1400", "--screenshot=" + shot, url],
        stdin=subprocess.DEVNULL)
    width, height, rows = png_pixels(shot)
    # The first kind's charts lie in the upper half: lines and doughnut segments in both colours.
    upper = rows[: height // 2]
    blue, teal = count_near(upper, BLUE), count_near(upper, TEAL)
    print("screenshot {}x{}: {} pixels of the first colour, {} of the fourth".format(width, height, blue, teal))
    if blue < 2000 or teal < 2000:
        fail("the charts do not show in the screenshot")
    if options.screenshot:
        shutil.copyfile(shot, options.screenshot)
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
