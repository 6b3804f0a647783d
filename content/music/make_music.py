#!/usr/bin/python3
"""Renders one piece of music from its ABC notation into a looping Ogg Vorbis file.

Usage: make_music.py PIECE.abc OUT.ogg [REPORT]

abc2midi turns the notation into MIDI and fluidsynth plays it with the General MIDI sound
font of the fluid-soundfont-gm package, at 44100 Hz in stereo. Every piece ends with a part
"Z" of rests that only gives the last notes room to ring out: the loop is the music before
it, and what rings past the loop's end is mixed into its start, so that playing the file
over and over sounds like playing the piece over and over, without a click. The file is
levelled to one K-weighted loudness over its whole length, peaks below -1 dBFS."""
import array
import os
import re
import subprocess
import sys
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'audio'))
import audio_common  # noqa: E402

RATE = 44100
TARGET = -20.0   # K-weighted RMS of the whole piece, dB
TOLERANCE = 1.0
SOUND_FONT = '/usr/share/sounds/sf2/FluidR3_GM.sf2'


def loop_seconds(abc_text):
    """The length of the music before part Z: bars in part order times the bar length."""
    header = {}
    parts = {}
    current = None
    for line in abc_text.splitlines():
        line = line.strip()
        if not line or line.startswith('%'):
            continue
        m = re.match(r'^([A-Za-z]):(.*)$', line)
        if m and not line.startswith('|'):
            key, value = m.group(1), m.group(2).strip()
            if key == 'P' and current is None and 'K' not in header:
                header['order'] = value
            elif key == 'P':
                current = value
                parts[current] = 0
            else:
                header.setdefault(key, value)
            continue
        if current is not None:
            parts[current] += line.count('|')
    num, den = (int(x) for x in header['M'].split('/'))
    quarter_notes = num * 4 / den
    tempo = float(header['Q'].split('=')[1])
    bars = sum(parts[p] for p in header['order'] if p != 'Z')
    return bars * quarter_notes * 60.0 / tempo


def read_frames(path):
    with wave.open(path) as w:
        data = array.array('h')
        data.frombytes(w.readframes(w.getnframes()))
    return data


def seam_problem(ogg):
    """Compares the jump from the last sample to the first with the sample-to-sample
    steps inside the piece (its first and last two seconds): a seamless loop jumps by no
    more than a step the music itself takes; a click jumps by far more. Lossy coding moves
    samples a little, hence the factor of two."""
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, 'decoded.wav')
        subprocess.run(['sox', '-R', ogg, '-b', '16', wav], check=True, capture_output=True)
        data = read_frames(wav)
    left = data[0::2]
    span = min(len(left) // 2, 2 * RATE)
    steps = sorted(abs(left[i + 1] - left[i])
                   for i in list(range(span)) + list(range(len(left) - span, len(left) - 1)))
    typical = steps[int(len(steps) * 0.999)]
    jump = abs(left[0] - left[-1])
    if jump > 2 * max(typical, 64):
        return '%s: loop seam jumps by %d, steps inside reach %d' % (ogg, jump, typical)
    return None


def main():
    abc, ogg = sys.argv[1], sys.argv[2]
    report = sys.argv[3] if len(sys.argv) > 3 else None
    with open(abc) as f:
        seconds = loop_seconds(f.read())
    frames = int(round(seconds * RATE))
    with tempfile.TemporaryDirectory() as tmp:
        mid = os.path.join(tmp, 'piece.mid')
        subprocess.run(['abc2midi', abc, '-o', mid], check=True, capture_output=True)
        rendered = os.path.join(tmp, 'rendered.wav')
        subprocess.run(['fluidsynth', '-ni', '-q', '-r', str(RATE), '-T', 'wav', '-O', 's16',
                        '-F', rendered, SOUND_FONT, mid], check=True, capture_output=True)
        head = os.path.join(tmp, 'head.wav')
        tail = os.path.join(tmp, 'tail.wav')
        looped = os.path.join(tmp, 'looped.wav')
        subprocess.run(['sox', '-R', rendered, head, 'trim', '0', '%ds' % frames], check=True)
        subprocess.run(['sox', '-R', rendered, tail, 'trim', '%ds' % frames], check=True)
        subprocess.run(['sox', '-R', '-m', '-v', '1', head, '-v', '1', tail, '-e', 'floating-point',
                        looped], check=True)
        audio_common.level_and_encode(looped, ogg, TARGET, 0, use_whole=True, quality=3)
    problems, (peak, loud, length) = audio_common.check_encoded(ogg, TARGET, 0, True, TOLERANCE)
    encoded = int(subprocess.run(['soxi', '-s', ogg], capture_output=True, text=True,
                                 check=True).stdout)
    if encoded != frames:
        problems.append('%s: %d samples long, the loop is %d' % (ogg, encoded, frames))
    if not 60 <= length <= 180:
        problems.append('%s: %.1f s is not between one and three minutes' % (ogg, length))
    seam = seam_problem(ogg)
    if seam:
        problems.append(seam)
    if report:
        os.makedirs(os.path.dirname(os.path.abspath(report)), exist_ok=True)
        with open(report, 'w') as f:
            f.write('%-28s %6.2f s  peak %6.2f dBFS  loudness %6.2f dB\n' %
                    (os.path.basename(ogg), length, peak, loud))
    for p in problems:
        print('make_music: ' + p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
