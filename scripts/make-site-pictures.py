#!/usr/bin/env python3
"""Draws the site's own pictures and writes them into generator/assets/:

  bgh2560L30.jpg  progressive JPEG 2560 x 1440, the night-sky page background
  fm.jpg          baseline JPEG 1280 x 720, the default sub-gallery cover
  logo.png        PNG 400 x 400, 8-bit RGB without alpha, the site logo and icon
  tkgxtb.svg      SVG 298 x 168, LF line ends, a translucent cloud decoration

Each picture is an SVG drawing rendered by headless Chromium at its exact size,
then encoded with ImageMagick (/usr/bin/convert) and libjpeg-turbo (cjpeg).
Star fields use a fixed seed, so a run draws the same pictures again; the
encoded bytes may still differ between tool versions. Commit the outputs.
"""

import random
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
ASSETS = ROOT / "generator" / "assets"
CHROMIUM = "/usr/bin/chromium"
CONVERT = "/usr/bin/convert"


def stars(rng, count, width, height, top_share):
    dots = []
    for _ in range(count):
        x = rng.uniform(0, width)
        # Denser towards the top, where the sky is darkest.
        y = rng.uniform(0, height * top_share) * rng.uniform(0.35, 1.0)
        r = rng.choice([0.6, 0.8, 1.0, 1.2, 1.5, 1.9, 2.4])
        o = rng.uniform(0.25, 0.95)
        dots.append(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r}" fill="#fff" opacity="{o:.2f}"/>')
    return "\n".join(dots)


def glow_stars(rng, count, width, height):
    dots = []
    for _ in range(count):
        x = rng.uniform(0, width)
        y = rng.uniform(0, height * 0.45)
        dots.append(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="9" fill="url(#starGlow)"/>'
                    f'<circle cx="{x:.1f}" cy="{y:.1f}" r="1.8" fill="#fff"/>')
    return "\n".join(dots)


def bokeh(rng, count, width, y_from, y_to, colours):
    dots = []
    for _ in range(count):
        x = rng.uniform(0, width)
        y = rng.uniform(y_from, y_to)
        r = rng.uniform(18, 70)
        o = rng.uniform(0.10, 0.32)
        c = rng.choice(colours)
        dots.append(f'<circle cx="{x:.0f}" cy="{y:.0f}" r="{r:.0f}" fill="{c}" opacity="{o:.2f}"/>')
    return "\n".join(dots)


def background_svg():
    rng = random.Random(2560)
    w, h = 2560, 1440
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">
<defs>
  <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#070b1f"/>
    <stop offset="0.38" stop-color="#141a45"/>
    <stop offset="0.68" stop-color="#33204f"/>
    <stop offset="0.88" stop-color="#5c2344"/>
    <stop offset="1" stop-color="#7a2636"/>
  </linearGradient>
  <radialGradient id="moonHalo">
    <stop offset="0" stop-color="#ffe7c2" stop-opacity="0.55"/>
    <stop offset="0.25" stop-color="#ffd9a0" stop-opacity="0.18"/>
    <stop offset="1" stop-color="#ffd9a0" stop-opacity="0"/>
  </radialGradient>
  <radialGradient id="moon" cx="0.42" cy="0.4">
    <stop offset="0" stop-color="#fff8e8"/>
    <stop offset="1" stop-color="#f3d9a8"/>
  </radialGradient>
  <radialGradient id="warm" cx="0.5" cy="1" r="0.8">
    <stop offset="0" stop-color="#ff6a3d" stop-opacity="0.45"/>
    <stop offset="0.5" stop-color="#d6284a" stop-opacity="0.12"/>
    <stop offset="1" stop-color="#d6284a" stop-opacity="0"/>
  </radialGradient>
  <radialGradient id="starGlow">
    <stop offset="0" stop-color="#cfe0ff" stop-opacity="0.7"/>
    <stop offset="1" stop-color="#cfe0ff" stop-opacity="0"/>
  </radialGradient>
  <linearGradient id="far" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#3a2456"/>
    <stop offset="1" stop-color="#2a1a40"/>
  </linearGradient>
  <linearGradient id="near" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#1e1433"/>
    <stop offset="1" stop-color="#120b22"/>
  </linearGradient>
  <filter id="soft" x="-20%" y="-20%" width="140%" height="140%"><feGaussianBlur stdDeviation="18"/></filter>
  <filter id="haze" x="-20%" y="-50%" width="140%" height="200%"><feGaussianBlur stdDeviation="40"/></filter>
