#!/usr/bin/env python3
"""Writes the demo drive C: demo/drive_c/ with the kit, songs, texts, icons and splash picture.

Run from anywhere:

    scripts/make-demo.py              # rewrites demo/drive_c/ of this repository
    scripts/make-demo.py --out DIR    # writes the drive into DIR instead (DIR is replaced)

Everything is made here: the tunes are composed and synthesised by make-demo/music.py (WAV)
and encoded with `lame` (MP3), the MIDI files are written by make-demo/midi.py, the words are
our own, the pictures are drawn by make-demo/pictures.py and the splash is finished with
ImageMagick's `convert`. Needs Python 3.9 or later with its standard library, and the Debian
packages lame, imagemagick and fonts-dejavu-core (only to regenerate; the generated files are
committed). The output is the same on every run with the same tool versions.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.dont_write_bytecode = True  # keep the repository free of __pycache__
sys.path.insert(0, str(HERE / "make-demo"))

import icons  # noqa: E402
import midi  # noqa: E402
import music  # noqa: E402
import pictures  # noqa: E402
import rtf  # noqa: E402
import splash  # noqa: E402
from songs import NO_TEXT, THEMES, kit_path  # noqa: E402

SPLASH_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
MOST_BYTES = 5 * 1024 * 1024


def pcm16(samples):
    return struct.pack("<%dh" % len(samples), *(round(v * 32767) for v in samples))


def write_wav(path, samples, rate):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(pcm16(samples))


def write_mp3(path, samples, rate, scratch):
    source = scratch / "mp3-source.wav"
    write_wav(source, samples, rate)
    subprocess.run(["lame", "--quiet", "--noreplaygain", "-m", "m", "-b", "64", str(source),
                    str(path)], check=True)
    source.unlink()


def make_song(song, folder, scratch):
    notes = music.compose(song.plan)
    target = folder / song.audio
    if song.audio.endswith(".mid"):
        title = "Karvel demo"
        target.write_bytes(midi.song_file(song.plan, notes, title, song.voices))
        return
    samples = music.render(song.plan, notes, song.voices, song.rate)
    if song.audio.endswith(".wav"):
        write_wav(target, samples, song.rate)
    else:
        write_mp3(target, samples, song.rate, scratch)


def write_icon(path, name):
    canvas, flat = icons.icon(name)
    path.write_bytes(pictures.bitmap8(canvas) if flat else pictures.bitmap24(canvas))


def write_splash(path, scratch):
    drawing = scratch / "splash.ppm"
    drawing.write_bytes(pictures.ppm(splash.scene()))
    subprocess.run(["convert", str(drawing), "-font", SPLASH_FONT, "-pointsize", "54",
                    "-gravity", "north", "-fill", "#f0c030", "-stroke", "#402000",
                    "-strokewidth", "2", "-annotate", "+0+28", "Karvel", "-strip",
                    "-sampling-factor", "4:2:0", "-quality", "88", str(path)], check=True)
    drawing.unlink()


def kit_text(sections):
    """INI text as Notepad on Windows saves it: CRLF line ends, Windows-1251 bytes."""
    lines = []
    for name, keys in sections:
        if lines:
            lines.append("")
        lines.append("[%s]" % name)
        lines += ["%s=%s" % item for item in keys]
    return ("\r\n".join(lines) + "\r\n").encode("cp1251")


def song_keys(slot, song):
    keys = [("Button%d" % slot, song.caption)]
    if song.text_in_kit:
        keys.append(("Text%d" % slot, song.text_in_kit))
    keys.append(("Song%d" % slot, song.audio_in_kit))
    if song.icon_in_kit:
        keys.append(("Icon%d" % slot, song.icon_in_kit))
    keys.append(("Vol%d" % slot, str(song.volume)))
    return keys


def first_kit():
    themes = []
    for number, (caption, icon, _) in THEMES.items():
        themes += [("Button%d" % number, caption),
                   ("Icon%d" % number, kit_path("ICONS", icon + ".bmp"))]
    sections = [("Option", [("File", kit_path("TEMES", "First.qbk"))]), ("TemaArtist", themes)]
    for number, (_, _, songs) in THEMES.items():
        keys = []
        for slot, song in songs.items():
            keys += song_keys(slot, song)
        sections.append(("Section%d" % number, keys))
    return kit_text(sections)


def concert_kit():
    """A second, smaller kit to switch to: favourites of the first one and an encore."""
    pick = [(1, 1), (2, 4), (3, 2), (2, 1), (1, 6)]
    encore = [(3, 7), (2, 5)]
    sections = [
        ("Option", [("File", kit_path("TEMES", "Concert.qbk"))]),
        ("TemaArtist", [("Button1", "Концерт"), ("Icon1", kit_path("ICONS", "stage.bmp")),
                        ("Button2", "Encore"), ("Icon2", kit_path("ICONS", "jazz.bmp"))]),
    ]
    for number, choice in ((1, pick), (2, encore)):
        keys = []
        for slot, (theme, song_slot) in enumerate(choice, start=1):
            keys += song_keys(slot, THEMES[theme][2][song_slot])
        sections.append(("Section%d" % number, keys))
    return kit_text(sections)


def host_path(drive, windows_path):
    """Finds a Windows path under `drive` without regard to case, as the program does."""
    here = drive
    for part in windows_path[3:].split("\\"):
        matches = [p for p in here.iterdir() if p.name.lower() == part.lower()]
        if not matches:
            return None
        here = matches[0]
    return here


def check(drive):
    """Every path a kit names exists, and the drive stays small."""
    for kit in sorted((drive / "KARVEL" / "TEMES").glob("*.qbk")):
        for line in kit.read_bytes().decode("cp1251").split("\r\n"):
            key, _, value = line.partition("=")
            if value.startswith("C:\\") and key != "File":
                if host_path(drive, value) is None:
                    sys.exit("make-demo: %s names %s, which is missing" % (kit.name, value))
    total = sum(p.stat().st_size for p in drive.rglob("*") if p.is_file())
    if total > MOST_BYTES:
        sys.exit("make-demo: the drive has %d bytes, more than %d" % (total, MOST_BYTES))
    return total


def build(drive, scratch):
    karvel = drive / "KARVEL"
    folders = {name: karvel / name for name in ("TEMES", "SONGS", "TEXTS", "ICONS")}
    for folder in folders.values():
        folder.mkdir(parents=True)
    (drive / "WINDOWS").mkdir()
    # The settings of a fresh demo: a teal window, the demo kit, words shown on a song's click.
    (drive / "WINDOWS" / "pelcor.ini").write_bytes(
        b"[COLORS]\r\nRed=0\r\nGreen=128\r\nBlue=128\r\n"
        b"[LastUserFile]\r\nNameFile=C:\\KARVEL\\TEMES\\First.qbk\r\n"
        b"[OptionS]\r\nCheckBoxNoTxt=ON\r\n")

    for number, (caption, icon, songs) in THEMES.items():
        write_icon(folders["ICONS"] / (icon + ".bmp"), icon)
        for slot, song in songs.items():
            print("make-demo: theme %d, song %d: %s" % (number, slot, song.audio))
            make_song(song, folders["SONGS"], scratch)
            if song.words:
                words = rtf.document(song.caption, rtf.lyrics(song.words))
                (folders["TEXTS"] / song.text).write_bytes(words)
            if song.icon:
                write_icon(folders["ICONS"] / (song.icon + ".bmp"), song.icon)

    (karvel / "NoIcoS.bmp").write_bytes(pictures.bitmap8(icons.song_fallback()))
    (karvel / "NoIcoT.bmp").write_bytes(pictures.bitmap8(icons.theme_fallback()))
    (karvel / "NoRtf.rtf").write_bytes(rtf.document("Текста нет", rtf.lyrics(NO_TEXT)))
    write_splash(karvel / "Zastavka.jpg", scratch)
    (folders["TEMES"] / "First.qbk").write_bytes(first_kit())
    (folders["TEMES"] / "Concert.qbk").write_bytes(concert_kit())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=HERE.parent / "demo" / "drive_c",
                        help="the folder to write drive C into (replaced)")
    out = parser.parse_args().out.resolve()
    for tool in ("lame", "convert"):
        if shutil.which(tool) is None:
            sys.exit("make-demo: %s is missing (apt-get install lame imagemagick)" % tool)
    if not os.path.exists(SPLASH_FONT):
        sys.exit("make-demo: %s is missing (apt-get install fonts-dejavu-core)" % SPLASH_FONT)

    with tempfile.TemporaryDirectory() as scratch:
        scratch = Path(scratch)
        drive = scratch / "drive_c"
        build(drive, scratch)
        total = check(drive)
        if out.exists():
            shutil.rmtree(out)
        shutil.copytree(drive, out)
    print("make-demo: wrote %s (%d bytes)" % (out, total))


if __name__ == "__main__":
    main()
