"""Standard MIDI Files of type 1: a tempo track, then one track per voice."""

import struct

import music

DIVISION = 480  # ticks per quarter note
DRUM_CHANNEL = 9


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return b"\xff" + bytes([kind]) + variable_length(len(data)) + data


def track_chunk(events):
    """`events` are (tick, order, bytes); note-offs sort before note-ons at the same tick."""
    body = b""
    now = 0
    for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
        body += variable_length(tick - now) + data
        now = tick
    body += b"\x00" + meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(body)) + body


def tempo_event(tick, bpm):
    return (tick, 0, meta(0x51, struct.pack(">I", round(60_000_000 / bpm))[1:]))


def song_file(plan, notes, title, voices):
    """`voices` maps a voice to (track name, GM program, channel, volume, pan)."""
    bar_ticks = plan.beats * DIVISION
    conductor = [
        (0, 0, meta(0x03, title.encode("ascii"))),
        (0, 0, meta(0x58, bytes([plan.beats, 2, 24, 8]))),
        (0, 0, meta(0x59, bytes([0, 0 if plan.mode == music.MAJOR else 1]))),
        tempo_event(0, plan.tempo),
    ]
    for bar, bpm in plan.tempo_changes:
        conductor.append(tempo_event(bar * bar_ticks, bpm))
    tracks = [track_chunk(conductor)]
    for voice, (name, program, channel, volume, pan) in voices.items():
        events = [
            (0, 0, meta(0x03, name.encode("ascii"))),
            (0, 0, bytes([0xB0 | channel, 7, volume])),
            (0, 0, bytes([0xB0 | channel, 10, pan])),
            (0, 0, bytes([0xB0 | channel, 91, 40])),  # a little reverb
        ]
        if channel != DRUM_CHANNEL:
            events.append((0, 0, bytes([0xC0 | channel, program])))
        for note in notes:
            if note.voice != voice:
                continue
            on = round(note.start * DIVISION)
            off = max(on + 1, round((note.start + note.length) * DIVISION))
            events.append((on, 2, bytes([0x90 | channel, note.pitch, note.velocity])))
            events.append((off, 1, bytes([0x80 | channel, note.pitch, 64])))
        tracks.append(track_chunk(events))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), DIVISION)
    return header + b"".join(tracks)
