"""The fifty campaign layouts as drafted: name, description, difficulty, bottom-layer
picture and upper-layer rules (see draft_layouts.py). Rules: ex = keep tiles with both row
neighbours, e = keep tiles with all four neighbours, h = half-tile pyramid step, hx = half
step along the row, s = same again (towers), ir = inner rows, c = middle third of each row,
c2/c3 = every second/third column."""

LEVELS = [
 # Grandma's attic (levels 1-7)
 dict(name='Hope Chest', difficulty=1, rules=['ex'], gaps=None,
      desc='A plain chest of two layers to warm up in the attic.',
      art='''
#######
#######
#######
#######
'''),
 dict(name='Steamer Trunk', difficulty=1, rules=['ex'],
      desc='Two long shelves with a lid on top.',
      art='''
#########
.#######.
.#######.
#########
'''),
 dict(name='Quilt', difficulty=1, rules=['hx'], gaps=None,
      desc='Patches overlapping by half a tile, like a quilt on the bed.',
      art='''
#######
#######
#######
#######
#######
'''),
 dict(name='Rocking Chair', difficulty=1, rules=['ex', 'c'],
      desc='A seat, a back and a rocker: three layers for the first time.',
      art='''
##......##
##......##
##########
##########
.########.
'''),
 dict(name='Hat Boxes', difficulty=1, rules=['ex', 's'],
      desc='Round boxes stacked three high.',
      art='''
#####..#####
#####..#####
#####..#####
#####..#####
'''),
 dict(name='Dress Form', difficulty=2, rules=['ex', 'ex'],
      desc='A tailor\'s dummy: shoulders, waist and a wide skirt.',
      art='''
..######..
...####...
..######..
.########.
##########
'''),
 dict(name='Attic Window', difficulty=2, rules=['e', 's'],
      desc='A round window with its cross bars; the treasure hides in the panes.',
      art='''
..######..
.########.
##########
.########.
..######..
'''),
 # Yard sale (levels 8-14)
 dict(name='Folding Table', difficulty=2, rules=['ex', 'ex'],
      desc='A long table top on two pairs of legs.',
      art='''
############
############
.##......##.
.##......##.
'''),
 dict(name='Lemonade Stand', difficulty=2, rules=['ex', 'c'],
      desc='A counter with an awning: the price list hangs in the middle.',
      art='''
############
.##########.
..##....##..
..########..
..########..
'''),
 dict(name='Garden Gnome', difficulty=2, rules=['ex', 'ex'],
      desc='A pointed hat on a round little fellow.',
      art='''
......##......
.....####.....
....######....
...########...
..##########..
.############.
..##########..
'''),
 dict(name='Bicycle', difficulty=2, rules=['ex', 's', 'ex'],
      desc='Two wheels joined by a frame, and a bell on the handlebar.',
      art='''
.#####..#####.
##...####...##
##...####...##
##...####...##
.#####..#####.
'''),
 dict(name='Clothes Line', difficulty=3, rules=['ex', 's', 'ir', 'c'],
      desc='Shirts pegged on three lines between two poles.',
      art='''
#.#########.#
#...........#
#.#########.#
#...........#
#.#########.#
'''),
 dict(name='Picnic Blanket', difficulty=3, rules=['ex', 's', 'c'],
      desc='A checked blanket with a basket in the middle.',
      art='''
##########
##########
##########
##########
##########
'''),
 dict(name='Birdhouse', difficulty=3, rules=['ex', 'ex', 'c'],
      desc='A gabled roof over a little round door.',
      art='''
.....##.....
...######...
.##########.
..########..
..###..###..
..########..
'''),
 # Flea market (levels 15-21)
 dict(name='Market Stall', difficulty=3, rules=['ex', 'e', 's'],
      desc='Three tables under one canvas roof.',
      art='''
##############
##############
.####.##.####.
.####.##.####.
.####.##.####.
'''),
 dict(name='Tin Robot', difficulty=3, rules=['ex', 's', 'c'],
      desc='A wind-up robot with square shoulders and a key in its back.',
      art='''
....####....
....####....
############
.##########.
.##########.
..###..###..
..###..###..
'''),
 dict(name='Carousel', difficulty=3, rules=['ex', 'hx', 's'],
      desc='Horses going round under a striped canopy.',
      art='''
...########...
.############.
##############
.############.
...########...
'''),
 dict(name='Accordion', difficulty=3, rules=['c2', 's', 's', 'ex'],
      desc='Bellows pulled open between two keyboards.',
      art='''
##.#.#.#.#.##
##.#.#.#.#.##
##.#.#.#.#.##
##.#.#.#.#.##
##.#.#.#.#.##
'''),
 dict(name='Teapot', difficulty=3, rules=['e', 'ex', 'ex', 'c'],
      desc='A fat teapot with a long spout and a curly handle.',
      art='''
.....###......
...#######....
##.########.##
.###########..
..#########...
...#######....
'''),
 dict(name='Anchor', difficulty=3, rules=['ex', 'ex', 's', 'c'],
      desc='An old ship\'s anchor with its ring and stock.',
      art='''
......##......
.############.
......##......
#.....##.....#
##....##....##
.############.
..##########..
'''),
 dict(name='Lantern', difficulty=3, rules=['e', 's', 'ex', 's'],
      desc='A brass lantern: a handle, a glass and a broad base.',
      art='''
....######....
...########...
..##########..
..##########..
..##########..
.############.
##############
'''),
 # Antique shop (levels 22-28)
 dict(name='Grandfather Clock', difficulty=4, rules=['ex', 'e', 's', 'c'],
      desc='A tall case clock with its pendulum window.',
      art='''
...########...
...########...
....######....
....######....
...########...
..##########..
..##########..
'''),
 dict(name='Curio Cabinet', difficulty=4, rules=['ex', 'ex', 'ir', 'c'],
      desc='Glass shelves full of little things, one row above another.',
      art='''
##############
#.##########.#
#.##########.#
#.##########.#
##############
'''),
 dict(name='Gramophone', difficulty=4, rules=['ex', 'ex', 's', 'c'],
      desc='A horn blooming out of a wooden box.',
      art='''
.......#######
.....#########
...###########
######.....###
######.....###
######........
'''),
 dict(name='Chandelier', difficulty=4, rules=['ex', 'ex', 'c', 's'],
      desc='Crystal arms hanging from a central column.',
      art='''
......##......
..##########..
#.##########.#
##############
.############.
...########...
.....####.....
'''),
 dict(name='Music Box', difficulty=4, rules=['ex', 's', 'ex', 'hx'],
      desc='A lacquered box with a dancer turning on its lid.',
      art='''
##############
##############
##############
##############
##############
'''),
 dict(name='Pocket Watch', difficulty=4, rules=['ex', 'e', 's', 'ex', 'c'],
      desc='A round case, a crown and a chain trailing off to the side.',
      art='''
......###.....
....#######...
...#########..
...#########.#
...#########.#
....#######..#
......###....#
'''),
 dict(name='Writing Desk', difficulty=4, rules=['ex', 's', 'ex', 'c'],
      desc='A roll-top desk with pigeonholes and a drawer on each side.',
      art='''
..##########..
.############.
##############
####......####
####......####
####......####
'''),
 # Estate sale (levels 29-35)
 dict(name='Four-Poster Bed', difficulty=4, rules=['ex', 'e', 's', 'c', 's'],
      desc='Four posts, a canopy and a heap of pillows.',
      art='''
##..........##
##############
##############
##############
##############
##..........##
##..........##
'''),
 dict(name='Staircase', difficulty=5, rules=['ex', 'ex', 'ex', 'ex', 'ex'],
      desc='A grand staircase that climbs from both sides to a landing.',
      art='''
################
################
################
################
'''),
 dict(name='Sewing Machine', difficulty=5, rules=['ex', 'ex', 'e', 's', 'c'],
      desc='An iron treadle machine with its wheel and its arm.',
      art='''
....##########..
....##########..
....##....######
################
################
.##..........##.
.##..........##.
'''),
 dict(name='Portrait Gallery', difficulty=5, rules=['s', 'ex', 's', 'ex', 's'],
      desc='Five framed ancestors looking down from the wall.',
      art='''
###.###.###.###
###.###.###.###
###.###.###.###
...............
.###.###.###.##
.###.###.###.##
'''),
 dict(name='Harp', difficulty=5, rules=['ex', 'ex', 'ex', 's', 'c'],
      desc='A tall harp: a curved neck over a slanting sound box.',
      art='''
###########.....
##.......######.
##...........###
##...........###
##...........###
##############..
################
'''),
 # Texas auction (levels 36-42)
 dict(name='Cowboy Hat', difficulty=5, rules=['ex', 'e', 's', 'c', 's'],
      desc='A ten-gallon hat with a wide brim and a tall crown.',
      art='''
.....######.....
....########....
....########....
...##########...
################
################
'''),
 dict(name='Windmill', difficulty=5, rules=['ex', 's', 'ex', 's', 'c'],
      desc='A farm windmill: four blades on a lattice tower.',
      art='''
###...##...###
.###..##..###.
..##########..
...########...
..##########..
.###..##..###.
###...##...###
'''),
 dict(name='Longhorn', difficulty=5, rules=['ex', 's', 'ex', 's', 'c'],
      desc='Horns as wide as a barn door.',
      art='''
###..........###
.####......####.
...##########...
....########....
....########....
.....######.....
......####......
'''),
 dict(name='Saddle', difficulty=5, rules=['ex', 's', 'ex', 's', 'c'],
      desc='A tooled leather saddle with its horn and stirrups.',
      art='''
..#..........#..
..############..
.##############.
################
################
.###........###.
.##..........##.
'''),
 dict(name='Water Tower', difficulty=5, rules=['ex', 's', 'e', 's', 'c'],
      desc='A tank on stilts over the county fair.',
      art='''
...##########...
..############..
..############..
...##########...
...##.####.##...
...##.####.##...
..###.####.###..
'''),
 dict(name='Lone Star', difficulty=6, rules=['ex', 'ex', 's', 'ex', 's'],
      desc='A five-pointed star, the way they brand it in Texas.',
      art='''
.......##.......
......####......
################
..############..
...##########...
..#####..#####..
.###........###.
'''),
 dict(name='Stagecoach', difficulty=6, rules=['ex', 'e', 's', 's', 'c', 's'],
      desc='A coach on four big wheels, with the strongbox on the roof.',
      art='''
....########....
..############..
################
################
################
.###..####..###.
.###..####..###.
'''),
 # The auction house (levels 43-50)
 dict(name='Auction Gavel', difficulty=6, rules=['ex', 'ex', 's', 'e', 's', 'c'],
      desc='Going once, going twice: a gavel on its sounding block.',
      art='''
##########......
##########......
##########......
....##..........
....##.#########
....##.#########
....##.#########
'''),
 dict(name='Grand Piano', difficulty=6, rules=['ex', 'e', 's', 'ex', 's', 'c'],
      desc='A concert grand with its lid raised.',
      art='''
################
################
################
###############.
#############...
###########.....
'''),
 dict(name='Faberge Egg', difficulty=6, rules=['ex', 's', 'ex', 's', 'c', 's'],
      desc='A jewelled egg that opens on a golden surprise.',
      art='''
.....######.....
...##########...
..############..
.##############.
..############..
...##########...
.....######.....
'''),
 dict(name='Pagoda', difficulty=6, rules=['ex', 's', 'ex', 's', 'ex', 's'],
      desc='Seven roofs, each smaller than the one below.',
      art='''
################
################
.##############.
..############..
...##########...
'''),
 dict(name='Suit of Armour', difficulty=6, rules=['ex', 's', 'e', 's', 'c', 's'],
      desc='A knight in plate, shield on one arm and lance in the other.',
      art='''
.....######.....
.....######.....
..############..
################
#.############.#
..####....####..
..####....####..
'''),
 dict(name='Crown Jewels', difficulty=6, rules=['ex', 'ex', 's', 'ex', 's', 'c'],
      desc='A crown with five points, each with its stone.',
      art='''
#..#...##...#..#
##.##..##..##.##
################
################
################
.##############.
'''),
 dict(name='Ming Vase', difficulty=7, rules=['s', 's', 'ex', 's', 's', 'c'], gaps=5,
      desc='A tall vase with a narrow neck and round shoulders.',
      art='''
......####......
.....######.....
...##########...
..############..
..############..
...##########...
.....######.....
'''),
 dict(name='Sotheby\'s Rostrum', difficulty=7, rules=['ex', 'ex', 'e', 's', 's', 'c'],
      desc='The auctioneer\'s stand, with the bidders\' rows in front.',
      art='''
.....######.....
.....######.....
................
################
################
################
################
'''),
 dict(name='Treasure Vault', difficulty=7, rules=['ex', 'e', 's', 'ex', 's', 's'],
      desc='Thick walls around the best piece of the whole hunt.',
      art='''
################
##############..
##############..
##############..
##############..
################
'''),
 dict(name='The Grand Finale', difficulty=7, rules=['ex', 's', 'hx', 's', 'ex', 's'],
      desc='Everything you have learned, stacked seven layers high.',
      art='''
################
################
################
################
################
################
'''),
]
