"""The committed book, compiled: every article, verse, commentary and table-of-contents entry.

Usage: book_content_test.py SOLMAR_BOOK SOURCE_DIR [unittest options]
"""

import os
import re
import subprocess
import sys
import tempfile
import unittest

TOOL = SOURCE = None
BOOK_VERSES = {"בראשית": 1533, "שמות": 1213, "ויקרא": 859, "במדבר": 1289, "דברים": 959}
LETTER_VALUES = dict(zip("אבגדהוזחטיכלמנסעפצקרשת", [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50,
                                                         60, 70, 80, 90, 100, 200, 300, 400]))
TITLE, SUBTITLE = 0xDC, 0xD1


def run(*args) -> bytes:
    return subprocess.run([TOOL, *args], check=True, capture_output=True).stdout


MIRROR = {ord("("): ord(")"), ord(")"): ord("("), ord("["): ord("]"), ord("]"): ord("["),
          0x7E: ord("}"), ord("}"): 0x7E}
LEFT_TO_RIGHT_RUN = re.compile(rb"[0-9A-Z](?:[.,:]?[0-9A-Z])*")


def reading_order(raw: bytes) -> bytes:
    """Stored visual order of a right-to-left text back to reading order: reverse, mirror
    the brackets, and turn runs of digits and capitals back the right way round."""
    flipped = bytes(MIRROR.get(b, b) for b in raw[::-1])
    return LEFT_TO_RIGHT_RUN.sub(lambda m: m.group(0)[::-1], flipped)


def text_of(raw: bytes, reversed_: bool) -> str:
    """Letter code to reading-order text."""
    raw = reading_order(raw) if reversed_ else raw
    return "".join(chr(0x5D0 + b - 0x61) if 0x61 <= b <= 0x7B else "{" if b == 0x7E else chr(b) for b in raw)


def numeral(text: str) -> int:
    return sum(LETTER_VALUES[c] for c in text)


def ref(text: str) -> tuple:
    chapter, verse = text.split(":")
    return numeral(chapter), numeral(verse)


def paragraphs(stream: bytes) -> list:
    """(flags, param, raw text) for each record before the 0 flags byte."""
    out, i = [], 0
    while stream[i] != 0:
        end = stream.index(0, i + 2)
        out.append((stream[i], stream[i + 1], stream[i + 2:end]))
        i = end + 1
    return out


def index_records(stream: bytes) -> list:
    """(key, flags, level, text) for each record before the one whose flags are 0."""
    out, i = [], 0
    while stream[i + 2] != 0:
        end = stream.index(0, i + 4)
        out.append((stream[i] | stream[i + 1] << 8, stream[i + 2], stream[i + 3], text_of(stream[i + 4:end], True)))
        i = end + 1
    return out


def verse_paragraphs(stream: bytes) -> list:
    """Text of the records led by a number (lead factor 1) that are not continuations."""
    return [text_of(t, f & 0x10) for f, p, t in paragraphs(stream)
            if p >> 6 == 1 and f & 7 != 7 and not t.startswith(b" ")]


class BookContentTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as tmp:
            pack = os.path.join(tmp, "book.pack")
            run("build", SOURCE, "-o", pack)
            cls.listing = {int(line.split()[0]): [int(x) for x in line.split()[1:]]
                           for line in run("list", pack).decode().splitlines()}
            cls.articles = {n: run("unpack", pack, str(n)) for n in range(1, 287)}
            cls.index = index_records(run("unpack", pack, "index"))
        cls.pages = {}   # odd article -> (book, title range, [(chapter, verse)])
        for n in range(1, 287, 2):
            records = paragraphs(cls.articles[n])
            book, _, title_range = text_of(records[0][2], True).partition(" ")
            cls.pages[n] = (book, title_range, [])

    def test_every_article_and_the_index_is_present_and_small(self):
        self.assertEqual(set(self.listing), set(range(1001, 1287)) | {32767})
        for n, stream in self.articles.items():
            self.assertEqual(len(stream), self.listing[1000 + n][2], n)
            self.assertLess(len(stream), 65536, n)
            self.assertTrue(all(b >= 0x20 for _, _, t in paragraphs(stream) for b in t), n)
        self.assertTrue(all(0x20 <= ord(c) for *_, t in self.index for c in t))

    def test_pages_hold_every_verse_once_in_order_and_commentary_follows_them(self):
        counts = dict.fromkeys(BOOK_VERSES, 0)
        last = None   # (book, chapter, verse)
        for n, (book, title_range, _) in self.pages.items():
            records = paragraphs(self.articles[n])
            self.assertEqual([records[0][0], records[1][0]], [TITLE, SUBTITLE], n)
            self.assertTrue(records[1][2], n)
            seen, chapter = [], (None if last is None or last[0] != book else last[1])
            for flags, param, raw in records[2:]:
                text = text_of(raw, flags & 0x10)
                if flags & 0x60 == 0x40 and text.startswith("פרק "):
                    chapter = numeral(text[4:])
                elif param >> 6 == 1 and not raw.startswith(b" ") and flags & 7 != 7:   # a verse
                    verse = numeral(text.split(" ")[0])
                    expected = [(1, 1)] if last is None or last[0] != book else [(last[1], last[2] + 1), (last[1] + 1, 1)]
                    self.assertIn((chapter, verse), expected, f"article {n}")
                    last = (book, chapter, verse)
                    seen.append((chapter, verse))
                    counts[book] += 1
            self.assertEqual([ref(r) for r in title_range.split(" - ")], [seen[0], seen[-1]], n)
            commentary = [ref(t.split(" ")[1]) for t in verse_paragraphs(self.articles[n + 1])]
            self.assertEqual(commentary, seen, f"commentary {n + 1}")
            self.assertEqual(paragraphs(self.articles[n + 1])[0][0], TITLE, n + 1)
        self.assertEqual(counts, BOOK_VERSES)

    def test_each_page_has_one_entry_under_its_book_and_portion(self):
        entries = [(key & 0x3FFF, text) for key, flags, level, text in self.index if key & 0x4000]
        self.assertEqual(sorted(a for a, _ in entries), list(range(1, 287, 2)))
        for article, text in entries:
            self.assertEqual(text, "עמוד %d %s" % ((article + 1) // 2, self.pages[article][1]))
        levels = [(level, bool(flags & 0x80), bool(key & 0x8000)) for key, flags, level, _ in self.index]
        self.assertEqual(levels.count((0, True, True)), 5)
        self.assertEqual(levels.count((1, False, True)), 54)
        self.assertEqual(levels.count((2, False, False)), 143)
        self.assertEqual(len(levels), 5 + 54 + 143)
        books = [text for key, flags, level, text in self.index if level == 0]
        self.assertEqual(books, list(BOOK_VERSES))
        book = None
        for key, flags, level, text in self.index:
            book = text if level == 0 else book
            if key & 0x4000:
                self.assertEqual(self.pages[key & 0x3FFF][0], book)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    TOOL, SOURCE = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1] + sys.argv[3:])
