#!/usr/bin/env python3
"""Writes the book source (resources/book/torah-*.txt) from the morphhb package.

The book is the consonantal text of the Five Books from the Westminster Leningrad Codex,
143 pages laid out along the 54 weekly portions, each page followed by a grammatical
commentary spelled out from the Open Scriptures Hebrew Bible morphology.

Run by hand (the build never runs it), with Python 3 and nothing else:

    mkdir -p /tmp/morph && cd /tmp/morph && npm pack morphhb@2.0.2 && tar xzf morphhb-2.0.2.tgz
    python3 tools/import-book/import_book.py /tmp/morph/package -o resources/book

The output depends only on the package: the same input gives the same bytes.
"""

from __future__ import annotations

import argparse
import dataclasses
import os
import re
import sys
import xml.etree.ElementTree as ET

CREDIT = ("Text: Westminster Leningrad Codex, public domain. "
          "Morphology: Open Scriptures Hebrew Bible, CC BY 4.0")
SOURCE_NOTE = "morphhb 2.0.2"

OSIS = "{http://www.bibletechnologies.net/2003/OSIS/namespace}"
BOOK_IDS = ("Gen", "Exod", "Lev", "Num", "Deut")
PAGE_COUNT = 143
FIRST_GROUP = 301   # heading keys: books 301.., portions after them; clear of articles 1..286

MAQAF = "-"
SOF_PASUQ = ":"
PASEQ = "|"
SECTION_RULE = "rule 40 center |"   # a closed section (samekh); an open one (pe) is an empty row

RECORD_OVERHEAD = 3   # flags, param and the terminating 0 of every paragraph record
INDEX_OVERHEAD = 5    # key, flags, param and the 0 of every index record
ARTICLE_LIMIT = 65536


class SourceError(Exception):
    """The package holds something this importer does not know how to render."""


# ---------------------------------------------------------------------------------------
# Hebrew numerals and text

_UNITS = ["", "א", "ב", "ג", "ד", "ה", "ו", "ז", "ח", "ט"]
_TENS = ["", "י", "כ", "ל", "מ", "נ", "ס", "ע", "פ", "צ"]
_HUNDREDS = ["", "ק", "ר", "ש", "ת", "תק", "תר", "תש", "תת", "תתק"]


