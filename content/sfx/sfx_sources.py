"""Recipes of the game's sound effects, read by make_sfx.py.

Each sound is a list of voices mixed together. A voice plays one waveform:
  wave   sine | triangle | square | saw | noise | pluck (a plucked string)
  f      frequency in Hz, or (start, end) for a glide (not for noise)
  t      start in seconds; d: length in seconds; a: amplitude (relative)
  att    attack in seconds; dec: exponential decay rate per second (0 = none)
  lp     low-pass cut-off in Hz, or (start, end) for a sweep
  am     (rate Hz, depth 0..1): tremolo; vib: (rate Hz, depth as a fraction of f)
A sound may also name sox effects to run after mixing (for example a little reverb)."""

C5, D5, E5, G5, A5 = 523.25, 587.33, 659.26, 783.99, 880.0
C6, E6, G6 = 1046.5, 1318.5, 1568.0
G4, B4, D5_ = 392.0, 493.88, 587.33

SOUNDS = {
    # Buttons of the dialogs: a short wooden tick.
    'button_click': dict(voices=[
        dict(wave='sine', f=(1900, 1400), d=0.05, a=1.0, dec=85),
        dict(wave='triangle', f=700, d=0.06, a=0.45, dec=70),
        dict(wave='noise', d=0.012, a=0.35, dec=260, lp=4500),
    ]),
    # The board (tiles and the sets box).
    'tile_select_1': dict(voices=[
        dict(wave='sine', f=1200, d=0.10, a=1.0, dec=45),
        dict(wave='sine', f=1810, d=0.07, a=0.45, dec=60),
        dict(wave='noise', d=0.025, a=0.35, dec=180, lp=4000),
    ]),
    'tile_select_2': dict(voices=[
        dict(wave='sine', f=C6, d=0.40, a=1.0, dec=9),
        dict(wave='sine', f=2 * C6, d=0.25, a=0.2, dec=14),
        dict(wave='sine', f=G6, t=0.07, d=0.45, a=0.9, dec=8),
        dict(wave='sine', f=2 * G6, t=0.07, d=0.25, a=0.15, dec=14),
    ], fx=['reverb', '25', '50', '40']),
    'tile_rollover': dict(voices=[
        dict(wave='sine', f=2400, d=0.05, a=0.6, dec=80),
        dict(wave='sine', f=3600, d=0.03, a=0.2, dec=120),
    ]),
    'tile_deselect': dict(voices=[
        dict(wave='sine', f=(950, 620), d=0.13, a=1.0, dec=22),
        dict(wave='triangle', f=(475, 310), d=0.10, a=0.3, dec=30),
    ]),
    'negative': dict(voices=[
        dict(wave='square', f=185, d=0.30, a=0.5, dec=9, lp=900),
        dict(wave='square', f=174, d=0.30, a=0.5, dec=9, lp=900),
        dict(wave='sine', f=92, d=0.25, a=0.6, dec=12),
    ]),
    'click_hint': dict(voices=[
        dict(wave='sine', f=G6, d=0.30, a=0.8, dec=12),
        dict(wave='sine', f=2093.0, t=0.06, d=0.30, a=0.8, dec=12),
        dict(wave='sine', f=2637.0, t=0.12, d=0.35, a=0.8, dec=11),
        dict(wave='sine', f=3136.0, t=0.18, d=0.40, a=0.6, dec=10),
    ], fx=['reverb', '35', '50', '60']),
    'click_shuffle': dict(voices=[
        dict(wave='noise', d=0.60, a=0.9, att=0.05, dec=3, lp=2600, am=(17, 0.85)),
        dict(wave='noise', t=0.02, d=0.55, a=0.5, att=0.05, dec=4, lp=1200, am=(11, 0.7)),
    ]),
    'sets_activated': dict(voices=[
        dict(wave='triangle', f=E6, d=0.65, a=0.8, dec=6),
        dict(wave='triangle', f=1975.5, t=0.05, d=0.65, a=0.7, dec=6),
        dict(wave='sine', f=2637.0, t=0.10, d=0.55, a=0.35, dec=7),
    ], fx=['reverb', '30', '50', '50']),
    'sets_flyto': dict(voices=[
        dict(wave='noise', d=0.40, a=1.0, att=0.15, dec=6, lp=(700, 5200)),
        dict(wave='sine', f=(300, 900), d=0.35, a=0.15, att=0.1, dec=6),
    ]),
    'sets_tileplaced': dict(voices=[
        dict(wave='sine', f=330, d=0.13, a=1.0, dec=32),
        dict(wave='sine', f=660, d=0.08, a=0.3, dec=45),
        dict(wave='noise', d=0.03, a=0.35, dec=120, lp=1800),
    ]),
    'click_submit': dict(voices=[
        dict(wave='triangle', f=G5, d=0.22, a=0.9, dec=12),
        dict(wave='triangle', f=1175.0, t=0.08, d=0.32, a=0.9, dec=9),
        dict(wave='sine', f=2350.0, t=0.08, d=0.2, a=0.15, dec=14),
    ], fx=['reverb', '20', '50', '40']),
    'match_antique': dict(voices=[
        dict(wave='triangle', f=C5, t=0.00, d=1.2, a=0.7, dec=3),
        dict(wave='triangle', f=E5, t=0.10, d=1.1, a=0.7, dec=3),
        dict(wave='triangle', f=G5, t=0.20, d=1.0, a=0.7, dec=3),
        dict(wave='triangle', f=C6, t=0.30, d=1.0, a=0.8, dec=3),
        dict(wave='sine', f=2093.0, t=0.45, d=0.5, a=0.35, dec=7),
        dict(wave='sine', f=2637.0, t=0.55, d=0.5, a=0.35, dec=7),
        dict(wave='sine', f=3136.0, t=0.65, d=0.6, a=0.35, dec=6),
    ], fx=['reverb', '45', '50', '70']),
    'henry_start': dict(voices=[
        dict(wave='sine', f=(480, 1400), d=0.48, a=1.0, att=0.03, dec=1.5, vib=(7, 0.025)),
        dict(wave='sine', f=(1400, 880), t=0.48, d=0.30, a=1.0, dec=5, vib=(7, 0.025)),
        dict(wave='sine', f=(960, 2800), d=0.48, a=0.12, att=0.03, dec=1.5),
    ], fx=['reverb', '20', '50', '40']),
    # City map: one sound per location, played when the pointer moves over it.
    'map_grammasattic_over': dict(voices=[
        dict(wave='sine', f=2093.0, d=0.5, a=0.8, dec=7),
        dict(wave='sine', f=4186.0, d=0.3, a=0.12, dec=10),
        dict(wave='sine', f=2637.0, t=0.13, d=0.5, a=0.8, dec=7),
        dict(wave='sine', f=3136.0, t=0.26, d=0.6, a=0.7, dec=6),
    ], fx=['reverb', '30', '50', '50']),
    'map_yardsale_over': dict(voices=[
        dict(wave='sine', f=2300, d=0.6, a=0.8, dec=6, am=(28, 0.3)),
        dict(wave='sine', f=2950, d=0.6, a=0.5, dec=7, am=(28, 0.3)),
        dict(wave='sine', f=3900, d=0.4, a=0.25, dec=9),
    ]),
    'map_fleamarket_over': dict(voices=[
        dict(wave='square', f=545, d=0.35, a=0.5, dec=13, lp=3000),
        dict(wave='square', f=815, d=0.35, a=0.5, dec=13, lp=3000),
        dict(wave='noise', d=0.02, a=0.2, dec=150, lp=5000),
    ]),
    'map_antiqueshop_over': dict(voices=[
        dict(wave='sine', f=1760, d=0.7, a=0.8, dec=5),
        dict(wave='sine', f=2637, d=0.6, a=0.4, dec=6),
        dict(wave='sine', f=3520, d=0.4, a=0.2, dec=8),
        dict(wave='sine', f=1760, t=0.16, d=0.6, a=0.5, dec=5),
        dict(wave='sine', f=2637, t=0.16, d=0.5, a=0.25, dec=6),
    ], fx=['reverb', '25', '50', '40']),
    'map_estatesale_over': dict(voices=[
        dict(wave='pluck', f=f, t=0.045 * i, d=0.8 - 0.045 * i, a=0.6, dec=3)
        for i, f in enumerate([C5, D5, E5, G5, A5, C6])
    ], fx=['reverb', '40', '50', '60']),
    'map_texasauction_over': dict(voices=[
        dict(wave='pluck', f=f, t=0.06 * i, d=0.5, a=0.7, dec=6, bright=True)
        for i, f in enumerate([G4, B4, D5_, 2 * G4])
    ]),
    'map_auctionhouse_over': dict(voices=[
        dict(wave='sine', f=180, d=0.12, a=1.0, dec=40),
        dict(wave='noise', d=0.04, a=0.6, dec=90, lp=2500),
        dict(wave='sine', f=180, t=0.18, d=0.14, a=1.0, dec=35),
        dict(wave='noise', t=0.18, d=0.04, a=0.6, dec=90, lp=2500),
    ]),
}
