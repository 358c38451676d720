"""Tunes of our own: a small composer, a synthesiser for WAV and MP3, and notes for MIDI files.

A song is a plan (key, mode, tempo, metre, chord progression, accompaniment style, seed). The
composer turns it into notes; the same notes become samples or MIDI events.
"""

import math
import random
from dataclasses import dataclass, field

MAJOR = (0, 2, 4, 5, 7, 9, 11)
MINOR = (0, 2, 3, 5, 7, 8, 10)


@dataclass
class Plan:
    key: int  # MIDI note of the tonic, around middle C
    mode: tuple
    tempo: float  # quarter notes per minute
    beats: int  # beats (quarter notes) per bar
    progression: list  # scale degree (0-based) of each bar's chord
    style: str  # "arpeggio", "waltz", "pad", "stride"
    seed: int
    tempo_changes: list = field(default_factory=list)  # (bar, tempo)
    drums: bool = False


@dataclass
class Note:
    start: float  # in beats
    length: float  # in beats
    pitch: int
    voice: str  # "melody", "chords", "bass", "drums"
    velocity: int = 90


def degree_pitch(plan, degree, octave_shift=0):
    octave, step = divmod(degree, 7)
    return plan.key + 12 * (octave + octave_shift) + plan.mode[step]


# The melody's range in scale degrees above the tonic: the fifth to the ninth an octave up, above
# the chords.
LOW, HIGH = 4, 15

RHYTHMS_4 = [
    [1, 1, 1, 1],
    [2, 1, 1],
    [1.5, 0.5, 2],
    [1, 1, 2],
    [0.5, 0.5, 1, 2],
    [1, 0.5, 0.5, 2],
    [3, 1],
]
RHYTHMS_3 = [[1, 1, 1], [2, 1], [1.5, 0.5, 1], [1, 2], [0.5, 0.5, 1, 1]]


def compose_melody(plan, rng):
    """Phrases of four bars: the second phrase echoes the first and comes home to the tonic."""
    rhythms = RHYTHMS_3 if plan.beats == 3 else RHYTHMS_4
    bars = len(plan.progression)
    phrase_rhythms = [rng.choice(rhythms) for _ in range(4)]
    notes = []
    degree = 7 + rng.choice([0, 2, 4])
    for bar, chord in enumerate(plan.progression):
        start = bar * plan.beats
        chord_tones = [chord + k for k in (0, 2, 4, 7, 9, 11, 14, 16, -3, -5, -7)]
        if bar == bars - 1:
            home = min((7, 14), key=lambda d: abs(d - degree))
            notes.append(Note(start, plan.beats, degree_pitch(plan, home), "melody", 96))
            break
        rhythm = phrase_rhythms[bar % 4]
        if bar % 8 >= 4 and bar % 4 == 3:
            rhythm = [plan.beats - 1, 1]  # a longer note before the next phrase
        at = start
        for i, length in enumerate(rhythm):
            if i == 0:
                candidates = [t for t in chord_tones if LOW <= t <= HIGH and t != degree] or [degree]
                degree = min(candidates, key=lambda t: (abs(t - degree), t))
            else:
                move = rng.choice([-1, 1, 1, -1, 2, -2, 0])
                degree = max(LOW, min(HIGH, degree + move))
            velocity = 100 if i == 0 else 84
            notes.append(Note(at, length * 0.95, degree_pitch(plan, degree), "melody", velocity))
            at += length
    return notes


def compose_accompaniment(plan):
    notes = []
    for bar, chord in enumerate(plan.progression):
        start = bar * plan.beats
        triad = [degree_pitch(plan, chord + k) for k in (0, 2, 4)]
        root = degree_pitch(plan, chord, -2)
        last = bar == len(plan.progression) - 1
        if plan.style == "waltz":
            notes.append(Note(start, 1, root, "bass", 92))
            for beat in (1, 2):
                if not last:
                    for p in triad:
                        notes.append(Note(start + beat, 0.8, p, "chords", 64))
            if last:
                for p in triad:
                    notes.append(Note(start, plan.beats, p, "chords", 60))
        elif plan.style == "arpeggio":
            notes.append(Note(start, plan.beats, root, "bass", 88))
            pattern = [triad[0], triad[1], triad[2], triad[0] + 12, triad[2], triad[1], triad[0] + 12, triad[1]]
            steps = plan.beats * 2 if not last else 1
            for i in range(steps):
                length = 0.5 if not last else plan.beats
                notes.append(Note(start + i * 0.5, length * 1.6, pattern[i % len(pattern)], "chords", 62))
        elif plan.style == "stride":
            for beat in range(plan.beats):
                if beat % 2 == 0:
                    notes.append(Note(start + beat, 0.9, root if beat == 0 else root + 7, "bass", 90))
                elif not last:
                    for p in triad:
                        notes.append(Note(start + beat, 0.6, p, "chords", 66))
        else:  # pad
            for p in triad:
                notes.append(Note(start, plan.beats * 0.98, p, "chords", 58))
            half = plan.beats / 2
            notes.append(Note(start, half, root, "bass", 86))
            if not last:
                notes.append(Note(start + half, half, root + 7, "bass", 80))
    if plan.drums:
        notes += compose_drums(plan)
    return notes


