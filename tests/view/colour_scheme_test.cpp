// The colour schemes: the contrast of every pair of colours that meet on the screen, and
// painting in each scheme takes its colours from the scheme's table and nowhere else.
#include <cstdio>
#include <set>

#include "view/colour_scheme.h"
#include "view_fixture.h"

namespace {

TEST(ContrastRatioTest, FollowsTheWcagFormula) {
  struct Case {
    uint32_t a, b;
    double ratio;
  };
  const Case cases[] = {
      {0x000000, 0xFFFFFF, 21.0},   // the extremes
      {0xFFFFFF, 0x000000, 21.0},   // either order
      {0x123456, 0x123456, 1.0},    // a colour on itself
      {0x777777, 0xFFFFFF, 4.478},  // the usual grey at the AA limit
      {0x0000FF, 0xFFFFFF, 3.998},  // pure red (blue-green-red order) on white
      {0xFF0000, 0xFFFFFF, 8.592},  // pure blue on white: blue weighs least
      {0x00FF00, 0x000000, 15.3},   // pure green on black: green weighs most
  };
  for (const Case& c : cases) EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01) << std::hex << c.a << " on " << c.b;
}

// A pair of colours that meet: its text (or line) on its ground, and the least contrast it
// must have in each scheme. The light scheme keeps the classic colours, so where they fall
// short of the dark scheme's figures the light minimum is what they have always had.
struct Pair {
  const char* name;
  uint32_t (*fore)(const ColourScheme&);
  uint32_t (*ground)(const ColourScheme&);
  double darkMinimum;
  double lightMinimum;
};

const Pair kPairs[] = {
    {"text on the page", [](const ColourScheme& s) { return s.text; }, [](const ColourScheme& s) { return s.pageGround; }, 7.0, 7.0},
    {"text on the commentary", [](const ColourScheme& s) { return s.text; }, [](const ColourScheme& s) { return s.commentaryGround; }, 7.0, 7.0},
    {"verse numbers on the page", [](const ColourScheme& s) { return s.verseNumber; }, [](const ColourScheme& s) { return s.pageGround; }, 7.0, 7.0},
    {"verse numbers on the commentary", [](const ColourScheme& s) { return s.verseNumber; }, [](const ColourScheme& s) { return s.commentaryGround; }, 7.0, 7.0},
    {"titles on the page", [](const ColourScheme& s) { return s.title; }, [](const ColourScheme& s) { return s.pageGround; }, 7.0, 7.0},
    {"titles on the commentary", [](const ColourScheme& s) { return s.title; }, [](const ColourScheme& s) { return s.commentaryGround; }, 7.0, 7.0},
    {"highlight", [](const ColourScheme& s) { return s.highlightText; }, [](const ColourScheme& s) { return s.highlightGround; }, 4.5, 4.5},
    {"selection", [](const ColourScheme& s) { return s.selectionText; }, [](const ColourScheme& s) { return s.selectionGround; }, 4.5, 4.5},
    {"banner", [](const ColourScheme& s) { return s.bannerText; }, [](const ColourScheme& s) { return s.bannerGround; }, 7.0, 3.7},
    {"index entries", [](const ColourScheme& s) { return s.indexText; }, [](const ColourScheme& s) { return s.indexGround; }, 7.0, 7.0},
    {"index headings", [](const ColourScheme& s) { return s.indexHeading; }, [](const ColourScheme& s) { return s.indexGround; }, 7.0, 7.0},
    {"rules on the page", [](const ColourScheme& s) { return s.rule; }, [](const ColourScheme& s) { return s.pageGround; }, 3.0, 3.0},
    {"rules on the commentary", [](const ColourScheme& s) { return s.rule; }, [](const ColourScheme& s) { return s.commentaryGround; }, 3.0, 3.0},
    {"separator on the page", [](const ColourScheme& s) { return s.separator; }, [](const ColourScheme& s) { return s.pageGround; }, 3.0, 3.0},
    {"separator on the commentary", [](const ColourScheme& s) { return s.separator; }, [](const ColourScheme& s) { return s.commentaryGround; }, 3.0, 3.0},
    {"About box link", [](const ColourScheme& s) { return s.link; }, [](const ColourScheme& s) { return s.chrome.window; }, 4.5, 4.5},
    {"dialog text", [](const ColourScheme& s) { return s.chrome.windowText; }, [](const ColourScheme& s) { return s.chrome.window; }, 7.0, 7.0},
    {"edit box and list text", [](const ColourScheme& s) { return s.chrome.text; }, [](const ColourScheme& s) { return s.chrome.base; }, 7.0, 7.0},
    {"alternate list rows", [](const ColourScheme& s) { return s.chrome.text; }, [](const ColourScheme& s) { return s.chrome.alternateBase; }, 7.0, 7.0},
    {"button text", [](const ColourScheme& s) { return s.chrome.buttonText; }, [](const ColourScheme& s) { return s.chrome.button; }, 7.0, 7.0},
    {"selected rows and menu items", [](const ColourScheme& s) { return s.chrome.highlightedText; }, [](const ColourScheme& s) { return s.chrome.highlight; }, 4.5, 4.5},
    {"disabled text", [](const ColourScheme& s) { return s.chrome.disabledText; }, [](const ColourScheme& s) { return s.chrome.window; }, 3.0, 3.0},
    {"tool tips", [](const ColourScheme& s) { return s.chrome.toolTipText; }, [](const ColourScheme& s) { return s.chrome.toolTipBase; }, 7.0, 7.0},
    {"keyboard letters", [](const ColourScheme& s) { return s.chrome.pictureInk; }, [](const ColourScheme& s) { return s.chrome.pictureGround; }, 7.0, 7.0},
    {"Find All marks", [](const ColourScheme& s) { return s.chrome.markText; }, [](const ColourScheme& s) { return s.chrome.markGround; }, 4.5, 4.5},
    {"tool-button pictures", [](const ColourScheme& s) { return s.chrome.iconInk; }, [](const ColourScheme& s) { return s.chrome.button; }, 3.0, 3.0},
};

