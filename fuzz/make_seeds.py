#!/usr/bin/env python3
"""Writes starting inputs for every fuzz target from the built book, one folder per target.

usage: make_seeds.py SOLMAR_BOOK PACK BOOK_SOURCE_DIR OUT_DIR

The inputs follow each target's own input layout (see the comment at the top of each
fuzz_*.cpp). They are only a start: the kept corpus in fuzz/corpus is what long runs grew
from these and libFuzzer's -merge=1 then reduced.
"""
import pathlib
import subprocess
import sys
import tempfile


def run(tool, *args):
    return subprocess.run([tool, *map(str, args)], check=True, capture_output=True).stdout


def write(out, target, name, data):
    folder = pathlib.Path(out, target)
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def tiny_source():
    """A whole book of 286 one-letter articles and a one-entry index."""
    lines = []
    for n in range(1, 287):
        lines += [f"@article {n}", "p rtl | \u05d0"]
    lines += ["@index", "heading 0 301 visible bold | \u05d0", "entry 1 1 | \u05d1"]
    return "\n".join(lines) + "\n"


def article_records(source_text, number):
    """The record lines of one article of a book source file."""
    lines, inside = [], False
    for line in source_text.splitlines():
        if line.startswith("@article"):
            inside = line.split()[1] == str(number)
            continue
        if inside and line and not line.startswith("#"):
            lines.append(line)
    return "\n".join(lines) + "\n"


def main():
    tool, pack, source_dir, out = sys.argv[1:5]
    small = [1223, 1169, 1187]  # the three smallest stored articles
    articles = {r: run(tool, "unpack", pack, r) for r in small}
    index = run(tool, "unpack", pack, "index")

    for r in small:
        write(out, "fuzz_decoder", f"resource-{r}", run(tool, "raw", pack, r))
        tokens = subprocess.run([tool, "lz77", "-c"], input=articles[r][:2000], check=True,
                                capture_output=True).stdout
        block = len(tokens).to_bytes(2, "big") + min(len(articles[r]), 2000).to_bytes(2, "big") + tokens
        write(out, "fuzz_decoder", f"block-{r}", block)
        write(out, "fuzz_lz77_round_trip", f"article-{r}", articles[r])
    write(out, "fuzz_decoder", "resource-index", run(tool, "raw", pack, "index"))
    write(out, "fuzz_lz77_round_trip", "index", index)

    with tempfile.TemporaryDirectory() as scratch:
        pathlib.Path(scratch, "book.txt").write_text(tiny_source(), encoding="utf-8")
        tiny_pack = pathlib.Path(scratch, "tiny.pack")
        run(tool, "build", scratch, "-o", tiny_pack)
        write(out, "fuzz_pack", "tiny-book", tiny_pack.read_bytes())

    first = pathlib.Path(source_dir, "torah-01.txt").read_text(encoding="utf-8")
    index_source = pathlib.Path(source_dir, "torah-index.txt").read_text(encoding="utf-8")
    index_lines = [l for l in index_source.splitlines() if l and not l.startswith("#")][:40]
    write(out, "fuzz_book_source", "whole-tiny-book", b"\x00" + tiny_source().encode())
    write(out, "fuzz_book_source", "article-1", b"\x01" + article_records(first, 1).encode())
    write(out, "fuzz_book_source", "index", b"\x02" + "\n".join(index_lines[1:]).encode() + b"\n")

    article = articles[1223]
    for i, (at, wild) in enumerate([(300, None), (900, b"*"), (1500, b"?")]):
        pattern = article[at:at + 5]
        if wild:
            pattern = pattern[:2] + wild + pattern[3:]
        start = (len(article) - 1).to_bytes(2, "little")
        write(out, "fuzz_search", f"pattern-{i}", bytes([len(pattern)]) + pattern + start + article)

    # Box 200x300, font size 12, bookmarks 1 and 5, one of each of the seven operations.
    ops = bytes([0, 3, 0,  1, 20, 40,  2, 1, 0,  3, 9, 0,  4, 80, 120,  5, 1, 0,  6, 14, 1])
    head = bytes([100, 150, 12, 2, 1, 0, 5, 0, len(ops) // 3]) + ops
    write(out, "fuzz_index", "book-index", head + index)
    write(out, "fuzz_index", "cut-index", head + index[:200])  # a stream with no end record

    earlier = b"{\\rtf1\\ansi {\\fonttbl{\\f0 David;}} \\u1488? abc}\r\n"
    for choice, previous in [(0, b""), (5, earlier), (2, b"plain text\0")]:
        data = len(previous).to_bytes(2, "little") + previous + bytes([choice]) + articles[1169]
        write(out, "fuzz_export", f"choice-{choice}", data)


if __name__ == "__main__":
    main()