</defs>
<rect width="{w}" height="{h}" fill="url(#sky)"/>
<g filter="url(#haze)" opacity="0.5">
  <ellipse cx="700" cy="520" rx="760" ry="70" fill="#6b4c9a" opacity="0.35"/>
  <ellipse cx="1900" cy="700" rx="820" ry="80" fill="#8a4a7a" opacity="0.3"/>
  <ellipse cx="1200" cy="360" rx="600" ry="50" fill="#4b5ea8" opacity="0.3"/>
</g>
{stars(rng, 520, w, h, 0.8)}
{glow_stars(rng, 22, w, h)}
<circle cx="2060" cy="300" r="420" fill="url(#moonHalo)"/>
<circle cx="2060" cy="300" r="92" fill="url(#moon)"/>
<circle cx="2030" cy="280" r="14" fill="#e8c990" opacity="0.35"/>
<circle cx="2090" cy="330" r="20" fill="#e8c990" opacity="0.28"/>
<circle cx="2075" cy="262" r="8" fill="#e8c990" opacity="0.3"/>
<rect x="0" y="700" width="{w}" height="740" fill="url(#warm)"/>
<g filter="url(#soft)">
{bokeh(rng, 26, w, 980, 1400, ["#ff4d4d", "#ff8a3d", "#ffb347", "#ff5e7e"])}
</g>
<path d="M0 1180 C 220 1100 380 1080 560 1130 S 900 1060 1120 1110 S 1500 1040 1760 1100 S 2200 1050 2560 1120 L 2560 1440 L 0 1440 Z" fill="url(#far)" opacity="0.85"/>
<path d="M0 1290 C 260 1230 480 1250 700 1280 S 1100 1220 1380 1260 S 1860 1230 2120 1270 S 2420 1250 2560 1240 L 2560 1440 L 0 1440 Z" fill="url(#near)"/>
</svg>
'''


def cover_svg():
    rng = random.Random(1280)
    w, h = 1280, 720
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">
<defs>
  <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#1b1d4d"/>
    <stop offset="0.45" stop-color="#5b3a78"/>
    <stop offset="0.75" stop-color="#c25a74"/>
    <stop offset="1" stop-color="#f3a26b"/>
  </linearGradient>
  <radialGradient id="sun" cx="0.5" cy="0.5">
    <stop offset="0" stop-color="#fff3d6"/>
    <stop offset="0.6" stop-color="#ffd39a"/>
    <stop offset="1" stop-color="#ffb978"/>
  </radialGradient>
  <radialGradient id="halo">
    <stop offset="0" stop-color="#ffe2b0" stop-opacity="0.6"/>
    <stop offset="1" stop-color="#ffe2b0" stop-opacity="0"/>
  </radialGradient>
  <linearGradient id="m1" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#8d4f86"/><stop offset="1" stop-color="#6a3f79"/>
  </linearGradient>
  <linearGradient id="m2" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#57346e"/><stop offset="1" stop-color="#3b2757"/>
  </linearGradient>
  <linearGradient id="m3" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#2c1d45"/><stop offset="1" stop-color="#1a1230"/>
  </linearGradient>
  <linearGradient id="water" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#f0a070" stop-opacity="0.55"/>
    <stop offset="1" stop-color="#1a1230" stop-opacity="0"/>
  </linearGradient>
  <radialGradient id="lantern" cx="0.45" cy="0.4">
    <stop offset="0" stop-color="#ff8a5c"/><stop offset="1" stop-color="#c8172a"/>
  </radialGradient>
  <radialGradient id="lanternGlow">
    <stop offset="0" stop-color="#ff7043" stop-opacity="0.55"/>
    <stop offset="1" stop-color="#ff7043" stop-opacity="0"/>
  </radialGradient>
  <filter id="blur"><feGaussianBlur stdDeviation="3"/></filter>
</defs>
<rect width="{w}" height="{h}" fill="url(#sky)"/>
{stars(rng, 140, w, h, 0.55)}
<circle cx="820" cy="390" r="260" fill="url(#halo)"/>
<circle cx="820" cy="400" r="96" fill="url(#sun)"/>
<path d="M0 560 L 0 470 L 150 380 L 250 430 L 390 320 L 520 430 L 610 400 L 700 455 L 760 440 L 1010 330 L 1160 430 L 1280 390 L 1280 560 Z" fill="url(#m1)"/>
<path d="M0 560 L 0 520 L 120 450 L 260 500 L 430 410 L 600 500 L 760 440 L 930 505 L 1080 450 L 1280 510 L 1280 560 Z" fill="url(#m2)"/>
<rect x="0" y="558" width="{w}" height="162" fill="url(#m3)"/>
<rect x="0" y="558" width="{w}" height="162" fill="url(#water)"/>
<g filter="url(#blur)" opacity="0.75">
  <rect x="770" y="580" width="100" height="4" rx="2" fill="#ffe2b0"/>
  <rect x="740" y="604" width="160" height="4" rx="2" fill="#ffd39a" opacity="0.8"/>
  <rect x="785" y="630" width="70" height="3" rx="1.5" fill="#ffd39a" opacity="0.6"/>
  <rect x="720" y="656" width="200" height="3" rx="1.5" fill="#ffb978" opacity="0.4"/>
</g>
<path d="M0 720 L 0 610 C 120 590 260 600 380 640 C 460 668 520 700 560 720 Z" fill="#120b22"/>
<g transform="translate(150 0)">
  <line x1="0" y1="0" x2="0" y2="92" stroke="#2a1a40" stroke-width="3"/>
  <circle cx="0" cy="150" r="120" fill="url(#lanternGlow)"/>
  <rect x="-26" y="90" width="52" height="14" rx="4" fill="#e9b949"/>
  <ellipse cx="0" cy="150" rx="62" ry="50" fill="url(#lantern)"/>
  <path d="M0 100 C -26 120 -26 180 0 200 M0 100 C 26 120 26 180 0 200" stroke="#9e1020" stroke-width="2.5" fill="none" opacity="0.7"/>
  <rect x="-26" y="196" width="52" height="14" rx="4" fill="#e9b949"/>
  <path d="M-6 210 L 6 210 L 9 258 L -9 258 Z" fill="#d9342b"/>
</g>
</svg>
'''