TEST(ColourSchemeTest, EveryPairMeetsItsContrast) {
  for (const ColourSchemeKind kind : {ColourSchemeKind::kLight, ColourSchemeKind::kDark}) {
    const ColourScheme& scheme = ColourSchemeOf(kind);
    const bool dark = kind == ColourSchemeKind::kDark;
    EXPECT_EQ(scheme.kind, kind);
    EXPECT_EQ(scheme.chrome.dark, dark);
    for (const Pair& pair : kPairs) {
      const double ratio = ContrastRatio(pair.fore(scheme), pair.ground(scheme));
      // The figures the README quotes.
      std::printf("%-5s %-32s %5.2f : 1\n", dark ? "dark" : "light", pair.name, ratio);
      EXPECT_GE(ratio, dark ? pair.darkMinimum : pair.lightMinimum) << (dark ? "dark: " : "light: ") << pair.name;
    }
  }
}

TEST(ColourSchemeTest, DarkSchemeIsDesignedNotInverted) {
  const ColourScheme& dark = ColourSchemeOf(ColourSchemeKind::kDark);
  const ColourScheme& light = ColourSchemeOf(ColourSchemeKind::kLight);
  // A dark ground that is not pure black, and body text that is not glaring white.
  EXPECT_NE(dark.pageGround, 0x000000u);
  EXPECT_LT(ContrastRatio(dark.pageGround, 0x000000), 1.5) << "the page is dark";
  EXPECT_LT(ContrastRatio(dark.text, dark.pageGround), 15.0) << "no harsh white on black";
  // The commentary's ground is told apart from the page's, at least as well as in the light
  // scheme, and the highlight and selection stand out from both grounds.
  EXPECT_GE(ContrastRatio(dark.commentaryGround, dark.pageGround),
            ContrastRatio(light.commentaryGround, light.pageGround));
  for (uint32_t ground : {dark.pageGround, dark.commentaryGround}) {
    EXPECT_GE(ContrastRatio(dark.highlightGround, ground), 1.5);
    EXPECT_GE(ContrastRatio(dark.selectionGround, ground), 1.5);
  }
  EXPECT_NE(dark.highlightGround, dark.selectionGround);
  // The tree's glyphs sit on the tree's ground, the client's ground is the gutter's.
  for (const ColourScheme* s : {&light, &dark}) {
    EXPECT_EQ(s->chrome.pictureGround, s->indexGround);
    EXPECT_EQ(s->chrome.ground, s->gutter);
  }
}

