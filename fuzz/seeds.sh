#!/usr/bin/env bash
# Writes small seed inputs for the fuzz targets into OUT/<target>/ (OUT defaults to
# build-fuzz/seeds). The first byte of every seed chooses what the target does with the rest;
# 0x1E separates the files of one input.
set -euo pipefail
out=${1:-build-fuzz/seeds}
seed() {  # seed TARGET NAME PRINTF-FORMAT...
  mkdir -p "$out/$1"
  printf "${@:3}" >"$out/$1/$2"
}

# text_fuzz: 0 code page, 1 text list, 2 text file (bit 7: bytes are code page 1250), 3 numbers,
# 4 help document.
all=$(printf '\\x%02x' $(seq 0 255))
seed text_fuzz cp-all "\x00$all"
seed text_fuzz cp-utf8 '\x00Příliš žluťoučký kůň úpěl ďábelské ódy'
seed text_fuzz cp-overlong '\x00\xc1\x81\xe0\x80\xaf'
seed text_fuzz list-endings '\x01a\r\nb\rc\nd\n\r\r\n'
seed text_fuzz file-utf8 '\x02řádek 1\r\nřádek 2\r\n'
seed text_fuzz file-cp1250 '\x82\xf8\xe1dek 1\r\n\x9e\r\n'
seed text_fuzz number-max '\x032147483647'
seed text_fuzz number-min '\x03-2147483648'
seed text_fuzz number-plus '\x03+0550'
seed text_fuzz number-words '\x03\x7f\xff\xff\xff\x80\x00\x00\x01'
seed text_fuzz doc-utf8 '\x04<html><body><h1>Nápověda</h1><p>„Kontrola“ – F1</p></body></html>'
seed text_fuzz doc-bom '\x04\xef\xbb\xbf<p>Nápověda</p>'
seed text_fuzz doc-cp1250 '\x04<p>N\xe1pov\xec\x64\x61 \x84\x9a\x93</p>'

# crossword_fuzz: k.nk, k.vk, k.lk, k.mk. Bit 0 start-up, bit 1 Kontrola, bit 2 typed solution.
crossword='10\r\n5\r\n20\r\n15\r\nN\r\n2\r\n\x1ec a t\r\n  d o g\r\n\x1en\xe1pov\xec\x64\x61 1\r\nn\xe1pov\xec\x64\x61 2\r\n\x1ex x x\r\n  x x x\r\n'
seed crossword_fuzz prvkr "\x00$crossword"
seed crossword_fuzz startup "\x01$crossword"
seed crossword_fuzz kontrola-wrong "\x03$crossword"
seed crossword_fuzz kontrola-right "\x07$crossword"
seed crossword_fuzz overflow '\x002147483647\n5\n1\n15\nA\n2\n'
seed crossword_fuzz short-konf '\x0710\n5\x1ea\x1e\x1ex'

# savedgame_fuzz: descriptor, record, answers. Bit 0 "Načíst hru", bit 1 agreeable user,
# bit 2 credits.
descriptor='Tervano\r\n2\r\n1\r\n1\r\n1\r\n4\r\n4\r\nAngli\xe8tina\r\n'
rec() { echo "N\\r\\n0\\r\\n1\\r\\n1\\r\\n0\\r\\n0\\r\\nA\\r\\n$1\\r\\n$2\\r\\nN\\r\\nN\\r\\nN\\r\\n"; }
seed savedgame_fuzz start "\x04$descriptor\x1e$(rec S 4)\x1ec a t\r\nd o g\r\n"
seed savedgame_fuzz older "\x02$descriptor\x1e$(rec N 3)"
seed savedgame_fuzz newer "\x01$descriptor\x1e$(rec N 5)"
seed savedgame_fuzz no-version "\x03$descriptor\x1e$(rec N '')"
seed savedgame_fuzz short-record "\x02$descriptor\x1eN\r\n0\r\n1\r\n1\r\n"
seed savedgame_fuzz descriptor-only "\x04Tervano\n3\n2\n1\nx\n4\n0550\nN\xeamcina"

# midi_fuzz: a note of one beat at 120 beats a minute; a tempo track beside it; odd chunks.
hdr() { echo "MThd\\x00\\x00\\x00\\x06\\x00$1\\x00$2\\x01\\xe0"; }
note='MTrk\x00\x00\x00\x0d\x00\x90\x3c\x64\x83\x60\x80\x3c\x00\x00\xff\x2f\x00'
tempo='MTrk\x00\x00\x00\x0b\x00\xff\x51\x03\x07\xa1\x20\x00\xff\x2f\x00'
sysex='MTrk\x00\x00\x00\x12\x00\xf0\x05\x7e\x7f\x09\x01\xf7\x00\x90\x3c\x64\x83\x60\x3c\x00'
seed midi_fuzz format0 "$(hdr '\x00' '\x01')$note"
seed midi_fuzz format1 "$(hdr '\x01' '\x02')$tempo$note"
seed midi_fuzz sysex-running "$(hdr '\x00' '\x01')$sysex"
seed midi_fuzz foreign-chunk "$(hdr '\x00' '\x01')XFIH\x00\x00\x00\x02ab$note"

