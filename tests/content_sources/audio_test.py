"""The sound and music generators: loop length from the notation, loudness levelling,
the encoded-file checks and the loop-seam check."""
import math
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import wave

SOURCE = os.environ.get('MC_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..', '..'))
sys.path.insert(0, os.path.join(SOURCE, 'content', 'audio'))
sys.path.insert(0, os.path.join(SOURCE, 'content', 'music'))
sys.path.insert(0, os.path.join(SOURCE, 'content', 'sfx'))
import audio_common  # noqa: E402
import make_music  # noqa: E402
import make_sfx  # noqa: E402
from sfx_sources import SOUNDS  # noqa: E402


def write_wav(path, samples, rate=44100):
    with wave.open(path, 'wb') as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(struct.pack('<%dh' % (2 * len(samples)),
                                  *[max(-32768, min(32767, int(s * 32767))) for s in samples
                                    for _ in (0, 1)]))


def sine(freq, seconds, amp, rate=44100):
    return [amp * math.sin(2 * math.pi * freq * i / rate) for i in range(int(seconds * rate))]


class LoopLength(unittest.TestCase):
    def test_parts_in_order_without_the_ring_out(self):
        abc = """X:1
T:t
M:3/4
L:1/8
Q:1/4=120
P:AABZ
K:C
P:A
"C"c2 e2 g2|c6|
P:B
%%MIDI gchordoff
g6|e6|c6|
P:Z
z6|z6|z6|z6|
"""
        # (2 + 2 + 3) bars of 3 quarter notes at 120 per minute.
        self.assertAlmostEqual(make_music.loop_seconds(abc), 7 * 3 * 0.5)

    def test_shipped_pieces_last_one_to_three_minutes(self):
        folder = os.path.join(SOURCE, 'content', 'music')
        names = sorted(n for n in os.listdir(folder) if n.endswith('.abc'))
        self.assertIn('music_grandmasattic.abc', names)
        self.assertIn('endgame.abc', names)
        for name in names:
            with open(os.path.join(folder, name)) as f:
                seconds = make_music.loop_seconds(f.read())
            self.assertTrue(60 <= seconds <= 180, '%s: %.1f s' % (name, seconds))


class Levelling(unittest.TestCase):
    def test_levelled_file_meets_target_with_headroom(self):
        with tempfile.TemporaryDirectory() as tmp:
            wav = os.path.join(tmp, 'quiet.wav')
            write_wav(wav, sine(440, 1.0, 0.05))
            ogg = os.path.join(tmp, 'out.ogg')
            audio_common.level_and_encode(wav, ogg, -15.0, 0.1, use_whole=False)
            problems, (peak, loud, seconds) = audio_common.check_encoded(ogg, -15.0, 0.1, False, 1.0)
            self.assertEqual(problems, [])
            self.assertLess(peak, -1.0)
            self.assertAlmostEqual(loud, -15.0, delta=1.0)

    def test_peak_limit_wins_over_loudness(self):
        # A short click at low average level: reaching the target would clip, so the gain
        # stops at the peak ceiling and the check reports the loudness shortfall.
        with tempfile.TemporaryDirectory() as tmp:
            wav = os.path.join(tmp, 'click.wav')
            write_wav(wav, [0.9] + [0.0] * 44099)
            ogg = os.path.join(tmp, 'out.ogg')
            audio_common.level_and_encode(wav, ogg, -15.0, 0.1, use_whole=False)
            problems, (peak, _, _) = audio_common.check_encoded(ogg, -15.0, 0.1, False, 1.0)
            self.assertTrue(any('loudness' in p for p in problems), problems)

    def test_check_reports_a_clipping_file(self):
        with tempfile.TemporaryDirectory() as tmp:
            wav = os.path.join(tmp, 'loud.wav')
            write_wav(wav, sine(440, 0.5, 1.0))
            ogg = os.path.join(tmp, 'loud.ogg')
            subprocess.run(['oggenc', '-Q', '-o', ogg, wav], check=True)
            problems, _ = audio_common.check_encoded(ogg, -3.0, 0.1, False, 1.0)
            self.assertTrue(any('peak' in p for p in problems), problems)


class LoopSeam(unittest.TestCase):
    def encode(self, tmp, samples):
        wav = os.path.join(tmp, 'loop.wav')
        write_wav(wav, samples)
        ogg = os.path.join(tmp, 'loop.ogg')
        subprocess.run(['oggenc', '-Q', '-q', '5', '-o', ogg, wav], check=True)
        return ogg

    def test_whole_periods_loop_cleanly_and_a_jump_is_found(self):
        with tempfile.TemporaryDirectory() as tmp:
            # 220 Hz over exactly 2 s: a whole number of periods, seamless.
            smooth = sine(220, 2.0, 0.3)
            self.assertIsNone(make_music.seam_problem(self.encode(tmp, smooth)))
            # Cut in the middle of a period: the last sample jumps back to the first.
            cut = sine(220, 2.0, 0.3)[:-50]
            cut = [s + (0.25 if i > len(cut) - 200 else 0.0) for i, s in enumerate(cut)]
            self.assertIsNotNone(make_music.seam_problem(self.encode(tmp, cut)))


class Effects(unittest.TestCase):
    def test_every_named_effect_has_a_recipe(self):
        named = ['tile_select_1', 'tile_select_2', 'negative', 'henry_start', 'click_hint',
                 'click_shuffle', 'sets_activated', 'sets_flyto', 'tile_rollover',
                 'tile_deselect', 'sets_tileplaced', 'click_submit', 'match_antique',
                 'map_grammasattic_over', 'map_yardsale_over', 'map_fleamarket_over',
                 'map_antiqueshop_over', 'map_estatesale_over', 'map_texasauction_over',
                 'map_auctionhouse_over',
                 # the dialogs' buttons
                 'button_click']
        self.assertEqual(sorted(SOUNDS), sorted(named))

    def test_rendering_is_repeatable_and_short(self):
        for name in ('click_shuffle', 'map_estatesale_over'):
            first = make_sfx.render(name, SOUNDS[name])
            self.assertEqual(first, make_sfx.render(name, SOUNDS[name]))
            self.assertLess(len(first) / 4 / 44100, 2.0)


if __name__ == '__main__':
    unittest.main()