def hebrew_numeral(n: int) -> str:
    """1..999 in letters without geresh; 15 and 16 are written טו and טז."""
    if not 1 <= n <= 999:
        raise ValueError(f"no Hebrew numeral for {n}")
    rest = n % 100
    if rest == 15:
        low = "טו"
    elif rest == 16:
        low = "טז"
    else:
        low = _TENS[rest // 10] + _UNITS[rest % 10]
    return _HUNDREDS[n // 100] + low


def letters_only(text: str) -> str:
    """Keeps the 27 Hebrew letters and drops points, accents and every other mark."""
    return "".join(c for c in text if "\u05d0" <= c <= "\u05ea")


def is_storable(text: str) -> bool:
    """True when every character is one the letter code carries as itself or as a letter."""
    for c in text:
        if "\u05d0" <= c <= "\u05ea":
            continue
        if c in "~{\\" or not (" " <= c <= "\x7e") or "a" <= c <= "z":
            return False
    return True


def verse_ref(chapter: int, verse: int) -> str:
    return f"{hebrew_numeral(chapter)}:{hebrew_numeral(verse)}"


# ---------------------------------------------------------------------------------------
# Morphology codes spelled out in Hebrew

STEMS = {  # Hebrew verb stems (binyanim)
    "q": "קל", "N": "נפעל", "p": "פיעל", "P": "פועל", "h": "הפעיל", "H": "הופעל",
    "t": "התפעל", "o": "פולל", "O": "פולל סביל", "r": "התפולל", "m": "פועל (בחולם)",
    "M": "פועל סביל (בחולם)", "k": "פעלל", "K": "פועלל", "Q": "קל סביל", "l": "פלפל",
    "L": "פולפל", "f": "התפלפל", "D": "נתפעל", "j": "פעלעל", "i": "פיעלל", "u": "הותפעל",
    "c": "תפעיל", "v": "השתפעל", "w": "נתפעלל", "y": "נתפועל", "z": "התפועל",
}
CONJUGATIONS = {
    "p": "עבר", "q": "עבר מהופך", "i": "עתיד", "w": "עתיד מהופך", "h": "עתיד מוארך",
    "j": "עתיד מקוצר", "v": "ציווי", "r": "בינוני פועל", "s": "בינוני פעול",
    "a": "מקור מוחלט", "c": "מקור נטוי",
}
PERSONS = {"1": "מדבר", "2": "נוכח", "3": "נסתר"}
GENDERS = {"m": "זכר", "f": "נקבה", "b": 'זו"נ', "c": 'זו"נ'}   # both and common alike
NUMBERS = {"s": "יחיד", "p": "רבים", "d": "זוגי"}
STATES = {"a": "נפרד", "c": "נסמך", "d": "מיודע"}

ADJECTIVES = {"a": 'ש"ת', "c": "מספר יסודי", "g": "שם יחס", "o": "מספר סודר"}
NOUNS = {"c": 'ש"ע', "g": "שם עם", "p": "שם פרטי"}
PRONOUNS = {"d": "כינוי רומז", "f": "כינוי סתמי", "i": "כינוי שאלה", "p": "כינוי גוף",
            "r": "כינוי זיקה"}
SUFFIXES = {"d": "ה' המגמה", "h": "ה' נוספת", "n": "נ' נוספת", "p": "כינוי חבור"}
PARTICLES = {"a": "מילת חיוב", "d": "ה' הידיעה", "e": "מילת בקשה", "i": "מילת שאלה",
             "j": "מילת קריאה", "m": "מילת רמז", "n": "מילת שלילה", "o": "מילת מושא",
             "r": "מילת זיקה"}
# A one-letter prefix is named by its letter: "ו' החיבור" rather than "מילת חיבור".
PREFIX_NAMES = {("C", "ו"): "ו' החיבור", ("Ti", "ה"): "ה' השאלה", ("Tr", "ש"): "ש' הזיקה"}


def _fields(code: str, rest: str, tables) -> list[str]:
    """Looks each character of rest up in the matching table; 'x' marks a value left open."""
    if len(rest) > len(tables):
        raise SourceError(f"morphology code {code!r}: too many fields")
    words = []
    for ch, table in zip(rest, tables):
        if ch == "x":
            continue
        if ch not in table:
            raise SourceError(f"morphology code {code!r}: unknown value {ch!r}")
        words.append(table[ch])
    return words


def describe_segment(code: str, text: str, is_prefix: bool, before_sequential: bool = False) -> str:
    """One part of a word (prefix, the word itself or a suffix) in Hebrew terms.

    before_sequential: the part is a prefixed vav on a sequential (wayyiqtol or weqatal)
    verb, which the grammar names the converting vav."""
    if not code:
        raise SourceError("empty morphology segment")
    pos, rest = code[0], code[1:]
    kind = code[:2] if pos == "T" else pos
    if is_prefix and before_sequential and (kind, text) == ("C", "ו"):
        return "ו' ההיפוך"
    if is_prefix and (kind, text) in PREFIX_NAMES:
        return PREFIX_NAMES[(kind, text)]
    if pos in "CD":
        if rest:
            raise SourceError(f"morphology code {code!r}: unexpected fields")
        return "מילת חיבור" if pos == "C" else 'תה"פ'
    if pos == "R":
        if rest == "":
            return "מילת יחס"
        if rest == "d":
            return "מילת יחס וה' הידיעה"
        raise SourceError(f"morphology code {code!r}: unknown preposition type")
    if pos == "T":
        if len(rest) != 1 or rest not in PARTICLES:
            raise SourceError(f"morphology code {code!r}: unknown particle type")
        return PARTICLES[rest]
    if pos in "AN":
        types = ADJECTIVES if pos == "A" else NOUNS
        if not rest or rest[0] not in types:
            raise SourceError(f"morphology code {code!r}: unknown type")
        return " ".join([types[rest[0]]] + _fields(code, rest[1:], (GENDERS, NUMBERS, STATES)))
    if pos in "PS":
        types = PRONOUNS if pos == "P" else SUFFIXES
        if not rest or rest[0] not in types:
            raise SourceError(f"morphology code {code!r}: unknown type")
        return " ".join([types[rest[0]]] + _fields(code, rest[1:], (PERSONS, GENDERS, NUMBERS)))
    if pos == "V":
        if len(rest) < 2 or rest[0] not in STEMS or rest[1] not in CONJUGATIONS:
            raise SourceError(f"morphology code {code!r}: unknown stem or conjugation")
        conj = rest[1]
        if conj in "rs":
            tail = (GENDERS, NUMBERS, STATES)
        elif conj in "ac":
            tail = ()
        else:
            tail = (PERSONS, GENDERS, NUMBERS)
        return " ".join(["פועל", STEMS[rest[0]], CONJUGATIONS[conj]] + _fields(code, rest[2:], tail))
    raise SourceError(f"morphology code {code!r}: unknown part of speech")


def describe_word(morph: str, written: str) -> str:
    """The analysis of one word: its parts joined by ' + ', prefixes first.

    morph is the package's code ("HC/Td/Ncbsa"); written is the word with the package's
    '/' between its parts, which names the letter of a one-letter prefix.
    """
    if not morph or morph[0] not in "HA":
        raise SourceError(f"morphology code {morph!r}: unknown language")
    codes = morph[1:].split("/")
    parts = [letters_only(p) for p in written.split("/")]
    if len(parts) != len(codes):
        parts = [""] * len(codes)
    main = next((i for i, c in enumerate(codes) if c[:1] not in ("C", "R", "T")), len(codes) - 1)
    sequential = codes[main][:1] == "V" and codes[main][2:3] in ("w", "q")
    words = [describe_segment(c, parts[i], i < main, sequential and i == main - 1)
             for i, c in enumerate(codes)]
    text = " + ".join(words)
    if morph[0] == "A":
        if any(c.startswith("V") for c in codes):
            raise SourceError(f"morphology code {morph!r}: Aramaic verb stems are not described")
        text = "(ארמית) " + text
    return text


# ---------------------------------------------------------------------------------------
# Reading the text

@dataclasses.dataclass
class Word:
    written: str      # as the package writes it, with '/' between prefixes, stem and suffixes
    morph: str
    qere: bool = False

    @property
    def letters(self) -> str:
        return letters_only(self.written)


@dataclasses.dataclass
class Verse:
    book: str         # OSIS book id
    chapter: int
    number: int
    parts: list       # the verse's text, split where a section mark stands inside it
    marks: list       # for each part the mark after it: "pe", "samekh" or None
    words: list       # Word, in reading order; each qere right after its ketiv

    @property
    def key(self):
        return (BOOK_IDS.index(self.book), self.chapter, self.number)


class _TextBuilder:
    """Joins words, maqaf, sof pasuq and paseq into one line of text."""

    def __init__(self):
        self.text = ""

    def word(self, word: str):
        if word:
            if self.text and not self.text.endswith(MAQAF):
                self.text += " "
            self.text += word

    def attach(self, mark: str):
        self.text += mark


def _words_of_reading(rdg) -> tuple[str, list]:
    builder = _TextBuilder()
    words = []
    for child in rdg:
        tag = child.tag.replace(OSIS, "")
        if tag == "w":
            builder.word(letters_only("".join(child.itertext())))
            words.append(Word("".join(child.itertext()), child.get("morph", ""), qere=True))
        elif tag == "seg" and child.get("type") == "x-maqqef":
            builder.attach(MAQAF)
        else:
            raise SourceError(f"unexpected <{tag}> in a qere reading")
    return builder.text, words


def read_verse(book: str, element) -> Verse:
    osis_id = element.get("osisID", "")
    m = re.fullmatch(rf"{book}\.(\d+)\.(\d+)", osis_id)
    if not m:
        raise SourceError(f"verse id {osis_id!r} outside book {book}")
    parts, marks, words = [], [], []
    builder = _TextBuilder()
    for child in element:
        tag = child.tag.replace(OSIS, "")
        kind = child.get("type")
        if tag == "w":
            written = "".join(child.itertext())
            builder.word(letters_only(written))
            words.append(Word(written, child.get("morph", "")))
        elif tag == "seg" and kind == "x-maqqef":
            builder.attach(MAQAF)
        elif tag == "seg" and kind == "x-sof-pasuq":
            builder.attach(SOF_PASUQ)
        elif tag == "seg" and kind == "x-paseq":
            builder.attach(" " + PASEQ)
        elif tag == "seg" and kind in ("x-pe", "x-samekh"):
            parts.append(builder.text)
            marks.append("pe" if kind == "x-pe" else "samekh")
            builder = _TextBuilder()
        elif tag == "seg" and kind == "x-reversednun":
            continue   # the inverted nun has no form in the letter code
        elif tag == "note" and kind == "variant":
            reading = child.find(f"{OSIS}rdg[@type='x-qere']")
            if reading is None:
                raise SourceError(f"{osis_id}: variant note without a qere reading")
            qere_text, qere_words = _words_of_reading(reading)
            builder.attach(f" [{qere_text}]")
            words.extend(qere_words)
        elif tag == "note":
            continue   # textual and accent notes of the edition
        else:
            raise SourceError(f"{osis_id}: unexpected <{tag} type={kind!r}>")
    if builder.text or not parts:
        parts.append(builder.text)
        marks.append(None)
    return Verse(book, int(m.group(1)), int(m.group(2)), parts, marks, words)


def read_book(path: str, book: str) -> list:
    root = ET.parse(path).getroot()
    return [read_verse(book, v) for v in root.iter(f"{OSIS}verse")]


@dataclasses.dataclass
class Portion:
    book: str
    name: str
    start: tuple      # (chapter, verse) of its first verse
    verses: list = dataclasses.field(default_factory=list)


def read_portions(path: str) -> tuple[dict, list]:
    """The book names and the weekly portions of the Five Books, from MAPM.xml."""
    root = ET.parse(path).getroot()
    names, portions = {}, []
    for div in root.iter(f"{OSIS}div"):
        book = div.get("osisID")
        if div.get("type") != "book" or book not in BOOK_IDS:
            continue
        names[book] = _clean_title(div.find(f"{OSIS}title"))
        for section in div.findall(f"{OSIS}div[@type='section']"):
            m = re.fullmatch(rf"{book}\.(\d+)\.(\d+)-{book}\.\d+\.\d+", section.get("scope", ""))
            if not m:
                raise SourceError(f"portion scope {section.get('scope')!r} not understood")
            portions.append(Portion(book, _clean_title(section.find(f"{OSIS}title")),
                                    (int(m.group(1)), int(m.group(2)))))
    if sorted(names) != sorted(BOOK_IDS):
        raise SourceError("MAPM.xml lacks one of the Five Books")
    return names, portions


def _clean_title(element) -> str:
    """A title in letters, with '-' for a maqaf and single spaces."""
    if element is None:
        raise SourceError("a book or portion without a title")
    text = "".join(element.itertext()).replace("\u05be", MAQAF)
    text = "".join(c for c in text if c in (" ", MAQAF) or letters_only(c))
    return " ".join(text.split())


def assign_verses(portions: list, verses: list):
    """Each verse goes to the last portion starting at or before it, so verses past the end
    of a portion's stated range stay with it."""
    starts = [(BOOK_IDS.index(p.book),) + p.start for p in portions]
    if starts != sorted(starts):
        raise SourceError("portions out of order")
    index = -1
    for verse in verses:
        while index + 1 < len(portions) and starts[index + 1] <= verse.key:
            index += 1
        if index < 0 or portions[index].book != verse.book:
            raise SourceError(f"{verse.book} {verse.chapter}:{verse.number} belongs to no portion")
        portions[index].verses.append(verse)
    for p in portions:
        if not p.verses or (p.verses[0].chapter, p.verses[0].number) != p.start:
            raise SourceError(f"portion {p.name} does not start at a verse of the text")


# ---------------------------------------------------------------------------------------
# Pages

def split_evenly(sizes: list, pages: int) -> list:
    """Cuts sizes into `pages` consecutive non-empty runs with the least sum of squared run
    sizes, the most even split the boundaries allow. Returns the start index of each run."""
    n = len(sizes)
    if not 1 <= pages <= n:
        raise ValueError(f"cannot cut {n} verses into {pages} pages")
    prefix = [0]
    for s in sizes:
        prefix.append(prefix[-1] + s)
    inf = float("inf")
    cost = [[inf] * (n + 1) for _ in range(pages + 1)]
    cut = [[0] * (n + 1) for _ in range(pages + 1)]
    cost[0][0] = 0
    for k in range(1, pages + 1):
        for end in range(k, n - (pages - k) + 1):
            best, best_start = inf, 0
            for start in range(k - 1, end):
                if cost[k - 1][start] == inf:
                    continue
                run = prefix[end] - prefix[start]
                value = cost[k - 1][start] + run * run
                if value < best:   # strict: the earliest cut wins a tie, so output is stable
                    best, best_start = value, start
            cost[k][end], cut[k][end] = best, best_start
    starts, end = [], n
    for k in range(pages, 0, -1):
        start = cut[k][end]
        starts.append(start)
        end = start
    return starts[::-1]


def run_sizes(sizes: list, starts: list) -> list:
    bounds = starts + [len(sizes)]
    return [sum(sizes[bounds[i]:bounds[i + 1]]) for i in range(len(starts))]


def allocate_pages(portion_sizes: list, total: int) -> list:
    """Pages per portion: one each, then every further page to the portion whose largest
    page is currently the largest (portion order breaks ties). Like a divisor method this
    gives portions pages in proportion to their length, and it keeps the largest page of the
    book as small as the verse boundaries allow."""
    if total < len(portion_sizes):
        raise ValueError("fewer pages than portions")
    counts = [1] * len(portion_sizes)
    largest = [max(run_sizes(s, split_evenly(s, 1))) for s in portion_sizes]
    for _ in range(total - len(portion_sizes)):
        candidates = [i for i, s in enumerate(portion_sizes) if counts[i] < len(s)]
        if not candidates:
            raise ValueError("more pages than verses")
        i = max(candidates, key=lambda j: (largest[j], -j))
        counts[i] += 1
        largest[i] = max(run_sizes(portion_sizes[i], split_evenly(portion_sizes[i], counts[i])))
    return counts


@dataclasses.dataclass
class Page:
    number: int       # 1..143
    book: str
    book_name: str
    portion: str
    verses: list

    @property
    def article(self) -> int:
        return 2 * self.number - 1

    @property
    def range_text(self) -> str:
        first, last = self.verses[0], self.verses[-1]
        return f"{verse_ref(first.chapter, first.number)} - {verse_ref(last.chapter, last.number)}"


# ---------------------------------------------------------------------------------------
# Records

def record(kind: str, text: str = "") -> str:
    if not is_storable(text) or text != text.strip():
        raise SourceError(f"text cannot be stored: {text!r}")
    return f"{kind} | {text}" if text else f"{kind} |"


def verse_records(verse: Verse, chapter_heading: bool) -> list:
    """The main text of one verse: a right-to-left paragraph led by its number; a section
    mark inside the verse continues it in a continuation paragraph after the mark."""
    lines = []
    if chapter_heading:
        lines.append(record("p bold center rtl", f"פרק {hebrew_numeral(verse.chapter)}"))
    for i, (text, mark) in enumerate(zip(verse.parts, verse.marks)):
        if i == 0:
            kind, body = "p rtl right lead=1", f"{hebrew_numeral(verse.number)} {text}".strip()
        else:
            kind, body = "cont rtl right", text
        if mark == "pe":
            kind += " gap"
        if body:
            lines.append(record(kind, body))
        if mark == "samekh":
            lines.append(SECTION_RULE)
    return lines


def commentary_records(verse: Verse) -> list:
    lines = [record("p bold rtl right lead=1",
                    f"{hebrew_numeral(verse.number)} {verse_ref(verse.chapter, verse.number)}")]
    for word in verse.words:
        shown = f"[{word.letters}]" if word.qere else word.letters
        lines.append(record("cont rtl right indent=4",
                            f"{shown}: {describe_word(word.morph, word.written)}"))
    return lines


def main_article(page: Page) -> list:
    lines = [f"@article {page.article}",
             record("title", f"{page.book_name} {page.range_text}"),
             record("subtitle", page.portion)]
    for verse in page.verses:
        lines += verse_records(verse, verse.number == 1)
    return lines


def commentary_article(page: Page) -> list:
    lines = [f"@article {page.article + 1}",
             record("title", f"{page.book_name} {page.range_text}"),
             record("subtitle", f"{page.portion} - ניתוח דקדוקי")]
    for verse in page.verses:
        lines += commentary_records(verse)
    return lines


def index_records(pages: list, book_names: dict) -> list:
    """Books (shown, folded), their portions (hidden) and each portion's pages."""
    lines = ["@index"]
    book_group = {b: FIRST_GROUP + i for i, b in enumerate(BOOK_IDS)}
    group = FIRST_GROUP + len(BOOK_IDS)
    last_book = last_portion = None
    for page in pages:
        if page.book != last_book:
            lines.append(record(f"heading 0 {book_group[page.book]} visible bold",
                                book_names[page.book]))
            last_book = page.book
        if (page.book, page.portion) != last_portion:
            lines.append(record(f"heading 1 {group}", page.portion))
            group += 1
            last_portion = (page.book, page.portion)
        lines.append(record(f"entry 2 {page.article}", f"עמוד {page.number} {page.range_text}"))
    return lines


def stored_size(lines: list) -> int:
    """Bytes of the decompressed stream the compiler makes of an article's lines."""
    size = 0
    for line in lines:
        if line.startswith(("@", "#")) or not line:
            continue
        kind, _, text = line.partition(" |")
        text = text[1:] if text.startswith(" ") else text
        if kind.startswith(("heading", "entry")):
            size += INDEX_OVERHEAD + len(text)
        else:
            size += RECORD_OVERHEAD + len(text) + (1 if kind.startswith("cont") else 0)
    return size


# ---------------------------------------------------------------------------------------
# The whole book

@dataclasses.dataclass
class Book:
    files: dict       # file name -> text
    pages: list
    portions: list
    article_sizes: dict   # article number (or "index") -> decompressed bytes
    words: int
    verses: int


def build(package: str, page_count: int = PAGE_COUNT) -> Book:
    verses = []
    for book in BOOK_IDS:
        verses += read_book(os.path.join(package, "wlc", f"{book}.xml"), book)
    book_names, portions = read_portions(os.path.join(package, "MAPM", "MAPM.xml"))
    assign_verses(portions, verses)

    sizes = [[sum(stored_size([l]) for l in verse_records(v, v.number == 1)) for v in p.verses]
             for p in portions]
    counts = allocate_pages(sizes, page_count)
    pages = []
    per_portion = []
    for portion, size, count in zip(portions, sizes, counts):
        starts = split_evenly(size, count) + [len(size)]
        mine = []
        for i in range(count):
            mine.append(Page(len(pages) + 1, portion.book, book_names[portion.book], portion.name,
                             portion.verses[starts[i]:starts[i + 1]]))
            pages.append(mine[-1])
        per_portion.append(mine)

    header = [f"# {CREDIT}",
              f"# Generated from {SOURCE_NOTE} by tools/import-book/import_book.py; do not edit,",
              "# run the tool again (see README.md)."]
    files, article_sizes = {}, {}
    for i, (portion, mine) in enumerate(zip(portions, per_portion), 1):
        lines = header + [f"# {book_names[portion.book]}, {portion.name}: "
                          f"pages {mine[0].number}..{mine[-1].number}", ""]
        for page in mine:
            main, commentary = main_article(page), commentary_article(page)
            article_sizes[page.article] = stored_size(main) + 1          # and the 0 that ends it
            article_sizes[page.article + 1] = stored_size(commentary) + 1
            lines += main + [""] + commentary + [""]
        files[f"torah-{i:02d}.txt"] = "\n".join(lines)
    index = index_records(pages, book_names)
    article_sizes["index"] = stored_size(index) + INDEX_OVERHEAD
    files["torah-index.txt"] = "\n".join(header + [""] + index + [""])
    words = sum(1 for v in verses for w in v.words if not w.qere)
    return Book(files, pages, portions, article_sizes, words, len(verses))


def write(book: Book, out_dir: str):
    os.makedirs(out_dir, exist_ok=True)
    for name in sorted(os.listdir(out_dir)):
        if re.fullmatch(r"torah-.*\.txt", name) and name not in book.files:
            os.remove(os.path.join(out_dir, name))
    for name, text in sorted(book.files.items()):
        with open(os.path.join(out_dir, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


def summary(book: Book) -> str:
    articles = {k: v for k, v in book.article_sizes.items() if k != "index"}
    main = {k: v for k, v in articles.items() if k % 2}
    commentary = {k: v for k, v in articles.items() if not k % 2}
    biggest_main = max(main, key=lambda k: (main[k], -k))
    biggest_commentary = max(commentary, key=lambda k: (commentary[k], -k))
    return "\n".join([
        f"pages: {len(book.pages)} in {len(book.portions)} portions; "
        f"verses: {book.verses}; words: {book.words}",
        f"raw size: {sum(articles.values()) + book.article_sizes['index']} bytes "
        f"(articles {sum(articles.values())}, index {book.article_sizes['index']})",
        f"main text: {sum(main.values())} bytes, largest article {biggest_main} "
        f"({main[biggest_main]} bytes)",
        f"commentary: {sum(commentary.values())} bytes, largest article {biggest_commentary} "
        f"({commentary[biggest_commentary]} bytes)",
    ])


def main(argv=None) -> int:
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("package", help="the unpacked morphhb package (the folder holding wlc/)")
    parser.add_argument("-o", "--out", default=os.path.join(here, "..", "..", "resources", "book"),
                        help="folder to write torah-*.txt into (default: resources/book)")
    args = parser.parse_args(argv)
    try:
        book = build(args.package)
    except (SourceError, OSError, ET.ParseError) as error:
        print(f"import_book: {error}", file=sys.stderr)
        return 1
    too_big = [k for k, v in book.article_sizes.items() if v >= ARTICLE_LIMIT]
    if too_big:
        print(f"import_book: articles of {ARTICLE_LIMIT} bytes or more: {too_big}", file=sys.stderr)
        return 1
    write(book, os.path.normpath(args.out))
    print(summary(book))
    return 0


if __name__ == "__main__":
    sys.exit(main())
