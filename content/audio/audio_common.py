"""Shared steps of the sound and music generators: loudness measurement and levelling with
sox, and Ogg Vorbis encoding with oggenc.

Loudness is measured on a K-weighted copy of the signal (a high-pass at 38 Hz and a +4 dB
shelf above 1.5 kHz, the shape of the broadcast loudness weighting) with sox's stats:
effects use the loudest 100 ms window, music the RMS of the whole piece. Peaks are
measured on the plain signal and kept below -1 dBFS after encoding."""
import array
import math
import os
import subprocess
import tempfile

SOX = 'sox'
OGGENC = 'oggenc'
K_WEIGHTING = ['highpass', '38', 'treble', '4', '1500', '0.707q']


def _stats(path, effects=()):
    out = subprocess.run([SOX, path, '-n'] + list(effects) + ['stats'], capture_output=True,
                         text=True, check=True).stderr
    values = {}
    # With several channels, stats prints the overall value first on each line.
    for line in out.splitlines():
        fields = line.split()
        for i, f in enumerate(fields):
            try:
                number = float(f)
            except ValueError:
                continue
            values[' '.join(fields[:i])] = number
            break
    return values


def _weighted(path):
    raw = subprocess.run([SOX, path, '-t', 'f32', '-c', '1', '-r', '44100', '-'] + K_WEIGHTING,
                         capture_output=True, check=True).stdout
    samples = array.array('f')
    samples.frombytes(raw[:len(raw) // 4 * 4])
    return samples


def _db(mean_square):
    return 10 * math.log10(mean_square) if mean_square > 0 else -120.0


def measure_whole(path):
    """(peak dBFS, K-weighted RMS dB of the whole, seconds), with sox alone: for music."""
    plain = _stats(path)
    weighted = _stats(path, K_WEIGHTING)
    return (plain['Pk lev dB'], weighted['RMS lev dB'], plain['Length s'])


def measure(path, window):
    """(peak dBFS, K-weighted loudest-window RMS dB, K-weighted whole RMS dB, seconds)."""
    plain = _stats(path)
    samples = _weighted(path)
    n = len(samples)
    prefix = [0.0]
    total = 0.0
    for v in samples:
        total += v * v
        prefix.append(total)
    size = max(1, min(n, int(window * 44100)))
    step = 441
    loudest = 0.0
    for start in range(0, max(1, n - size + 1), step):
        loudest = max(loudest, (prefix[start + size] - prefix[start]) / size)
    whole = total / n if n else 0.0
    return (plain['Pk lev dB'], _db(loudest), _db(whole), plain['Length s'])


def level_and_encode(wav, ogg, target, window, use_whole, quality=4, serial=1):
    """Scales wav so that its loudness (the loudest window, or the whole when use_whole)
    meets target dB, unless the peak would then pass -1.5 dBFS, and encodes it."""
    if use_whole:
        peak, loud, _ = measure_whole(wav)
    else:
        peak, loud, _, _ = measure(wav, window)
    gain = min(target - loud, -1.5 - peak)
    with tempfile.TemporaryDirectory() as tmp:
        levelled = os.path.join(tmp, 'levelled.wav')
        subprocess.run([SOX, '-R', wav, '-b', '16', levelled, 'gain', '%.2f' % gain], check=True,
                       capture_output=True)
        os.makedirs(os.path.dirname(ogg), exist_ok=True)
        subprocess.run([OGGENC, '-Q', '-q', str(quality), '-s', str(serial), '-o', ogg, levelled],
                       check=True)
    return gain


def check_encoded(ogg, target, window, use_whole, tolerance):
    """Measures the encoded file; returns a list of problems (empty when fine)."""
    if use_whole:
        peak, loud, seconds = measure_whole(ogg)
    else:
        peak, loud, _, seconds = measure(ogg, window)
    problems = []
    if peak >= -1.0:
        problems.append('%s: peak %.2f dBFS is not below -1 dBFS' % (ogg, peak))
    if abs(loud - target) > tolerance:
        problems.append('%s: loudness %.1f dB, wanted %.1f +- %.1f' % (ogg, loud, target, tolerance))
    return problems, (peak, loud, seconds)