def logo_svg():
    return '''<svg xmlns="http://www.w3.org/2000/svg" width="400" height="400" viewBox="0 0 400 400">
<defs>
  <radialGradient id="bg" cx="0.5" cy="0.42" r="0.75">
    <stop offset="0" stop-color="#2d2a66"/>
    <stop offset="1" stop-color="#0f1230"/>
  </radialGradient>
  <radialGradient id="glow">
    <stop offset="0" stop-color="#ff6a3d" stop-opacity="0.55"/>
    <stop offset="1" stop-color="#ff6a3d" stop-opacity="0"/>
  </radialGradient>
  <radialGradient id="body" cx="0.4" cy="0.35" r="0.75">
    <stop offset="0" stop-color="#ff8f6b"/>
    <stop offset="0.55" stop-color="#e8333a"/>
    <stop offset="1" stop-color="#a80f22"/>
  </radialGradient>
  <linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffe08a"/>
    <stop offset="1" stop-color="#d99a2b"/>
  </linearGradient>
  <clipPath id="inside"><ellipse cx="200" cy="205" rx="118" ry="100"/></clipPath>
</defs>
<rect width="400" height="400" fill="url(#bg)"/>
<circle cx="200" cy="205" r="190" fill="url(#glow)"/>
<line x1="200" y1="30" x2="200" y2="92" stroke="#d99a2b" stroke-width="6" stroke-linecap="round"/>
<rect x="148" y="86" width="104" height="26" rx="9" fill="url(#gold)"/>
<ellipse cx="200" cy="205" rx="118" ry="100" fill="url(#body)"/>
<g clip-path="url(#inside)" fill="none" stroke="#8f0c1d" stroke-width="5" opacity="0.55">
  <ellipse cx="200" cy="205" rx="40" ry="104"/>
  <ellipse cx="200" cy="205" rx="84" ry="104"/>
</g>
<g clip-path="url(#inside)">
  <circle cx="246" cy="160" r="17" fill="#fff1c9"/>
  <path d="M60 330 L 60 262 L 150 196 L 192 236 L 238 190 L 340 266 L 340 330 Z" fill="#fff1c9"/>
  <path d="M60 330 L 60 292 L 130 258 L 200 286 L 262 252 L 340 294 L 340 330 Z" fill="#f6d38f"/>
</g>
<rect x="148" y="298" width="104" height="26" rx="9" fill="url(#gold)"/>
<path d="M190 324 L 210 324 L 218 378 Q 200 386 182 378 Z" fill="#e8333a"/>
<rect x="186" y="322" width="28" height="10" rx="3" fill="url(#gold)"/>
</svg>
'''


