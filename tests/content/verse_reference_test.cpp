// The verse map read from the shipped book, and references read against it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/article.h"
#include "content/verse_map.h"
#include "content/verse_reference.h"
#include "platform/fake/fake_platform.h"
#include "support/book_pack.h"

namespace {

using test_support::Utf8;


class BookVerseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fake::ResetAll();
    ASSERT_TRUE(fake::UsePack(test_support::ReadBookPack())) << SOLMAR_BOOK_PACK_FILE;
    ResetBookVerseMap();
    map_ = &BookVerseMap();
  }
  static void TearDownTestSuite() { ResetBookVerseMap(); }
  static const VerseMap* map_;
};
const VerseMap* BookVerseTest::map_ = nullptr;

TEST(HebrewNumeralTest, EveryNumberRoundTripsAndKnownFormsAreTheBooks) {
  for (int n = 1; n <= 999; ++n) ASSERT_EQ(HebrewNumeralValue(HebrewNumeral(n)), n) << n;
  const struct {
    int value;
    std::u16string text;
  } cases[] = {
      {1, u"א"}, {10, u"י"}, {11, u"יא"}, {15, u"טו"}, {16, u"טז"}, {20, u"כ"}, {31, u"לא"},
      {50, u"נ"}, {99, u"צט"}, {115, u"קטו"}, {176, u"קעו"}, {400, u"ת"}, {999, u"תתקצט"},
  };
  for (const auto& c : cases) EXPECT_EQ(HebrewNumeral(c.value), c.text) << c.value;
  EXPECT_EQ(HebrewNumeral(0), u"");
  EXPECT_EQ(HebrewNumeral(1000), u"");
}

