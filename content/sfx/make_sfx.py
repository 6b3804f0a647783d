#!/usr/bin/python3
"""Synthesises the sound effects of sfx_sources.py into Ogg Vorbis files.

Usage: make_sfx.py OUTDIR [REPORT]

Writes OUTDIR/<name>.ogg for every sound (44100 Hz stereo), levelled so that the loudest
100 ms of each reach the same K-weighted loudness with peaks below -1 dBFS, and checks the
encoded files. REPORT, when given, receives one line of measurements per sound. The output
is the same on every run: noise comes from a seeded generator and oggenc gets a fixed
stream serial number."""
import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'audio'))
sys.path.insert(0, HERE)
import audio_common  # noqa: E402
from sfx_sources import SOUNDS  # noqa: E402

RATE = 44100
TARGET = -15.0     # K-weighted RMS of the loudest 100 ms, dB
WINDOW = 0.1
TOLERANCE = 1.0


def wave_value(kind, phase):
    p = phase - math.floor(phase)
    if kind == 'sine':
        return math.sin(2 * math.pi * p)
    if kind == 'triangle':
        return 4 * p - 1 if p < 0.5 else 3 - 4 * p
    if kind == 'square':
        return 1.0 if p < 0.5 else -1.0
    if kind == 'saw':
        return 2 * p - 1
    raise ValueError('unknown wave ' + kind)


def render_voice(v, rng):
    n = int(v['d'] * RATE)
    att = v.get('att', 0.002)
    dec = v.get('dec', 0.0)
    amp = v.get('a', 1.0)
    f = v.get('f', 0)
    f0, f1 = f if isinstance(f, tuple) else (f, f)
    lp = v.get('lp')
    lp0, lp1 = lp if isinstance(lp, tuple) else (lp, lp)
    am = v.get('am')
    vib = v.get('vib')
    out = [0.0] * n
    release = min(n, int(0.01 * RATE))
    if v['wave'] == 'pluck':
        # Karplus-Strong: a burst of noise circulating in a delay line of one period.
        period = max(2, int(round(RATE / f0)))
        line = [rng.uniform(-1, 1) for _ in range(period)]
        keep = 0.5 if v.get('bright') else 0.498
        for i in range(n):
            j = i % period
            nxt = line[(i + 1) % period]
            sample = line[j]
            line[j] = keep * (sample + nxt) * 0.999 if not v.get('bright') else keep * (sample + nxt)
            out[i] = sample
        raw = out
    else:
        raw = [0.0] * n
        phase = 0.0
        for i in range(n):
            t = i / RATE
            if v['wave'] == 'noise':
                raw[i] = rng.uniform(-1, 1)
                continue
            freq = f0 + (f1 - f0) * (i / max(1, n - 1))
            if vib:
                freq *= 1 + vib[1] * math.sin(2 * math.pi * vib[0] * t)
            phase += freq / RATE
            raw[i] = wave_value(v['wave'], phase)
    state = 0.0
    for i in range(n):
        t = i / RATE
        sample = raw[i]
        if lp0:
            cut = lp0 + (lp1 - lp0) * (i / max(1, n - 1))
            alpha = 1 - math.exp(-2 * math.pi * cut / RATE)
            state += alpha * (sample - state)
            sample = state
        env = min(1.0, t / att) if att > 0 else 1.0
        if dec:
            env *= math.exp(-dec * max(0.0, t - att))
        if i >= n - release:
            env *= (n - i) / release
        if am:
            env *= 1 - am[1] * 0.5 * (1 + math.sin(2 * math.pi * am[0] * t))
        out[i] = sample * env * amp
    return out


def render(name, recipe):
    rng = random.Random(name)
    voices = recipe['voices']
    length = max(v.get('t', 0) + v['d'] for v in voices)
    mix = [0.0] * (int(length * RATE) + 1)
    for v in voices:
        start = int(v.get('t', 0) * RATE)
        for i, s in enumerate(render_voice(v, rng)):
            mix[start + i] += s
    peak = max(abs(s) for s in mix) or 1.0
    scale = 0.5 / peak
    return struct.pack('<%dh' % (2 * len(mix)),
                       *[int(s * scale * 32767) for s in mix for _ in (0, 1)])


def main():
    out_dir = sys.argv[1]
    report = sys.argv[2] if len(sys.argv) > 2 else None
    os.makedirs(out_dir, exist_ok=True)
    lines = []
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        for name in sorted(SOUNDS):
            recipe = SOUNDS[name]
            dry = os.path.join(tmp, name + '_dry.wav')
            with wave.open(dry, 'wb') as w:
                w.setnchannels(2)
                w.setsampwidth(2)
                w.setframerate(RATE)
                w.writeframes(render(name, recipe))
            wet = os.path.join(tmp, name + '.wav')
            fx = recipe.get('fx')
            if fx:
                subprocess.run(['sox', '-R', dry, wet, 'pad', '0', '0.5'] + fx +
                               ['fade', 'q', '0', '-0', '0.3'], check=True, capture_output=True)
            else:
                os.replace(dry, wet)
            ogg = os.path.join(out_dir, name + '.ogg')
            audio_common.level_and_encode(wet, ogg, TARGET, WINDOW, use_whole=False)
            found, (peak, loud, seconds) = audio_common.check_encoded(
                ogg, TARGET, WINDOW, use_whole=False, tolerance=TOLERANCE)
            problems += found
            lines.append('%-24s %5.2f s  peak %6.2f dBFS  loudest 100 ms %6.2f dB' %
                         (name + '.ogg', seconds, peak, loud))
    if report:
        with open(report, 'w') as f:
            f.write('\n'.join(lines) + '\n')
    for p in problems:
        print('make_sfx: ' + p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