TEST(ColourSchemeTest, StockBrushesOnlyForWhiteAndBlack) {
  EXPECT_EQ(StockBrushOfColour(0xFFFFFF), platform::StockBrush(platform::kStockWhiteBrush));
  EXPECT_EQ(StockBrushOfColour(0x000000), platform::StockBrush(platform::kStockBlackBrush));
  EXPECT_EQ(StockBrushOfColour(0xFEFFFF), nullptr);
  EXPECT_EQ(StockBrushOfColour(0x000001), nullptr);
}

// Painting in a scheme, on the fake backend.
class SchemePaintTest : public ViewTest, public ::testing::WithParamInterface<ColourSchemeKind> {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    gColourScheme = &ColourSchemeOf(GetParam());
  }
  void TearDown() override {
    ResetColourScheme();
    ViewTest::TearDown();
  }
  const ColourScheme& Scheme() const { return *gColourScheme; }
};

TEST_P(SchemePaintTest, PageTakesEveryColourFromTheScheme) {
  MakeView(200, 200);
  StreamBuilder s;
  // Body text, a smaller row, a larger bold row and a rule.
  s.Add(0x01, 0, "aaaa").Add(0x03, 0, "bb").Add(0x0D, 0, "cc").Add(0x47, 50, "");
  ASSERT_EQ(LayOut(s), kViewOk);
  view_->highlightStart = s.TextOffset(0) + 1;
  view_->highlightEnd = s.TextOffset(0) + 3;
  fake::ClearDrawCalls();
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);

  auto fills = fake::DrawCallsOf(fake::DrawOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  const bool light = GetParam() == ColourSchemeKind::kLight;
  if (light)
    EXPECT_EQ(fills[0].stockBrush, platform::kStockWhiteBrush);
  else
    EXPECT_EQ(fills[0].brushColour, Scheme().pageGround);

  auto texts = Texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].textColour, Scheme().text);
  EXPECT_EQ(texts[1].textColour, Scheme().verseNumber);
  EXPECT_EQ(texts[2].textColour, Scheme().title);
  EXPECT_EQ(Utf8(texts[3].text), "aa");
  EXPECT_EQ(texts[3].textColour, Scheme().highlightText);
  EXPECT_EQ(texts[3].backgroundColour, Scheme().highlightGround);

  auto rules = fake::DrawCallsOf(fake::DrawOp::kRectangle);
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_TRUE(rules[0].hasPen && rules[0].hasBrush);
  EXPECT_EQ(rules[0].penColour, Scheme().rule) << "the rule's outline";
  EXPECT_EQ(rules[0].brushColour, Scheme().rule);
}

TEST_P(SchemePaintTest, BannerTakesEveryColourFromTheScheme) {
  MakeView(200, 300);
  StreamBuilder s;
  s.Add(0xDC, 0, "abcd").Add(0x01, 0, "xyz");
  ASSERT_EQ(LayOut(s), kViewOk);
  fake::ClearDrawCalls();
  PageViewShowTitleBanner(view_);
  auto rings = fake::DrawCallsOf(fake::DrawOp::kRectangle);
  ASSERT_EQ(rings.size(), 5u);
  const uint32_t* f = Scheme().bannerFrames;
  const uint32_t expected[] = {f[0], f[0], f[1], f[2], f[2]};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(rings[i].penColour, expected[i]) << "ring " << i;
  auto fills = fake::DrawCallsOf(fake::DrawOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].brushColour, Scheme().bannerGround);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].textColour, Scheme().bannerText);
  EXPECT_EQ(texts[0].backgroundColour, Scheme().bannerGround);
}

TEST_P(SchemePaintTest, StyleColoursAreTheSchemes) {
  EXPECT_EQ(StyleColour(0x01), Scheme().text);
  EXPECT_EQ(StyleColour(0x0E), Scheme().verseNumber);
  EXPECT_EQ(StyleColour(0x0C), Scheme().title);
  EXPECT_EQ(StyleColour(0x04), Scheme().text);
}

INSTANTIATE_TEST_SUITE_P(BothSchemes, SchemePaintTest,
                         ::testing::Values(ColourSchemeKind::kLight, ColourSchemeKind::kDark),
                         [](const ::testing::TestParamInfo<ColourSchemeKind>& param) {
                           return param.param == ColourSchemeKind::kLight ? "Light" : "Dark";
                         });

}  // namespace
