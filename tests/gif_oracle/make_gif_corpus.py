#!/usr/bin/python3
"""Writes a corpus of varied GIF files for the decoder comparison test.

Usage: make_gif_corpus.py OUTPUT_DIR

The files are made by two independent encoders, Pillow (in this process) and
ImageMagick (/usr/bin/convert), so that the corpus covers both encoders'
habits: Pillow always uses a minimum code size of 8 and crops animation frames
to the changed area; ImageMagick sizes the code to the colour table and writes
interlaced frames of any height. Files are named <group>-<nnn>.gif. The last
step writes READY holding the number of files. When a tool is missing the
script writes SKIPPED with the reason instead and exits 0, so the test can skip.

Everything is seeded: the same tools write the same corpus on every run.
"""

import concurrent.futures
import os
import random
import shutil
import subprocess
import sys

CONVERT = "/usr/bin/convert"

# Colour counts from 2 to 256 around the table-size boundaries.
COLOR_COUNTS = [2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 63, 64, 65, 100, 127, 128, 129,
                200, 255, 256]

# Sizes that catch off-by-one faults in row handling and interlacing.
ODD_SIZES = [(1, 1), (1, 9), (9, 1), (2, 2), (3, 5), (7, 3), (15, 16), (16, 15), (17, 17),
             (31, 33), (64, 1), (1, 64), (100, 37), (129, 65), (255, 2), (257, 19), (320, 200),
             (333, 111), (640, 480)]


def write_marker(out_dir, name, text):
    with open(os.path.join(out_dir, name), "w", encoding="ascii") as f:
        f.write(text + "\n")


class Corpus:
    def __init__(self, out_dir):
        self.out_dir = out_dir
        self.counts = {}

    def path(self, group):
        n = self.counts.get(group, 0)
        self.counts[group] = n + 1
        return os.path.join(self.out_dir, "%s-%03d.gif" % (group, n))

    def total(self):
        return sum(self.counts.values())


# ---- Pillow: index patterns written straight into palette images ----