TEST(HebrewNumeralTest, ValueReadsGereshFinalFormsAndRefusesRisingOrder) {
  const struct {
    std::u16string text;
    int value;
  } cases[] = {
      {u"כ\"ה", 25}, {u"כ״ה", 25}, {u"ח'", 8}, {u"ח׳", 8}, {u"יה", 15}, {u"ך", 20}, {u"םא", 41},
      {u"הי", 0},    {u"", 0},     {u"'", 0},  {u"א1", 0}, {u"aב", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(HebrewNumeralValue(c.text), c.value) << Utf8(c.text);
}

TEST_F(BookVerseTest, TheMapHoldsTheFiveBooksWholeAndInOrder) {
  ASSERT_EQ(map_->verses.size(), 5853u);
  const int chapters[kTorahBookCount] = {50, 40, 27, 36, 34};
  for (int book = 0; book < kTorahBookCount; ++book) EXPECT_EQ(LastChapter(*map_, book), chapters[book]) << book;
  EXPECT_EQ(LastVerse(*map_, 0, 1), 31);
  EXPECT_EQ(LastVerse(*map_, 3, 7), 89);
  EXPECT_EQ(LastVerse(*map_, 4, 34), 12);
  EXPECT_EQ(LastVerse(*map_, 0, 51), 0);
  EXPECT_EQ(LastChapter(*map_, 5), 0);
  // Every verse follows the one before it: the next verse, or a new chapter's first, or a
  // new book's first chapter.
  for (size_t i = 1; i < map_->verses.size(); ++i) {
    const VerseKey& a = map_->verses[i - 1].key;
    const VerseKey& b = map_->verses[i].key;
    const bool next = (a.book == b.book && a.chapter == b.chapter && b.verse == a.verse + 1) ||
                      (a.book == b.book && b.chapter == a.chapter + 1 && b.verse == 1) ||
                      (b.book == a.book + 1 && b.chapter == 1 && b.verse == 1);
    ASSERT_TRUE(next) << "after " << int(a.book) << " " << int(a.chapter) << ":" << int(a.verse);
    ASSERT_LE(map_->verses[i - 1].article, map_->verses[i].article);
  }
}

TEST_F(BookVerseTest, EveryVerseMapsToItsPageAndBack) {
  uint16_t loaded = 0;
  std::vector<uint8_t> data;
  std::vector<RecordVerseKey> records;
  for (const VersePlace& place : map_->verses) {
    ASSERT_EQ(place.article % 2, 1) << "a verse on a commentary page";
    if (place.article != loaded) {
      uint32_t length = 0;
      uint8_t* bytes = LoadArticle(place.article, nullptr, &length);
      ASSERT_NE(bytes, nullptr);
      data.assign(bytes, bytes + length + 1);
      platform::Free(bytes);
      records = ArticleRecordVerses(data.data(), uint32_t(data.size()));
      loaded = place.article;
    }
    // Back: the page's record at the place belongs to that verse, and so does each record
    // up to its end but a closed section's rule inside it; the record after it does not.
    bool found = false;
    for (size_t i = 0; i < records.size(); ++i) {
      if (records[i].recordOffset != place.firstRecord) continue;
      found = true;
      size_t j = i;
      while (j < records.size() && records[j].recordOffset < place.endRecord) {
        ASSERT_TRUE(records[j].key == place.key || (j > i && records[j].key.verse == 0))
            << place.article << " @" << records[j].recordOffset;
        ++j;
      }
      ASSERT_EQ(records[j - 1].recordEnd, place.endRecord);
      if (j < records.size()) {
        EXPECT_FALSE(records[j].key == place.key);
      }
    }
    ASSERT_TRUE(found) << place.article << " @" << place.firstRecord;
    // The text starts with the verse's number as the book writes it and ends the verse.
    const std::u16string text = VerseReadingText(data.data(), uint32_t(data.size()), place);
    const std::u16string number = HebrewNumeral(place.key.verse) + u" ";
    ASSERT_EQ(text.substr(0, number.size()), number) << Utf8(text);
    ASSERT_NE(text.back(), u' ');
  }
}

TEST_F(BookVerseTest, CommentaryRecordsNameTheVerseTheyExplain) {
  uint32_t length = 0;
  uint8_t* bytes = LoadArticle(2, nullptr, &length);
  ASSERT_NE(bytes, nullptr);
  const std::vector<RecordVerseKey> records = ArticleRecordVerses(bytes, length + 1);
  platform::Free(bytes);
  ASSERT_GT(records.size(), 10u);
  EXPECT_EQ(records[0].key.verse, 0);  // title
  EXPECT_EQ(records[1].key.verse, 0);  // subtitle
  EXPECT_TRUE((records[2].key == VerseKey{0, 1, 1}));  // "א א:א"
  EXPECT_TRUE((records[3].key == VerseKey{0, 1, 1}));  // its first word's analysis
  EXPECT_TRUE((records.back().key == VerseKey{0, 2, 16}));
}

TEST_F(BookVerseTest, ContinuedVersesJoinTheirParagraphs) {
  // Genesis 35:22 goes on after an open section's mark inside it, Deuteronomy 2:8 after a
  // closed section's rule.
  const struct {
    VerseKey key;
    std::u16string start, end;
  } cases[] = {
      {{0, 35, 22}, u"כב ויהי בשכן", u"וישמע ישראל ויהיו בני-יעקב שנים עשר:"},
      {{4, 2, 8}, u"ח ונעבר מאת", u"מאילת ומעצין גבר ונפן ונעבר דרך מדבר מואב:"},
  };
  for (const auto& c : cases) {
    const VersePlace* place = FindVerse(*map_, c.key);
    ASSERT_NE(place, nullptr);
    uint32_t length = 0;
    uint8_t* bytes = LoadArticle(place->article, nullptr, &length);
    ASSERT_NE(bytes, nullptr);
    const std::u16string text = VerseReadingText(bytes, length + 1, *place);
    platform::Free(bytes);
    EXPECT_EQ(text.substr(0, c.start.size()), c.start) << Utf8(text);
    ASSERT_GE(text.size(), c.end.size());
    EXPECT_EQ(text.substr(text.size() - c.end.size()), c.end) << Utf8(text);
  }
}

struct ParseCase {
  std::u16string text;
  VerseKey first, last;
};

TEST_F(BookVerseTest, ReferencesInEveryForm) {
  const ParseCase cases[] = {
      {u"בראשית א:ג", {0, 1, 3}, {0, 1, 3}},
      {u"בראשית א ג", {0, 1, 3}, {0, 1, 3}},
      {u"  בראשית  א : ג  ", {0, 1, 3}, {0, 1, 3}},
      {u"בראשית א.ג", {0, 1, 3}, {0, 1, 3}},
      {u"בראשית א,ג", {0, 1, 3}, {0, 1, 3}},
      {u"בראשית 1:3", {0, 1, 3}, {0, 1, 3}},
      {u"בראשית א ג-ה", {0, 1, 3}, {0, 1, 5}},
      {u"בראשית א:לא-ב:ג", {0, 1, 31}, {0, 2, 3}},
      {u"בראשית א:לא – ב:ג", {0, 1, 31}, {0, 2, 3}},
      {u"בראשית א:לא\u05BEב:ג", {0, 1, 31}, {0, 2, 3}},
      {u"בר' א:א", {0, 1, 1}, {0, 1, 1}},
      {u"בר׳ א:א", {0, 1, 1}, {0, 1, 1}},
      {u"בר'א:א", {0, 1, 1}, {0, 1, 1}},
      {u"שמות כ\"ה:ח", {1, 25, 8}, {1, 25, 8}},
      {u"שמ' כ״ה ח'", {1, 25, 8}, {1, 25, 8}},
      {u"שמות טו:א", {1, 15, 1}, {1, 15, 1}},
      {u"שמות טז:א", {1, 16, 1}, {1, 16, 1}},
      {u"ויקרא א:א", {2, 1, 1}, {2, 1, 1}},
      {u"ויק' יט:יח", {2, 19, 18}, {2, 19, 18}},
      {u"במדבר ז:פט", {3, 7, 89}, {3, 7, 89}},
      {u"במ' ו:כד-כו", {3, 6, 24}, {3, 6, 26}},
      {u"דברים ו:ד", {4, 6, 4}, {4, 6, 4}},
      {u"דב' לד:יב", {4, 34, 12}, {4, 34, 12}},
      {u"Genesis 1:1", {0, 1, 1}, {0, 1, 1}},
      {u"GENESIS 1:1", {0, 1, 1}, {0, 1, 1}},
      {u"gen 1.3", {0, 1, 3}, {0, 1, 3}},
      {u"Gen. 1:3", {0, 1, 3}, {0, 1, 3}},
      {u"Gen1:3", {0, 1, 3}, {0, 1, 3}},
      {u"Gn 50:26", {0, 50, 26}, {0, 50, 26}},
      {u"Exodus 20:1", {1, 20, 1}, {1, 20, 1}},
      {u"Exod 25:8-9", {1, 25, 8}, {1, 25, 9}},
      {u"Ex 25:8–9", {1, 25, 8}, {1, 25, 9}},
      {u"Leviticus 19:18", {2, 19, 18}, {2, 19, 18}},
      {u"lev 1:1", {2, 1, 1}, {2, 1, 1}},
      {u"Numbers 6:24", {3, 6, 24}, {3, 6, 24}},
      {u"Num 7:89", {3, 7, 89}, {3, 7, 89}},
      {u"Deuteronomy 6:4", {4, 6, 4}, {4, 6, 4}},
      {u"Deut 34:12", {4, 34, 12}, {4, 34, 12}},
      {u"Dt 6:4-9", {4, 6, 4}, {4, 6, 9}},
      {u"Gen 1", {0, 1, 1}, {0, 1, 31}},
      {u"בראשית א", {0, 1, 1}, {0, 1, 31}},
      {u"Gen 1-2", {0, 1, 1}, {0, 2, 25}},
      {u"Gen 1:31-2:3", {0, 1, 31}, {0, 2, 3}},
      {u"Gen 1:3-3", {0, 1, 3}, {0, 1, 3}},
  };
  for (const ParseCase& c : cases) {
    const ReferenceResult r = ParseReference(c.text, *map_);
    ASSERT_EQ(r.error, ReferenceError::kNone) << Utf8(c.text) << ": " << Utf8(ReferenceErrorMessage(r, *map_));
    EXPECT_TRUE(r.range.first == c.first) << Utf8(c.text);
    EXPECT_TRUE(r.range.last == c.last) << Utf8(c.text);
  }
}

TEST_F(BookVerseTest, RefusalsNameTheWrongPart) {
  const struct {
    std::u16string text;
    ReferenceError error;
    std::u16string part;
  } cases[] = {
      {u"", ReferenceError::kEmpty, u""},
      {u"   ", ReferenceError::kEmpty, u""},
      {u"Psalms 23:1", ReferenceError::kNoBook, u"Psalms"},
      {u"תהלים כג:א", ReferenceError::kNoBook, u"תהלים"},
      {u"בראשיתא:א", ReferenceError::kNoBook, u"בראשיתא:א"},
      {u"Genes 1:1", ReferenceError::kNoBook, u"Genes"},
      {u"בר א:א", ReferenceError::kNoBook, u"בר"},
      {u"Gen", ReferenceError::kBadChapter, u""},
      {u"Gen x:1", ReferenceError::kBadChapter, u"x:1"},
      {u"בראשית הי:א", ReferenceError::kBadChapter, u"הי"},
      {u"Gen 1:", ReferenceError::kBadVerse, u""},
      {u"Gen 1:a", ReferenceError::kBadVerse, u"a"},
      {u"Gen 1a:1", ReferenceError::kBadChapter, u"1a"},
      {u"Gen 51:1", ReferenceError::kNoSuchChapter, u"51"},
      {u"בראשית נא:א", ReferenceError::kNoSuchChapter, u"נא"},
      {u"Gen 0:1", ReferenceError::kNoSuchChapter, u"0"},
      {u"Gen 99999:1", ReferenceError::kNoSuchChapter, u"99999"},
      {u"Gen 1:32", ReferenceError::kNoSuchVerse, u"32"},
      {u"Gen 1:0", ReferenceError::kNoSuchVerse, u"0"},
      {u"בראשית א:לב", ReferenceError::kNoSuchVerse, u"לב"},
      {u"Gen 1:3-32", ReferenceError::kNoSuchVerse, u"32"},
      {u"Gen 1:3-51:1", ReferenceError::kNoSuchChapter, u"51"},
      {u"Gen 1:3-", ReferenceError::kBadVerse, u""},
      {u"Gen 1:5-3", ReferenceError::kBackwards, u"Gen 1:5-3"},
      {u"בראשית ב:ג-א:לא", ReferenceError::kBackwards, u"בראשית ב:ג-א:לא"},
      {u"Gen 1:3 and more", ReferenceError::kTrailing, u"and more"},
      {u"Gen 1:3:4", ReferenceError::kTrailing, u":4"},
  };
  for (const auto& c : cases) {
    const ReferenceResult r = ParseReference(c.text, *map_);
    EXPECT_EQ(r.error, c.error) << Utf8(c.text);
    EXPECT_EQ(r.part, c.part) << Utf8(c.text) << " gave part " << Utf8(r.part);
    if (c.error != ReferenceError::kNone) {
      EXPECT_FALSE(ReferenceErrorMessage(r, *map_).empty());
    }
  }
}

TEST_F(BookVerseTest, MessagesSayWhatIsWrong) {
  const struct {
    std::u16string text;
    std::u16string message;
  } cases[] = {
      {u"Gen 51:1", u"בראשית has no chapter 51: it has 50 chapters."},
      {u"Gen 1:32", u"Chapter א of בראשית has no verse 32: it has 31 verses."},
      {u"Psalms 1:1",
       u"\"Psalms\" is not one of the five books: write Genesis, Exodus, Leviticus, Numbers or Deuteronomy, in Hebrew "
       u"or in English."},
      {u"Gen 1:5-3", u"The range \"Gen 1:5-3\" runs backwards: its end comes before its start."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReferenceErrorMessage(ParseReference(c.text, *map_), *map_), c.message) << Utf8(c.text);
}

TEST_F(BookVerseTest, TypedReferencesAreNormalisedFirst) {
  const ParseCase cases[] = {
      // Pointed, with cantillation, as pasted from a pointed edition.
      {u"בְּרֵאשִׁ֖ית א׳:ג׳", {0, 1, 3}, {0, 1, 3}},
      // Bidi marks around the numbers, as a right-to-left editor leaves them.
      {u"\u200Fבראשית\u200F \u202Bא:ג\u202C", {0, 1, 3}, {0, 1, 3}},
      // A real maqaf as the range's dash, sof pasuq as the separator, gershayim.
      {u"שמות כ״ה\u05C3ח\u05BEט", {1, 25, 8}, {1, 25, 9}},
      // No-break spaces, an en dash, a typographic apostrophe.
      {u"Exod\u00A025:8\u20139", {1, 25, 8}, {1, 25, 9}},
      {u"בר\u2019 א:א", {0, 1, 1}, {0, 1, 1}},
      // Presentation forms (wide letters, shin with dot).
      {u"\uFB2Aמות א:א", {1, 1, 1}, {1, 1, 1}},
  };
  for (const ParseCase& c : cases) {
    const ReferenceResult r = ParseTypedReference(c.text, *map_);
    ASSERT_EQ(r.error, ReferenceError::kNone) << Utf8(c.text) << ": " << Utf8(ReferenceErrorMessage(r, *map_));
    EXPECT_TRUE(r.range.first == c.first) << Utf8(c.text);
    EXPECT_TRUE(r.range.last == c.last) << Utf8(c.text);
  }
  // English names keep their case in the message; a character nothing maps is named.
  EXPECT_EQ(ParseTypedReference(u"Psalms 1:1", *map_).part, u"Psalms");
  const ReferenceResult emoji = ParseTypedReference(u"Gen 1:\U0001F600", *map_);
  EXPECT_EQ(emoji.error, ReferenceError::kBadCharacter);
  EXPECT_EQ(emoji.part, u"\U0001F600");
  EXPECT_EQ(ReferenceErrorMessage(emoji, *map_), u"A reference cannot hold \"\U0001F600\".");
}

TEST(FormatReferenceTest, TheBooksOwnStyle) {
  const struct {
    VerseRange range;
    std::u16string text;
  } cases[] = {
      {{{0, 1, 3}, {0, 1, 3}}, u"בראשית א:ג"},
      {{{0, 1, 3}, {0, 1, 5}}, u"בראשית א:ג-ה"},
      {{{0, 1, 31}, {0, 2, 3}}, u"בראשית א:לא-ב:ג"},
      {{{1, 15, 16}, {1, 16, 15}}, u"שמות טו:טז-טז:טו"},
      {{{0, 50, 26}, {1, 1, 1}}, u"בראשית נ:כו-שמות א:א"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatReference(c.range), c.text) << Utf8(c.text);
}

}  // namespace
