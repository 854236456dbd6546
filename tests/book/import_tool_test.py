"""The book import tool on a two-verse excerpt of the package (fixtures/Gen.xml) and on
small made-up inputs: verse text, numerals, analyses, pages and the table of contents."""

import os
import re
import sys
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "import-book"))
import import_book as ib  # noqa: E402

STORABLE = re.compile(r'[\u05d0-\u05ea0-9 :\-\[\]|"\'+()]*')


class NumeralTest(unittest.TestCase):
    def test_standard_forms(self):
        cases = {1: "א", 10: "י", 11: "יא", 15: "טו", 16: "טז", 19: "יט", 20: "כ", 89: "פט",
                 100: "ק", 115: "קטו", 116: "קטז", 176: "קעו", 499: "תצט", 915: "תתקטו"}
        for n, text in cases.items():
            self.assertEqual(ib.hebrew_numeral(n), text, n)
        for n in (0, 1000):
            self.assertRaises(ValueError, ib.hebrew_numeral, n)


class ExcerptTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.flood, cls.reuben = ib.read_book(os.path.join(HERE, "fixtures", "Gen.xml"), "Gen")

    def test_verse_paragraph_with_ketiv_qere_maqaf_and_sof_pasuq(self):
        self.assertEqual((self.flood.chapter, self.flood.number), (8, 17))
        self.assertEqual(ib.verse_records(self.flood, False), [
            "p rtl right lead=1 | יז כל-החיה אשר-אתך מכל-בשר בעוף ובבהמה ובכל-הרמש הרמש "
            "על-הארץ הוצא [היצא] אתך ושרצו בארץ ופרו ורבו על-הארץ:"])
        self.assertEqual(ib.verse_records(self.flood, True)[0], "p bold center rtl | פרק ח")

    def test_open_section_inside_a_verse_continues_the_verse(self):
        first, rest = ib.verse_records(self.reuben, False)
        self.assertEqual(first, "p rtl right lead=1 gap | כב ויהי בשכן ישראל בארץ ההוא וילך "
                                "ראובן וישכב את-בלהה פילגש אביו וישמע ישראל")
        self.assertEqual(rest, "cont rtl right | ויהיו בני-יעקב שנים עשר:")

    def test_paseq_and_closed_section(self):
        verse = ET.fromstring(
            f'<verse xmlns="{ib.OSIS[1:-1]}" osisID="Gen.1.5"><w morph="HNcmpa">אֱלֹהִ֤ים</w>'
            '<seg type="x-paseq">׀</seg><w morph="HRd/Ncbsa">לָ/אוֹר֙</w>'
            '<seg type="x-sof-pasuq">׃</seg><seg type="x-samekh">ס</seg></verse>')
        self.assertEqual(ib.verse_records(ib.read_verse("Gen", verse), False),
                         ["p rtl right lead=1 | ה אלהים | לאור:", ib.SECTION_RULE])

    def test_commentary_has_one_entry_per_word_and_qere(self):
        lines = ib.commentary_records(self.flood)
        self.assertEqual(lines[0], "p bold rtl right lead=1 | יז ח:יז")
        self.assertEqual(len(lines), 1 + 22)   # 21 written words and one qere
        self.assertTrue(all(l.startswith("cont rtl right indent=4 | ") for l in lines[1:]))
        ketiv = lines.index("cont rtl right indent=4 | הוצא: פועל הפעיל ציווי נוכח זכר יחיד")
        self.assertEqual(lines[ketiv + 1], "cont rtl right indent=4 | [היצא]: פועל הפעיל ציווי נוכח זכר יחיד")
        for line in lines + ib.commentary_records(self.reuben):
            self.assertRegex(line.split(" | ", 1)[1], STORABLE)

    def test_analysis_wording(self):
        lines = ib.commentary_records(self.flood)[1:] + ib.commentary_records(self.reuben)[1:]
        entries = dict(line.split(" | ", 1)[1].split(": ", 1) for line in lines)
        expected = {
            "ובבהמה": "ו' החיבור + מילת יחס וה' הידיעה + ש\"ע נקבה יחיד נפרד",
            "אתך": "מילת יחס + כינוי חבור נוכח נקבה יחיד",
            "ושרצו": "ו' ההיפוך + פועל קל עבר מהופך נסתר זו\"נ רבים",
            "הרמש": "ה' הידיעה + פועל קל בינוני פועל זכר יחיד נפרד",
            "אשר": "מילת זיקה",
            "ההוא": "ה' הידיעה + כינוי גוף נסתר נקבה יחיד",
            "בשכן": "מילת יחס + פועל קל מקור נטוי",
            "שנים": "מספר יסודי זכר זוגי נפרד",
            "ישראל": "שם פרטי",
            "אביו": "ש\"ע זכר יחיד נסמך + כינוי חבור נסתר זכר יחיד",
        }
        for word, analysis in expected.items():
            self.assertEqual(entries[word], analysis, word)

    def test_codes_outside_the_excerpt(self):
        cases = {("HTi/Tn", "ה/לא"): "ה' השאלה + מילת שלילה",
                 ("HC/C", "ו/כי"): "ו' החיבור + מילת חיבור",
                 ("HC/Vqp3ms", "ו/אמר"): "ו' החיבור + פועל קל עבר נסתר זכר יחיד",
                 ("HPdxcp", "אלה"): "כינוי רומז זו\"נ רבים",
                 ("HNcfsa/Sd", "ארצ/ה"): "ש\"ע נקבה יחיד נפרד + ה' המגמה",
                 ("HVNp3ms", "נברא"): "פועל נפעל עבר נסתר זכר יחיד",
                 ("ANp", "יגר"): "(ארמית) שם פרטי"}
        for (morph, written), analysis in cases.items():
            self.assertEqual(ib.describe_word(morph, written), analysis, morph)
        for morph in ("", "XNcmsa", "HZ", "HVXp3ms", "HVqp3msa", "HNcmsaa", "HRx", "AVqp3ms"):
            self.assertRaises(ib.SourceError, ib.describe_word, morph, "אב")


