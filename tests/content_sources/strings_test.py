"""The string-table build: its checks must fail on incomplete sources and its output must
read back the way the engine's spreadsheet scanner reads it."""
import os
import re
import subprocess
import tempfile
import unittest

SOURCE = os.environ.get('MC_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..', '..'))
TOOL = os.path.join(SOURCE, 'content', 'strings', 'make_strings.py')

FACES = """# test catalogue
suit,variant,display_key,group,folder,name,image_base,short_name,antique_look,treasure,kenny
1,0,suit_bell,common,bell,bell2,common/bell/bell2,bell2,0,0,0
119,0,suit_bell,treasure,bell,bell1,treasure/bell/bell1,bell1,1,1,0
120,0,suit_horn,treasure,horn,horn1,treasure/horn/horn1,horn1,1,1,0
121,0,suit_horn,treasure,horn,horn9,treasure/horn/horn9,horn9,1,1,0
"""

SETTINGS = """<settings><tile_1diamond_req>0</tile_1diamond_req>
<tile_2diamond_req>100000</tile_2diamond_req><tile_3diamond_req>500000</tile_3diamond_req>
</settings>"""

GOOD = """suit_bell = Bells
suit_horn = Horns
[bell2]
title = Bell
body = A bell & a <clapper>.\\nSecond line.
[bell1]
title = Old Bell
body = Older.
c_title = Fine
c_body = Very fine.
c_amount = 5000
[horn1]
title = Horn
body = Loud.
c_title = Good
c_body = Good horn.
c_amount = 150000
[horn9]
title = Horn Nine
body = Louder.
c_title = Great
c_body = Great horn.
c_amount = 900000
"""


def scan_rows(text):
    """The engine's reading of a spreadsheet: rows start at "<Row", the first two "<Data"
    of a row are label and text, a value runs from the first ">" to the next "<"."""
    table = {}
    rows = text.split('<Row')[1:]
    for row in rows:
        cells = row.split('<Data')[1:3]
        values = [c[c.index('>') + 1:c.index('<')] for c in cells]
        values = [v.replace('&#10;', '\n').replace('&lt;', '<').replace('&gt;', '>')
                  .replace('&quot;', '"').replace('&amp;', '&') for v in values]
        table[values[0]] = values[1] if len(values) > 1 else ''
    return table


class StringsBuild(unittest.TestCase):
    def run_tool(self, source):
        with tempfile.TemporaryDirectory() as tmp:
            paths = {}
            for name, text in (('faces.csv', FACES), ('settings.xml', SETTINGS),
                               ('texts.txt', source)):
                paths[name] = os.path.join(tmp, name)
                with open(paths[name], 'w') as f:
                    f.write(text)
            out = os.path.join(tmp, 'strings.xml')
            result = subprocess.run(['/usr/bin/python3', TOOL, paths['faces.csv'],
                                     paths['settings.xml'], out, paths['texts.txt']],
                                    capture_output=True, text=True)
            written = None
            if os.path.exists(out):
                with open(out) as f:
                    written = f.read()
            return result.returncode, result.stderr, written

    def test_complete_sources_build_a_table_the_engine_reads_back(self):
        code, err, xml = self.run_tool(GOOD)
        self.assertEqual(code, 0, err)
        table = scan_rows(xml)
        self.assertEqual(table['appraisal_b_body_bell2'], 'A bell & a <clapper>.\nSecond line.')
        self.assertEqual(table['appraisal_c_amount_horn9'], '900000')
        self.assertEqual(table['suit_horn'], 'Horns')
        self.assertEqual(len(table), 2 + 2 + 5 * 3)
        self.assertIn('<Worksheet ss:Name="strings">', xml)

    def test_argument_fields_and_written_percent_signs_pass(self):
        code, err, xml = self.run_tool(GOOD + 'game_score = Money: %1% (100%%)\n'
                                       'localizer_currency_tens_format = $%%d\n')
        self.assertEqual(code, 0, err)
        self.assertEqual(scan_rows(xml)['game_score'], 'Money: %1% (100%%)')

    def test_a_missing_text_fails_the_build(self):
        for field in ('title = Bell\n', 'c_body = Good horn.\n', 'c_amount = 5000\n',
                      'suit_horn = Horns\n'):
            code, err, xml = self.run_tool(GOOD.replace(field, ''))
            self.assertEqual(code, 1, field)
            self.assertIn('missing', err)
            self.assertIsNone(xml)

    def test_bad_amounts_percent_signs_and_duplicates_fail(self):
        cases = {
            GOOD.replace('c_amount = 5000', 'c_amount = 5,000'): 'not whole dollars',
            GOOD.replace('body = Loud.', 'body = 100% loud.'): '"%"',
            GOOD.replace('body = Loud.', 'body = %6% loud.'): '"%"',
            GOOD.replace('body = Loud.', 'body = %name% loud.'): '"%"',
            GOOD + 'suit_bell = Bells again\n': 'given twice',
            GOOD + '[bell7]\ntitle = Nobody\n': 'no face named bell7',
            'body = Stray.\n' + GOOD: 'outside a [face] section',
            GOOD.replace('body = Older.', 'body = Caf\u00e9.'): 'outside ASCII',
            GOOD.replace('c_amount = 900000', 'c_amount = 90000'): 'rate 3 diamonds',
        }
        for source, message in cases.items():
            code, err, _ = self.run_tool(source)
            self.assertEqual(code, 1, message)
            self.assertIn(message, err)


class ShippedStrings(unittest.TestCase):
    def test_shipped_sources_pass_the_check(self):
        with tempfile.TemporaryDirectory() as tmp:
            folder = os.path.join(SOURCE, 'content', 'strings')
            sources = sorted(os.path.join(folder, n) for n in os.listdir(folder)
                             if n.endswith('.txt'))
            out = os.path.join(tmp, 'strings.xml')
            result = subprocess.run(
                ['/usr/bin/python3', TOOL, os.path.join(SOURCE, 'content', 'catalogue', 'faces.csv'),
                 os.path.join(SOURCE, 'content', 'settings', 'settings.xml'), out] + sources,
                capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stderr)
            counts = re.search(r'1: (\d+), 2: (\d+), 3: (\d+)', result.stdout)
            self.assertTrue(all(int(n) > 0 for n in counts.groups()))


if __name__ == '__main__':
    unittest.main()
