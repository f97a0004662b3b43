#!/usr/bin/python3
"""Makes a folder of real, tagged MP3 files for the tag-reading benchmark and for manual tests.

    /usr/bin/python3 scripts/make_test_mp3s.py FOLDER [--count 3000] [--seconds 5] [--seed 1]
                                               [--nested]

A few source files are encoded by lame (different bit rates, sampling rates, channel modes, CBR
and VBR); every output file is a copy of one of them, tagged by mutagen in one of several
styles: ID3v2.3 Latin-1 with ID3v1, ID3v2.4 UTF-8, ID3v2.3 UTF-16, ID3v1 only, no tag, a rated
file (PRIV frame), a tag with a cover picture, a tag with much padding. Needs lame and Debian's
python3-mutagen (use /usr/bin/python3). The same seed gives the same files.

With --nested the files go into a tree of folders as a collection on disk looks: one folder per
artist letter range, one per artist below it and one per album below that (about 20 files each).
"""
import argparse
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

from mutagen.id3 import (APIC, COMM, ID3, PRIV, TALB, TCON, TIT2, TPE1, TRCK, TYER, TDRC,
                         TCOM, WXXX)

# lame options of the source files: (name, lame arguments, channels, sampling rate of the input)
SOURCES = [
    ("cbr128", ["-b", "128"], 2, 44100),
    ("cbr192", ["-b", "192"], 2, 44100),
    ("cbr320", ["-b", "320"], 2, 48000),
    ("mono64", ["-b", "64", "-m", "m"], 1, 44100),
    ("rate32", ["-b", "96"], 2, 32000),
    ("mpeg2", ["-b", "64", "--resample", "22.05"], 2, 44100),
    ("vbr", ["-V", "4"], 2, 44100),
    ("crc", ["-b", "160", "-p"], 2, 44100),
]

ARTISTS = ["Die \xc4rzte", "Queen", "Kraftwerk", "Bj\xf6rk", "Stra\xdfenmusik", "Motorhead",
           "Caf\xe9 Tacvba", "Sigur R\xf3s", "The Beatles", "Einst\xfcrzende Neubauten"]
WORDS = ["Radio", "Ga-Ga", "Sonne", "Autobahn", "Liebe", "Nacht", "Blue", "Monday", "Wind",
         "Regen", "Fire", "Stadt", "Heart", "\xdcber", "Tr\xe4ume", "Night", "Ocean", "Mond"]
GENRES = ["Rock", "Pop", "Jazz", "Electronic", "Blues", "Soundtrack", "Klassik", "(17)Rock"]
STYLES = ["v23_latin1_v1", "v24_utf8", "v23_utf16", "v1_only", "none", "rated", "picture",
          "padding"]


def make_wav(path, seconds, channels, rate, rng):
    frames = int(seconds * rate)
    f1, f2 = rng.uniform(0.01, 0.08), rng.uniform(0.01, 0.08)
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        data = bytearray()
        for i in range(frames):
            data += struct.pack("<h", int(9000 * math.sin(i * f1)))
            if channels == 2:
                data += struct.pack("<h", int(9000 * math.sin(i * f2)))
        w.writeframes(bytes(data))


def encode_sources(workdir, seconds, rng):
    paths = []
    for name, args, channels, rate in SOURCES:
        wav = os.path.join(workdir, name + ".wav")
        mp3 = os.path.join(workdir, name + ".mp3")
        make_wav(wav, seconds, channels, rate, rng)
        subprocess.run(["lame", "--quiet"] + args + [wav, mp3], check=True)
        paths.append(mp3)
    return paths


def tag_file(path, style, n, rng):
    artist = rng.choice(ARTISTS)
    title = " ".join(rng.sample(WORDS, rng.randint(1, 3)))
    album = "Album %d" % (n % 97)
    year = str(rng.randint(1960, 2010))
    genre = rng.choice(GENRES)
    track = "%d/%d" % (n % 12 + 1, 12)
    if style == "none":
        return
    tags = ID3()
    if style == "v1_only":
        tags.add(TIT2(encoding=0, text=title))
        tags.add(TPE1(encoding=0, text=artist))
        tags.add(TALB(encoding=0, text=album))
        tags.add(TDRC(encoding=0, text=year))
        tags.add(TCON(encoding=0, text="Rock"))
        tags.add(TRCK(encoding=0, text=track))
        tags.save(path, v2_version=3, v1=2)
        # Keep only the ID3v1 block: drop the ID3v2 tag again.
        ID3(path).delete(path, delete_v1=False, delete_v2=True)
        return
    encoding = {"v24_utf8": 3, "v23_utf16": 1}.get(style, 0)
    tags.add(TIT2(encoding=encoding, text=title))
    tags.add(TPE1(encoding=encoding, text=artist))
    tags.add(TALB(encoding=encoding, text=album))
    tags.add(TCON(encoding=encoding, text=genre))
    tags.add(TRCK(encoding=encoding, text=track))
    tags.add(COMM(encoding=encoding, lang="eng", desc="", text="Kommentar %d" % n))
    if style == "v24_utf8":
        tags.add(TDRC(encoding=encoding, text=year))
    else:
        tags.add(TYER(encoding=encoding, text=year))
    if style == "rated":
        tags.add(PRIV(owner="", data=b"HARLUNE\xa1" + str(n % 5 + 1).encode() + b"\xa1Party"))
        tags.add(TCOM(encoding=0, text="Composer"))
        tags.add(WXXX(encoding=0, desc="", url="http://example.org/%d" % n))
    if style == "picture":
        picture = bytes(rng.getrandbits(8) for _ in range(rng.randint(10000, 60000)))
        tags.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="", data=picture))
    version = 4 if style == "v24_utf8" else 3
    padding = 20000 if style == "padding" else 1024
    tags.save(path, v2_version=version, v1=2 if style == "v23_latin1_v1" else 0,
              padding=lambda info: padding)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--count", type=int, default=3000)
    parser.add_argument("--seconds", type=float, default=5.0)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--nested", action="store_true",
                        help="put the files into folders three levels deep")
    args = parser.parse_args()
    if shutil.which("lame") is None:
        sys.exit("lame is not installed")
    rng = random.Random(args.seed)
    os.makedirs(args.folder, exist_ok=True)
    with tempfile.TemporaryDirectory() as workdir:
        sources = encode_sources(workdir, args.seconds, rng)
        for n in range(args.count):
            style = STYLES[n % len(STYLES)]
            source = sources[(n // len(STYLES)) % len(sources)]
            name = "%05d - %s - %s.mp3" % (n, rng.choice(ARTISTS), rng.choice(WORDS))
            folder = args.folder
            if args.nested:
                album = n // 20
                artist = album // 5
                folder = os.path.join(folder, "Gruppe %02d" % (artist // 10),
                                      "K\xfcnstler %03d" % artist, "Album %04d" % album)
                os.makedirs(folder, exist_ok=True)
            path = os.path.join(folder, name)
            shutil.copyfile(source, path)
            tag_file(path, style, n, rng)
    print("%d files in %s" % (args.count, args.folder))


if __name__ == "__main__":
    main()
