# Usage: /usr/bin/python3 mnemosyne_check.py TESSIMOR_DB. Exports a notebook in the mnemosyne layout,
# imports it with Mnemosyne's own importer into a scratch collection, and compares each card with its pair.
import atexit
import html
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile

try:
    from mnemosyne.script import Mnemosyne
except ImportError:
    print("mnemosyne_check: skipped, Mnemosyne is not installed (scripts/setup test)")
    sys.exit(77)

PAIRS = [("it's", "彼の'本'　"), ("#tag", "# 見出し"), ("100% sure", "百%"), ("long " * 2000, "長" * 9000),
         ('<img src="a.png"> &#65;', "「x」&amp;"), ("two\nlines", "二\r行　\x1f"), ("a\ttab", "タブ"),
         ("", "空"), ("empty", "")]


def shown(side):
    """The text an HTML view shows of a side; a tag shows as nothing."""
    return html.unescape(re.sub(r"<[^>]*>", "", side))


def main():
    tessimor_db = sys.argv[1]
    data = os.environ["XDG_DATA_HOME"] = tempfile.mkdtemp()
    atexit.register(shutil.rmtree, data)
    deck = data + "/deck.txt"
    subprocess.run([tessimor_db, "init"], check=True)
    with sqlite3.connect(data + "/tessimor/word.mdb") as db:
        db.executemany("insert into wordDB values ('2026/01/02 03:04:05', ?, ?)", PAIRS)
    run = subprocess.run([tessimor_db, "export", "--format=mnemosyne", deck], capture_output=True, text=True)
    assert run.returncode == 0 and "exported 7 pairs" in run.stdout, run
    for left_out in ['"a\ttab" "タブ"', '"" "空"', '"empty" ""']:
        assert left_out in run.stderr, run
    mnemosyne = Mnemosyne(data + "/mnemosyne")
    formats = mnemosyne.component_manager.all("file_format")
    next(f for f in formats if type(f).__name__ == "Tsv").do_import(deck)
    database = mnemosyne.database()
    cards = [database.card(card, is_id_internal=True).fact.data for card, _ in database.active_cards()]
    mnemosyne.finalise()
    got = sorted((shown(card["f"]), shown(card["b"])) for card in cards)
    assert got == sorted((e.replace("\t", " "), j) for e, j in PAIRS if e and j), got


main()
