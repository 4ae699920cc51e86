# Usage: /usr/bin/python3 mnemosyne_check.py TESSIMOR_DB. Exports a notebook in the mnemosyne layout, imports
# it with Mnemosyne's own importer into a scratch collection, and compares every card (as shown) with its pair.
import atexit, html.parser, os, shutil, sqlite3, subprocess, sys, tempfile
try:
    from mnemosyne.script import Mnemosyne
except ImportError:
    sys.exit(print("mnemosyne_check: skipped, Mnemosyne is not installed (scripts/setup test)") or 77)
pairs = [("it's", "彼の'本'　"), ("#tag", "# 見出し"), ("100% sure", "百%"), ("long " * 2000, "長" * 9000),
         ('<img src="a.png"> &#65;', "「x」&amp;"), ("two\nlines", "二\r行　\x1f"), ("a\ttab", "タブ"),
         ("", "空"), ("empty", "")]
class Shown(html.parser.HTMLParser):  # the text an HTML view shows; a tag shows as nothing
    def __init__(self, side): super().__init__(); self.text = ""; self.feed(side); self.close()
    def handle_data(self, data): self.text += data
data = os.environ["XDG_DATA_HOME"] = tempfile.mkdtemp()
atexit.register(shutil.rmtree, data)
subprocess.run([sys.argv[1], "init"], check=True)
with sqlite3.connect(data + "/tessimor/word.mdb") as db:
    db.executemany("insert into wordDB values ('2026/01/02 03:04:05', ?, ?)", pairs)
run = subprocess.run([sys.argv[1], "export", "--format=mnemosyne", data + "/deck.txt"], capture_output=True, text=True)
assert run.returncode == 0 and "exported 7 pairs" in run.stdout, run
assert '"a\ttab" "タブ"' in run.stderr and '"" "空"' in run.stderr and '"empty" ""' in run.stderr, run
m = Mnemosyne(data + "/mnemosyne")
next(f for f in m.component_manager.all("file_format") if type(f).__name__ == "Tsv").do_import(data + "/deck.txt")
cards = [m.database().card(c, is_id_internal=True).fact.data for c, _ in m.database().active_cards()]
m.finalise()
got = sorted((Shown(c["f"]).text, Shown(c["b"]).text) for c in cards)
assert got == sorted((e.replace("\t", " "), j) for e, j in pairs if e and j), got
