#!/usr/bin/env python3
"""The crossword editor's demo with the word list loaded from a KDE vocabulary file, under the X
server named by DISPLAY.

    scripts/demos/word_list_demo.py PROGRAM_FOLDER --shots OUT

Writes a KVTML 2.0 file as Parley writes it (English, German and Czech; one entry whose English
is not one word, one without English) beside the program folder, then runs editor_demo.py with
it: the file is loaded through "Načíst ze souboru ..." (the Czech column and the English one are
the ones offered), the crossword "London" built, saved, played, and "Kontrola" answers.
"""
import pathlib
import sys

import editor_demo

ENTRIES = [("lion", "Löwe", "lev"), ("orange", "Orange", "oranžová barva"),
           ("to go", "gehen", "jít"), ("window", "Fenster", "okno"), ("bread", "Brot", "chléb"),
           (None, "Haus", "dům"), ("boat", "Boot", "plavidlo"), ("green", "grün", "zelená")]


def kvtml():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">',
           '<kvtml version="2.0">',
           '  <information><generator>Parley 1.2</generator><title>Londýn</title></information>',
           '  <identifiers>']
    for i, (name, locale) in enumerate((("English", "en"), ("Deutsch", "de"), ("Čeština", "cs"))):
        out.append('    <identifier id="%d"><name>%s</name><locale>%s</locale></identifier>'
                   % (i, name, locale))
    out += ['  </identifiers>', '  <entries>']
    for n, texts in enumerate(ENTRIES):
        out.append('    <entry id="%d">' % n)
        for i, text in enumerate(texts):
            if text is not None:
                out.append('      <translation id="%d"><text>%s</text><comment>lekce 3</comment>'
                           '</translation>' % (i, text))
        out.append('    </entry>')
    out += ['  </entries>', '  <lessons><container><name>Lekce 3</name>']
    out += ['    <entry id="%d"/>' % n for n in range(len(ENTRIES))]
    out += ['  </container></lessons>', '</kvtml>', '']
    return "\n".join(out)


def main():
    program = pathlib.Path(sys.argv[1]).resolve()
    path = program.parent / "slovicka londyn.kvtml"
    path.write_text(kvtml(), encoding="utf-8")
    print("vocabulary: %s" % path)
    return editor_demo.main(sys.argv[1:] + ["--kvtml", str(path)])


if __name__ == "__main__":
    sys.exit(main())