# csv_fuzz: the first byte also chooses how the pairs made of the input are written back
# (separator, line end, encoding); the test files as spreadsheets write them.
vocabulary=$(dirname "$0")/../tests/editor/vocabulary
mkdir -p "$out/csv_fuzz" "$out/kvtml_fuzz"
cp "$vocabulary"/*.csv "$out/csv_fuzz/"
seed csv_fuzz quotes 'a,"b ""c"", d"\r\ne,"f\ng"\r\n"h'
seed csv_fuzz tabs '\xff\xfes\x00\t\x00\x0d\x01\n\x00'
seed csv_fuzz lines 'cat \xe2\x80\x93 ko\xc4\x8dka\n\ndog = pes\n'
seed csv_fuzz header 'Word;Pozn\xe1mka;N\xe1pov\xecda\r\ncat;zv\xed\xf8e;ko\xe8ka\r\n'

# kvtml_fuzz: the KDE programs' files, and a document type that declares entities.
cp "$vocabulary"/*.kvtml "$out/kvtml_fuzz/"
seed kvtml_fuzz entities '<!DOCTYPE kvtml [<!ENTITY a "&b;&b;"><!ENTITY b SYSTEM "x">]><kvtml version="2.0"><identifiers><identifier id="0"><locale>cs</locale></identifier><identifier id="1"/></identifiers><entries><entry><translation id="1"><text>&a;x</text></translation><translation id="0"><text><![CDATA[<&>]]></text></translation></entry></entries></kvtml>'

# ipuz_fuzz: bit 0 through the editor, bit 1 over unsaved edits; the rest is the file.
k='"kind": ["http://ipuz.org/crossword#1"]'
seed ipuz_fuzz tajenka "\x00{$k, \"version\": \"http://ipuz.org/v2\", \"dimensions\": {\"width\": 6, \"height\": 4},
 \"puzzle\": [[\"#\", 1, 0, 5, \"#\", \"#\"], [2, 0, 0, 0, \"#\", \"#\"], [\"#\", \"#\", \"#\", \"#\", \"#\", \"#\"], [\"#\", \"#\", \"#\", 4, 0, 0]],
 \"solution\": [[\"#\", \"D\", \"O\", \"G\", \"#\", \"#\"], [\"A\", \"C\", \"H\", \"T\", \"#\", \"#\"], [\"#\", \"#\", \"#\", \"#\", \"#\", \"#\"], [\"#\", \"#\", \"#\", \"E\", \"R\", \"A\"]],
 \"clues\": {\"Across\": [[1, \"Pes\"], [2, \"Osm &amp; v\xc3\xadc\"], [4, \"\xc3\x89ra\"]], \"Down\": [[5, \"Tajenka\"]]},
 \"explanation\": \"Tajenka: GT E\", \"cz.tervano.gaps\": [[3, \"(mezera v tajence)\"]]}"
seed ipuz_fuzz wild "\x01\xef\xbb\xbf{$k, \"block\": \"*\", \"empty\": \"_\", \"dimensions\": {\"width\": 5, \"height\": 3},
 \"puzzle\": [[{\"cell\": 1, \"style\": {\"shapebg\": \"circle\"}}, \"_\", 4, \"*\", null], [\"*\", 2, {\"style\": {\"color\": \"red\"}}, \"_\", \"_\"], [null, \"*\", {\"cell\": 3}, 0, null]],
 \"solution\": [[\"K\", {\"value\": \"O\"}, \"T\", \"*\", null], [\"*\", \"\xc5\x98\", \"E\", \"K\", \"A\"], [null, \"*\", \"L\", \"E\", null]],
 \"saved\": [[\"K\", \"\", \"\", \"*\", null]],
 \"clues\": {\"Across:Vodorovn\xc4\x9b\": [[1, \"Ko\xc4\x8dka <i>anglicky</i>\"], {\"number\": 2, \"clue\": \"\xc5\x98\x65ka<br/>proud\"}, {\"number\": \"3\", \"clue\": \"Le\xc5\xbe\x65t\"}],
 \"Down\": [[4, \"Tajenka\"], {\"number\": 2, \"clue\": \"Svisle\"}]}}"
seed ipuz_fuzz two-in-a-row "\x03ipuz({$k, \"dimensions\": {\"width\": 4, \"height\": 2}, \"puzzle\": [[1, 0, \"#\", 2], [3, 0, 0, 0]],
 \"solution\": [[\"A\", \"B\", \"#\", \"C\"], [\"D\", \"E\", \"F\", \"G\"]],
 \"clues\": {\"Across\": [[1, \"Ab\"], [2, \"C\"], [3, \"Defg\"]], \"Down\": [[1, \"Ad\"], [2, \"Cg\"]]}})"
seed ipuz_fuzz bad-letter "\x01{$k, \"dimensions\": {\"width\": 2, \"height\": 1}, \"puzzle\": [[1, 0]], \"solution\": [[\"A\", \"\xd0\x96\"]], \"clues\": {\"Across\": [[1, \"A\"]]}}"
seed ipuz_fuzz sudoku '\x00{"kind": ["http://ipuz.org/sudoku#1"]}'
seed ipuz_fuzz not-json '\x01{"kind": ['
# Bit 2: the bytes drive the maker of crosswords (flags, width, height, then cells and clues).
seed ipuz_fuzz made-small '\x04\x00\x05\x04abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz'
seed ipuz_fuzz made-wild '\x05\x1f\x0b\x0b\x01\x02\x03\x05\x09\x11\x21\x41\x81\x00\x01\x05\x09\x0d\x11\x15\x19\x1d\x21\x25\x29\x2d\x31\x35\x39\x3d\x41\x45\x49\x4d\x51\x55'
seed ipuz_fuzz made-unsaved '\x07\x02\x07\x03\x01\x41\x02\x00\x03\x01\x05\x61\x01\x02\x03\x04\x05\x06\x07\x08'
