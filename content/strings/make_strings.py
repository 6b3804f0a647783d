#!/usr/bin/python3
"""Builds the string table "strings.xml" (Excel 2003 SpreadsheetML, one worksheet named
"strings", rows of two cells: label and text) from the readable sources in this folder,
and checks them against the face catalogue.

Usage: make_strings.py FACES.csv SETTINGS.xml OUT.xml SOURCE.txt...

Source format: "label = text" lines; "#" starts a comment line; "\\n" in a text is a line
break. A line "[short name]" starts a face of the catalogue: within it "title" and "body"
stand for appraisal_b_title_<name> and appraisal_b_body_<name>, and "c_title", "c_body"
and "c_amount" for the appraisal_c_ labels; any other "label = text" line stands for
itself, inside a face section or not.

The check fails (exit status 1, with a message per problem) when a face lacks its "b"
texts, a face with the antique look lacks its "c" texts or a whole-dollar amount, a suit
name is missing, a label is given twice, a text holds a "%" other than an argument field
"%1%".."%5%" or a written "%%" (the string table would read it as a reference) or a character outside ASCII, or the amounts do not give each diamond
rating (with the settings' thresholds) to at least a tenth of the antique faces."""
import re
import sys
import xml.etree.ElementTree as ET


def read_faces(path):
    faces = []
    header = None
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            fields = line.split(',')
            if header is None:
                header = fields
                continue
            faces.append(dict(zip(header, fields)))
    return faces


def read_sources(paths, problems):
    entries = []
    for path in paths:
        face = None
        with open(path, encoding='utf-8') as f:
            for number, raw in enumerate(f, start=1):
                where = '%s:%d' % (path, number)
                line = raw.rstrip('\n')
                if not line.strip() or line.lstrip().startswith('#'):
                    continue
                m = re.match(r'^\[([a-z0-9_]+)\]\s*$', line)
                if m:
                    face = m.group(1)
                    continue
                if ' = ' not in line and not line.rstrip().endswith(' ='):
                    problems.append('%s: expected "label = text"' % where)
                    continue
                key, _, text = line.partition(' =')
                key = key.strip()
                text = text[1:] if text.startswith(' ') else text
                names = {'title': 'appraisal_b_title_', 'body': 'appraisal_b_body_',
                         'c_title': 'appraisal_c_title_', 'c_body': 'appraisal_c_body_',
                         'c_amount': 'appraisal_c_amount_'}
                if key in names:
                    if face is None:
                        problems.append('%s: "%s" outside a [face] section' % (where, key))
                        continue
                    label = names[key] + face
                else:
                    label = key
                entries.append((label, text.replace('\\n', '\n'), where, face if key in names else None))
    return entries


def settings_value(path, key, default):
    root = ET.parse(path).getroot()
    node = root.find(key)
    return int(node.text.strip()) if node is not None and node.text else default


def escape(text):
    return (text.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')
            .replace('"', '&quot;').replace('\n', '&#10;'))


def write_workbook(path, rows):
    out = ['<?xml version="1.0"?>',
           '<?mso-application progid="Excel.Sheet"?>',
           '<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet"',
           ' xmlns:o="urn:schemas-microsoft-com:office:office"',
           ' xmlns:x="urn:schemas-microsoft-com:office:excel"',
           ' xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet">',
           ' <Worksheet ss:Name="strings">',
           '  <Table ss:ExpandedColumnCount="2" ss:ExpandedRowCount="%d" x:FullColumns="1"'
           ' x:FullRows="1">' % len(rows)]
    for label, text in rows:
        out.append('   <Row>')
        out.append('    <Cell><Data ss:Type="String">%s</Data></Cell>' % escape(label))
        out.append('    <Cell><Data ss:Type="String">%s</Data></Cell>' % escape(text))
        out.append('   </Row>')
    out += ['  </Table>', ' </Worksheet>', '</Workbook>', '']
    with open(path, 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(out))


def main():
    faces_path, settings_path, out_path = sys.argv[1:4]
    problems = []
    faces = read_faces(faces_path)
    entries = read_sources(sorted(sys.argv[4:]), problems)
    table = {}
    for label, text, where, _ in entries:
        if label in table:
            problems.append('%s: label %s given twice' % (where, label))
        table[label] = text
        if '%' in re.sub(r'%[1-5]?%', '', text):
            problems.append('%s: "%%" in the text of %s' % (where, label))
        if any(ord(c) > 126 or (ord(c) < 32 and c != '\n') for c in text):
            problems.append('%s: character outside ASCII in %s' % (where, label))

    short_names = {f['short_name'] for f in faces}
    for _, _, where, face in entries:
        if face is not None and face not in short_names:
            problems.append('%s: no face named %s in the catalogue' % (where, face))
            short_names.add(face)  # report once

    thresholds = [settings_value(settings_path, 'tile_%ddiamond_req' % d, default)
                  for d, default in ((1, 0), (2, 500000), (3, 1000000))]
    ratings = {0: 0, 1: 0, 2: 0, 3: 0}
    antique = 0
    for f in faces:
        name = f['short_name']
        for kind in ('title', 'body'):
            if not table.get('appraisal_b_%s_%s' % (kind, name)):
                problems.append('missing appraisal_b_%s_%s' % (kind, name))
        if f['antique_look'] != '1':
            continue
        antique += 1
        for kind in ('title', 'body', 'amount'):
            if not table.get('appraisal_c_%s_%s' % (kind, name)):
                problems.append('missing appraisal_c_%s_%s' % (kind, name))
        amount = table.get('appraisal_c_amount_' + name, '')
        if amount and not re.fullmatch(r'[0-9]{1,10}', amount):
            problems.append('appraisal_c_amount_%s is not whole dollars: %r' % (name, amount))
            continue
        if amount and int(amount) > 2**31 - 1:
            problems.append('appraisal_c_amount_%s is too large' % name)
            continue
        value = int(amount or 0)
        rating = 3 if value >= thresholds[2] else 2 if value >= thresholds[1] else \
            1 if value >= thresholds[0] else 0
        ratings[rating] += 1
    for key in sorted({f['display_key'] for f in faces}):
        if not table.get(key):
            problems.append('missing suit name %s' % key)
    for d in (1, 2, 3):
        if antique and ratings[d] * 10 < antique:
            problems.append('only %d of %d antique faces rate %d diamonds' % (ratings[d], antique, d))

    for p in problems:
        print('make_strings: ' + p, file=sys.stderr)
    if problems:
        return 1
    write_workbook(out_path, sorted(table.items()))
    print('make_strings: %d strings; antique faces by diamonds: 1: %d, 2: %d, 3: %d' %
          (len(table), ratings[1], ratings[2], ratings[3]))
    return 0


if __name__ == '__main__':
    sys.exit(main())