KICK, SNARE, HAT, CRASH = 36, 38, 42, 49


def compose_drums(plan):
    notes = []
    bars = len(plan.progression)
    for bar in range(bars):
        start = bar * plan.beats
        if bar == bars - 1:
            notes.append(Note(start, 1, CRASH, "drums", 100))
            notes.append(Note(start, 1, KICK, "drums", 110))
            break
        for eighth in range(plan.beats * 2):
            notes.append(Note(start + eighth / 2, 0.25, HAT, "drums", 70 if eighth % 2 else 86))
        for beat in range(plan.beats):
            drum = KICK if beat % 2 == 0 else SNARE
            notes.append(Note(start + beat, 0.25, drum, "drums", 104 if beat == 0 else 92))
    return notes


def compose(plan):
    rng = random.Random(plan.seed)
    return compose_melody(plan, rng) + compose_accompaniment(plan)


def beat_seconds(plan):
    """The time of each bar line in seconds, following the tempo changes."""
    tempo_at = dict(plan.tempo_changes)
    times = [0.0]
    tempo = plan.tempo
    for bar in range(len(plan.progression) + 2):
        tempo = tempo_at.get(bar, tempo)
        times.append(times[-1] + plan.beats * 60.0 / tempo)
    return times


def seconds_at(plan, beat, bar_times=None):
    bar_times = bar_times or beat_seconds(plan)
    bar, within = divmod(beat, plan.beats)
    bar = int(bar)
    return bar_times[bar] + (bar_times[bar + 1] - bar_times[bar]) * within / plan.beats


def length_seconds(plan):
    return beat_seconds(plan)[len(plan.progression)]


# --- synthesis -------------------------------------------------------------------------------

TABLE_SIZE = 4096


def wavetable(harmonics):
    table = [0.0] * TABLE_SIZE
    for k, amplitude in enumerate(harmonics, start=1):
        for i in range(TABLE_SIZE):
            table[i] += amplitude * math.sin(2 * math.pi * k * i / TABLE_SIZE)
    peak = max(abs(v) for v in table)
    return [v / peak for v in table]


@dataclass
class Timbre:
    harmonics: tuple
    attack: float  # seconds
    decay: float  # seconds of exponential decay (large: organ-like sustain)
    release: float
    gain: float


TIMBRES = {
    "piano": Timbre((1, 0.55, 0.3, 0.18, 0.1, 0.05), 0.005, 0.9, 0.25, 0.9),
    "flute": Timbre((1, 0.25, 0.08, 0.03), 0.06, 6.0, 0.15, 0.8),
    "guitar": Timbre((1, 0.7, 0.45, 0.3, 0.2, 0.12, 0.08), 0.003, 0.6, 0.2, 0.7),
    "strings": Timbre((1, 0.5, 0.35, 0.25, 0.18, 0.12), 0.25, 8.0, 0.4, 0.45),
    "bass": Timbre((1, 0.45, 0.15, 0.05), 0.008, 0.8, 0.12, 0.9),
    "bell": Timbre((1, 0.0, 0.4, 0.0, 0.2, 0.0, 0.1), 0.002, 1.2, 0.5, 0.6),
    "organ": Timbre((1, 0.6, 0.4, 0.0, 0.25, 0.0, 0.12), 0.02, 20.0, 0.08, 0.5),
}


def render(plan, notes, voices, rate):
    """Samples in -1..1 of the notes, each voice played by its timbre, with a soft echo."""
    bar_times = beat_seconds(plan)
    total = length_seconds(plan) + 1.5
    out = [0.0] * int(total * rate)
    tables = {name: wavetable(TIMBRES[name].harmonics) for name in set(voices.values())}
    for note in notes:
        if note.voice not in voices:
            continue
        timbre = TIMBRES[voices[note.voice]]
        table = tables[voices[note.voice]]
        begin = seconds_at(plan, note.start, bar_times)
        end = seconds_at(plan, note.start + note.length, bar_times)
        held = max(end - begin, 0.05)
        frequency = 440.0 * 2 ** ((note.pitch - 69) / 12)
        step = frequency * TABLE_SIZE / rate
        amplitude = timbre.gain * (note.velocity / 127) ** 1.5
        first = int(begin * rate)
        count = int((held + timbre.release) * rate)
        attack = max(1, int(timbre.attack * rate))
        held_samples = int(held * rate)
        decay = math.exp(-1.0 / (timbre.decay * rate))
        release = math.exp(-1.0 / (timbre.release * rate / 5))
        level = 0.0
        envelope = amplitude
        phase = 0.0
        for i in range(min(count, len(out) - first)):
            if i < attack:
                level = amplitude * i / attack
            elif i < held_samples:
                envelope *= decay
                level = envelope
            else:
                level *= release
            out[first + i] += level * table[int(phase) % TABLE_SIZE]
            phase += step
    echo = int(0.21 * rate)
    for i in range(echo, len(out)):
        out[i] += 0.28 * out[i - echo]
    peak = max(abs(v) for v in out) or 1.0
    fade = int(0.6 * rate)
    for i in range(fade):
        out[-1 - i] *= i / fade
    return [0.85 * v / peak for v in out]