def pattern(rng, w, h, n, kind):
    """w*h colour indices below n in one of four textures."""
    if kind == "noise":  # fills the code table and forces clear codes
        return rng.randbytes(w * h).translate(bytes(b % n for b in range(256)))
    if kind == "runs":  # long strings, deep expansions
        out = bytearray()
        while len(out) < w * h:
            out += bytes([rng.randrange(n)]) * rng.randrange(1, 300)
        return bytes(out[:w * h])
    if kind == "stripes":
        a, b, k = rng.randrange(1, 5), rng.randrange(0, 5), rng.randrange(1, 9)
        return bytes(((x * a + y * b) // k) % n for y in range(h) for x in range(w))
    # blocks: rectangles of one colour on noise
    out = bytearray(pattern(rng, w, h, n, "noise"))
    for _ in range(rng.randrange(1, 6)):
        x0, y0 = rng.randrange(w), rng.randrange(h)
        x1, y1 = rng.randrange(x0, w) + 1, rng.randrange(y0, h) + 1
        c = rng.randrange(n)
        for y in range(y0, y1):
            out[y * w + x0:y * w + x1] = bytes([c]) * (x1 - x0)
    return bytes(out)


KINDS = ["noise", "runs", "stripes", "blocks"]


def palette_image(Image, rng, w, h, n, kind=None):
    im = Image.frombytes("P", (w, h), pattern(rng, w, h, n, kind or rng.choice(KINDS)))
    im.putpalette(rng.randbytes(3 * n))
    return im


def random_size(rng, low=1, high=200):
    if rng.random() < 0.4:
        return rng.choice(ODD_SIZES)
    return rng.randrange(low, high), rng.randrange(low, high)


def make_pillow(corpus, Image):
    rng = random.Random(20261211)

    for i in range(48):  # single frames, 2 to 256 colours, odd sizes
        w, h = random_size(rng)
        n = COLOR_COUNTS[i % len(COLOR_COUNTS)]
        im = palette_image(Image, rng, w, h, n)
        extra = {"comment": b"corpus %d" % i} if i % 7 == 0 else {}
        im.save(corpus.path("pil-still"), interlace=0, optimize=rng.random() < 0.5, **extra)

    for i in range(24):  # interlaced (Pillow interlaces only from 16 rows and columns)
        w, h = rng.randrange(16, 90), rng.choice([16, 17, 18, 19, 23, 24, 25, 31, 33, 47, 64, 77])
        im = palette_image(Image, rng, w, h, rng.choice(COLOR_COUNTS))
        im.save(corpus.path("pil-interlaced"), interlace=1)

    for i in range(20):  # transparent index, sometimes unused, sometimes the last entry
        w, h = random_size(rng)
        n = rng.choice(COLOR_COUNTS)
        im = palette_image(Image, rng, w, h, n)
        im.save(corpus.path("pil-transparent"), transparency=rng.choice([0, n - 1, rng.randrange(n)]),
                interlace=rng.randrange(2))

    for i in range(40):  # animations: cropped delta frames, local tables, disposal, timing
        w, h = random_size(rng, 4, 120)
        count = rng.randrange(2, 9)
        shared_palette = rng.random() < 0.4
        n = rng.choice(COLOR_COUNTS)
        base = palette_image(Image, rng, w, h, n)
        frames = [base]
        for _ in range(count - 1):
            if shared_palette:
                frame, colors = frames[-1].copy(), n
            else:
                colors = rng.choice(COLOR_COUNTS)
                frame = palette_image(Image, rng, w, h, colors)
            # change a rectangle so that Pillow crops the frame to it
            x0, y0 = rng.randrange(w), rng.randrange(h)
            x1, y1 = rng.randrange(x0, w) + 1, rng.randrange(y0, h) + 1
            patch = pattern(rng, x1 - x0, y1 - y0, colors, rng.choice(KINDS))
            frame.paste(Image.frombytes("P", (x1 - x0, y1 - y0), patch), (x0, y0))
            frames.append(frame)
        options = {
            "save_all": True,
            "append_images": frames[1:],
            "duration": [rng.choice([0, 10, 30, 70, 100, 1000]) for _ in frames],
            "disposal": [rng.randrange(4) for _ in frames],
            "loop": rng.choice([0, 1, 5, 65535]),
            "interlace": rng.randrange(2),
        }
        if shared_palette:
            options["optimize"] = False
        if rng.random() < 0.3:
            options["transparency"] = rng.randrange(2)
        path = corpus.path("pil-anim")
        try:
            base.save(path, **options)
        except TypeError:  # Pillow fails on a per-frame disposal list when all frames are equal
            options["disposal"] = options["disposal"][0]
            base.save(path, **options)


# ---- ImageMagick: one command per file ----
#
# ImageMagick spends about 0.4 s quantising each picture that is not a palette image yet, so
# most commands start from palette PNGs that Pillow writes into sources/; ImageMagick then
# only re-encodes them with its own encoder. The few commands that need its quantiser
# (built-in pictures, grey scales, transparency by colour, optimised layers) stay few.

def magick_commands(corpus, Image, sources):
    rng = random.Random(11211)
    commands = []
    serial = [0]

    def source(w, h, n):
        """A palette PNG of w x h with n colours; returns its path."""
        path = os.path.join(sources, "src-%03d.png" % serial[0])
        serial[0] += 1
        palette_image(Image, rng, w, h, n).save(path)
        return path

    # Every colour count (code sizes 2 to 8), and one black-and-white picture.
    for n in COLOR_COUNTS:
        commands.append([source(96, 72, n), corpus.path("im-depth")])
    commands.append(["-seed", "7", "-size", "96x72", "plasma:", "-monochrome",
                     corpus.path("im-depth")])

    # Interlaced at every small height and a few large ones.
    for h in list(range(1, 14)) + [15, 16, 17, 33, 97, 240]:
        w = rng.randrange(1, 150)
        commands.append([source(w, h, rng.choice(COLOR_COUNTS)), "-interlace", "GIF",
                         corpus.path("im-interlaced")])

    # Odd sizes.
    for w, h in ODD_SIZES[:14] + [(1000, 3), (3, 1000)]:
        commands.append([source(w, h, rng.choice(COLOR_COUNTS)), corpus.path("im-odd")])

    # Built-in pictures and grey scales, through the quantiser.
    for picture, colors in [("rose:", 256), ("logo:", 64), ("netscape:", 216), ("granite:", 8),
                            ("wizard:", 256), ("pattern:hexagons", 2)]:
        commands.append(["-size", "200x150", picture, "-colors", str(colors),
                         corpus.path("im-picture")])
    for n in [2, 16, 256]:
        commands.append(["-seed", str(n), "-size", "120x90", "plasma:", "-colorspace", "Gray",
                         "-colors", str(n), corpus.path("im-gray")])

    # Transparency from a colour.
    for i in range(6):
        w, h = rng.randrange(8, 160), rng.randrange(8, 160)
        if i % 2:
            commands.append([source(w, h, rng.choice(COLOR_COUNTS)), "-fuzz", "%d%%" % (20 + i * 5),
                             "-transparent", "gray50", corpus.path("im-transparent")])
        else:
            commands.append(["rose:", "-fuzz", "%d%%" % (5 + i * 3), "-transparent", "red",
                             "-interlace", "GIF" if i % 4 == 0 else "None",
                             corpus.path("im-transparent")])

    # Animations: local tables per frame, disposal modes, delays, loop counts.
    for i, dispose in enumerate(["None", "Background", "Previous", "Undefined"] * 3):
        w, h = rng.randrange(8, 100), rng.randrange(8, 100)
        frames = [source(w, h, rng.choice(COLOR_COUNTS)) for _ in range(rng.randrange(2, 7))]
        args = ["-delay", str(rng.choice([0, 5, 50])), "-dispose", dispose, "-loop",
                str(rng.choice([0, 1, 3]))] + frames
        if i % 4 == 1:
            args += ["+remap"]  # one global table, through the quantiser
        if i % 3 == 2:
            args += ["-interlace", "GIF"]
        commands.append(args + [corpus.path("im-anim")])

    # Optimised animations: sub-rectangles and transparent unchanged pixels.
    for method in ["Optimize", "OptimizeFrame", "OptimizeTransparency", "OptimizePlus"]:
        w, h = rng.randrange(20, 120), rng.randrange(20, 120)
        dx, dy = rng.randrange(1, 6), rng.randrange(1, 6)
        commands.append([source(w, h, 32), "(", "+clone", "-roll", "+%d+%d" % (dx, dy), ")",
                         "(", "+clone", "-roll", "+%d+%d" % (dx, dy), ")",
                         "-delay", "10", "-loop", "0", "-layers", method,
                         corpus.path("im-optimized")])

    # Frames placed on the canvas, one of them reaching past its edge.
    for i in range(6):
        w, h = rng.randrange(30, 90), rng.randrange(30, 90)
        fw, fh = rng.randrange(1, w), rng.randrange(1, h)
        x, y = rng.randrange(0, w - fw + 1), rng.randrange(0, h - fh + 1)
        if i == 5:
            x, y = w - fw // 2, h - fh // 2
        commands.append(["-dispose", "None", "-delay", "20", source(w, h, 4), "-page",
                         "+%d+%d" % (x, y), source(fw, fh, rng.choice([4, 16, 128])),
                         corpus.path("im-placed")])
    return commands


def run_convert(args):
    env = dict(os.environ, MAGICK_THREAD_LIMIT="1", OMP_NUM_THREADS="1")
    result = subprocess.run([CONVERT] + args, env=env, capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError("convert %s failed: %s" % (" ".join(args), result.stderr.strip()))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_gif_corpus.py OUTPUT_DIR")
    out_dir = sys.argv[1]
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)

    try:
        from PIL import Image
    except ImportError:
        write_marker(out_dir, "SKIPPED", "Pillow is missing for /usr/bin/python3 (python3-pil)")
        return
    if not os.access(CONVERT, os.X_OK):
        write_marker(out_dir, "SKIPPED", "ImageMagick's %s is missing (imagemagick)" % CONVERT)
        return

    corpus = Corpus(out_dir)
    sources = os.path.join(out_dir, "sources")
    os.makedirs(sources)
    commands = magick_commands(corpus, Image, sources)
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        pending = [pool.submit(run_convert, args) for args in commands]
        make_pillow(corpus, Image)  # Pillow runs in this thread while convert runs
        for job in pending:
            job.result()
    shutil.rmtree(sources)

    missing = [name for name in sorted(os.listdir(out_dir)) if os.path.getsize(os.path.join(out_dir, name)) == 0]
    if missing:
        sys.exit("empty corpus files: %s" % ", ".join(missing))
    write_marker(out_dir, "READY", str(corpus.total()))
    print("wrote %d GIF files to %s" % (corpus.total(), out_dir))


if __name__ == "__main__":
    main()