class PagesTest(unittest.TestCase):
    def test_split_is_as_even_as_boundaries_allow(self):
        self.assertEqual(ib.split_evenly([5, 5, 5, 5], 2), [0, 2])
        self.assertEqual(ib.split_evenly([10] + [1] * 10, 2), [0, 1])
        self.assertEqual(ib.split_evenly([3, 1, 2], 3), [0, 1, 2])
        self.assertRaises(ValueError, ib.split_evenly, [1, 2], 3)

    def test_pages_follow_portion_length_and_every_portion_gets_one(self):
        self.assertEqual(ib.allocate_pages([[10] * 30, [10] * 10], 4), [3, 1])
        self.assertEqual(ib.allocate_pages([[1], [100] * 10, [50] * 10], 5), [1, 3, 1])
        self.assertRaises(ValueError, ib.allocate_pages, [[1], [1]], 1)

    def test_verses_past_a_stated_range_stay_with_the_portion_before(self):
        verses = [ib.Verse("Gen", c, v, ["א"], [None], []) for c in (1, 2, 3) for v in (1, 2)]
        portions = [ib.Portion("Gen", "א", (1, 1)), ib.Portion("Gen", "ב", (2, 1))]
        ib.assign_verses(portions, verses)
        self.assertEqual([(v.chapter, v.number) for v in portions[1].verses],
                         [(2, 1), (2, 2), (3, 1), (3, 2)])
        self.assertRaises(ib.SourceError, ib.assign_verses, [ib.Portion("Gen", "א", (1, 2))], verses)


class ArticleTest(unittest.TestCase):
    def test_articles_index_and_stored_size(self):
        book = ib.read_book(os.path.join(HERE, "fixtures", "Gen.xml"), "Gen")
        pages = [ib.Page(1, "Gen", "בראשית", "נח", book[:1]), ib.Page(2, "Gen", "בראשית", "וישלח", book[1:])]
        self.assertEqual(ib.main_article(pages[1])[:3],
                         ["@article 3", "title | בראשית לה:כב - לה:כב", "subtitle | וישלח"])
        self.assertEqual(ib.commentary_article(pages[0])[:3],
                         ["@article 2", "title | בראשית ח:יז - ח:יז", "subtitle | נח - ניתוח דקדוקי"])
        self.assertEqual(ib.index_records(pages, {"Gen": "בראשית"}), [
            "@index", "heading 0 301 visible bold | בראשית",
            "heading 1 306 | נח", "entry 2 1 | עמוד 1 ח:יז - ח:יז",
            "heading 1 307 | וישלח", "entry 2 3 | עמוד 2 לה:כב - לה:כב"])
        # Records cost 3 bytes each, a continuation one more for its leading space.
        self.assertEqual(ib.stored_size(["@article 1", "title | אב", "cont rtl right | ג", "rule 40 center |"]),
                         5 + 5 + 3)


if __name__ == "__main__":
    unittest.main()