# Written as it stands: a translucent frame of clouds and a swinging-lantern
# motif, white and gold at low opacity so it sits on any background.
DECORATION_SVG = '''<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="298" height="168" viewBox="0 0 298 168">
  <defs>
    <linearGradient id="line" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0"/>
      <stop offset="0.5" stop-color="#ffffff" stop-opacity="0.55"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">
      <stop offset="0" stop-color="#ff8a5c" stop-opacity="0.5"/>
      <stop offset="1" stop-color="#ff8a5c" stop-opacity="0"/>
    </radialGradient>
  </defs>
  <rect x="6" y="6" width="286" height="156" rx="14" fill="#ffffff" fill-opacity="0.06"
        stroke="#ffffff" stroke-opacity="0.35" stroke-width="1.5"/>
  <rect x="14" y="14" width="270" height="140" rx="9" fill="none"
        stroke="#f5d27a" stroke-opacity="0.3" stroke-width="1" stroke-dasharray="2 5"/>
  <g fill="none" stroke="#ffffff" stroke-opacity="0.45" stroke-width="2" stroke-linecap="round">
    <path d="M22 40 q0 -18 18 -18 M22 128 q0 18 18 18 M276 40 q0 -18 -18 -18 M276 128 q0 18 -18 18"/>
    <path d="M40 150 c10 -14 28 -14 34 -2 c6 -10 22 -10 26 2"/>
    <path d="M198 150 c4 -12 20 -12 26 -2 c6 -12 24 -12 34 2"/>
    <path d="M52 34 c8 -10 22 -8 24 2 c8 -6 18 -2 18 6"/>
    <path d="M204 42 c0 -8 10 -12 18 -6 c2 -10 16 -12 24 -2"/>
  </g>
  <rect x="40" y="84" width="218" height="1.5" fill="url(#line)"/>
  <g transform="translate(149 58)">
    <circle r="34" fill="url(#glow)"/>
    <line x1="0" y1="-34" x2="0" y2="-18" stroke="#f5d27a" stroke-opacity="0.7" stroke-width="1.5"/>
    <rect x="-10" y="-19" width="20" height="5" rx="2" fill="#f5d27a" fill-opacity="0.75"/>
    <ellipse rx="20" ry="15" fill="#e8333a" fill-opacity="0.6"/>
    <path d="M0 -15 c-8 5 -8 25 0 30 M0 -15 c8 5 8 25 0 30" fill="none"
          stroke="#ffffff" stroke-opacity="0.35" stroke-width="1"/>
    <rect x="-10" y="14" width="20" height="5" rx="2" fill="#f5d27a" fill-opacity="0.75"/>
    <path d="M-2 19 h4 l2 16 h-8 z" fill="#e8333a" fill-opacity="0.55"/>
  </g>
  <g fill="#ffffff" fill-opacity="0.6">
    <circle cx="92" cy="62" r="1.4"/>
    <circle cx="212" cy="70" r="1.2"/>
    <circle cx="118" cy="112" r="1"/>
    <circle cx="188" cy="118" r="1.4"/>
    <circle cx="240" cy="100" r="1"/>
    <circle cx="62" cy="108" r="1.1"/>
  </g>
</svg>
'''


def render(svg, width, height, png, work):
    page = work / (png.stem + ".html")
    page.write_text('<!DOCTYPE html><html><body style="margin:0;overflow:hidden">'
                    + svg + "</body></html>", encoding="utf-8")
    profile = work / "profile"
    subprocess.run([CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update",
                    "--disable-sync", "--hide-scrollbars", "--force-device-scale-factor=1",
                    f"--user-data-dir={profile}", f"--window-size={width},{height}",
                    f"--screenshot={png}", page.as_uri()],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def to_jpeg(png, jpeg, work, quality, progressive, grain):
    # A faint grain keeps the large gradients from banding once quantised.
    ppm = work / (png.stem + ".ppm")
    subprocess.run([CONVERT, str(png), "-alpha", "off", "-seed", "7", "-attenuate", str(grain),
                    "+noise", "Gaussian", "-strip", str(ppm)], check=True)
    command = ["cjpeg", "-quality", str(quality), "-optimize"]
    if progressive:
        command.append("-progressive")
    command += ["-outfile", str(jpeg), str(ppm)]
    subprocess.run(command, check=True)


def to_rgb_png(png, target):
    subprocess.run([CONVERT, str(png), "-alpha", "off", "-strip", "-define",
                    "png:color-type=2", "-define", "png:bit-depth=8", f"PNG24:{target}"],
                   check=True)


def main():
    ASSETS.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as folder:
        work = Path(folder)
        render(background_svg(), 2560, 1440, work / "background.png", work)
        to_jpeg(work / "background.png", ASSETS / "bgh2560L30.jpg", work, 80, True, 0.25)
        render(cover_svg(), 1280, 720, work / "cover.png", work)
        to_jpeg(work / "cover.png", ASSETS / "fm.jpg", work, 88, False, 0.2)
        render(logo_svg(), 400, 400, work / "logo.png", work)
        to_rgb_png(work / "logo.png", ASSETS / "logo.png")
    (ASSETS / "tkgxtb.svg").write_bytes(DECORATION_SVG.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
