// The colour schemes: every colour the reader paints, in one table per scheme. The light
// scheme is the reader's classic look (black on white, a pale commentary, a blue-on-yellow
// highlight, the red-white-blue banner); the dark one is made for reading at night.
//
// Painting code takes its colours from gColourScheme, never from literals of its own; the
// platform gets the scheme's `chrome` for what it paints itself (menus, dialogs, scroll
// bars, its pictures and list marks).
#pragma once

#include <cstdint>

#include "platform/platform.h"

enum class ColourSchemeKind : uint8_t { kLight, kDark };

struct ColourScheme {
  ColourSchemeKind kind;
  // The panes.
  uint32_t pageGround;        // the upper pane, and the text's own opaque ground there
  uint32_t commentaryGround;  // the lower pane
  uint32_t gutter;            // the client area around and between the panes
  uint32_t text;              // body text in both panes
  uint32_t verseNumber;       // the smaller style (verse numbers, notes)
  uint32_t title;             // the larger bold style (titles)
  uint32_t rule;              // rules across a pane
  uint32_t separator;         // the line between the panes
  uint32_t highlightText;     // a search hit
  uint32_t highlightGround;
  uint32_t selectionText;     // text the user selects
  uint32_t selectionGround;
  // The title banner: its text on its ground inside three frames, outermost first.
  uint32_t bannerText;
  uint32_t bannerGround;
  uint32_t bannerFrames[3];
  // The index tree ("Choose Section").
  uint32_t indexGround;
  uint32_t indexText;
  uint32_t indexHeading;
  // The About box's link to the maker's site, on the dialog's ground (chrome.window).
  uint32_t link;
  // What the platform paints itself.
  platform::ChromeColours chrome;
};

// The tables are written in the usual red-green-blue order; the reader's colours are
// blue-green-red (0x00BBGGRR).
constexpr uint32_t SchemeRgb(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

// The classic look: black on white, the commentary on a pale cyan, dark blue verse
// numbers, blue titles, a blue-on-yellow highlight and the red-white-blue banner.
inline constexpr ColourScheme kLightColourScheme = {
    ColourSchemeKind::kLight,
    SchemeRgb(0xFFFFFF),  // page ground
    SchemeRgb(0xEEFFFF),  // commentary ground
    SchemeRgb(0xFFFFFF),  // gutter
    SchemeRgb(0x000000),  // text
    SchemeRgb(0x000080),  // verse numbers
    SchemeRgb(0x0000FF),  // titles
    SchemeRgb(0x000000),  // rules
    SchemeRgb(0xFF0000),  // separator
    SchemeRgb(0x0000FF),  // highlight text
    SchemeRgb(0xFFFF00),  // highlight ground
    SchemeRgb(0x000000),  // selection text
    SchemeRgb(0xB5D5FF),  // selection ground
    SchemeRgb(0xFF0000),  // banner text
    SchemeRgb(0xFFFF00),  // banner ground
    {SchemeRgb(0xFF0000), SchemeRgb(0xFFFFFF), SchemeRgb(0x0000FF)},
    SchemeRgb(0xFFFFFF),  // index ground
    SchemeRgb(0x000000),  // index text
    SchemeRgb(0x0000FF),  // index headings
    SchemeRgb(0x0000FF),  // link
    {
        false,
        SchemeRgb(0xFFFFFF),                  // client ground
        SchemeRgb(0xEFEFEF), SchemeRgb(0x000000),   // window, its text
        SchemeRgb(0xFFFFFF), SchemeRgb(0xF7F7F7), SchemeRgb(0x000000),  // base, alternate base, text
        SchemeRgb(0xEFEFEF), SchemeRgb(0x000000),   // button, its text
        SchemeRgb(0x2F6DB5), SchemeRgb(0xFFFFFF),   // highlight, highlighted text
        SchemeRgb(0x7F7F7F),                  // disabled text
        SchemeRgb(0x0000FF),                  // link
        SchemeRgb(0xFFFFDC), SchemeRgb(0x000000),   // tool tip
        SchemeRgb(0x000000), SchemeRgb(0xFFFFFF),   // pictures: ink, ground
        SchemeRgb(0x1F3A8F), SchemeRgb(0xC81E1E), SchemeRgb(0xDDEEFF),  // tool-button pictures: ink, accent, lens
        SchemeRgb(0x000000), SchemeRgb(0xFFFF00),   // list marks: text, ground
    },
};

// For night reading: a dark grey page (not black) with warm off-white text, far enough
// apart for 7:1 without the glare of white on black; the commentary on a dark teal that
// echoes the light scheme's pale cyan; light blues for verse numbers and titles; a deep
// amber highlight and a blue selection, each with light text.
inline constexpr ColourScheme kDarkColourScheme = {
    ColourSchemeKind::kDark,
    SchemeRgb(0x1E1F22),  // page ground
    SchemeRgb(0x1A2A2E),  // commentary ground
    SchemeRgb(0x1E1F22),  // gutter
    SchemeRgb(0xDCD7CB),  // text
    SchemeRgb(0xA9C1E8),  // verse numbers
    SchemeRgb(0x8FB5FF),  // titles
    SchemeRgb(0x8A8F98),  // rules
    SchemeRgb(0xE06C6C),  // separator
    SchemeRgb(0xFFF1C2),  // highlight text
    SchemeRgb(0x6E5200),  // highlight ground
    SchemeRgb(0xF2F2F2),  // selection text
    SchemeRgb(0x2A4F7A),  // selection ground
    SchemeRgb(0xFFC2B3),  // banner text
    SchemeRgb(0x3B3220),  // banner ground
    {SchemeRgb(0xE06C6C), SchemeRgb(0x3A3D43), SchemeRgb(0x8FB5FF)},
    SchemeRgb(0x1E1F22),  // index ground
    SchemeRgb(0xDCD7CB),  // index text
    SchemeRgb(0x8FB5FF),  // index headings
    SchemeRgb(0x8AB4F8),  // link
    {
        true,
        SchemeRgb(0x1E1F22),                  // client ground
        // Dialogs a step lighter than the page-dark base of lists and edit boxes, so that
        // these and the radio buttons' circles (drawn in the base colour) stand out.
        SchemeRgb(0x33353A), SchemeRgb(0xE3E1DC),   // window, its text
        SchemeRgb(0x1E1F22), SchemeRgb(0x26282C), SchemeRgb(0xE3E1DC),  // base, alternate base, text
        SchemeRgb(0x404349), SchemeRgb(0xE3E1DC),   // button, its text
        SchemeRgb(0x3B6BA8), SchemeRgb(0xFFFFFF),   // highlight, highlighted text
        SchemeRgb(0x9A9DA3),                  // disabled text
        SchemeRgb(0x8AB4F8),                  // link
        SchemeRgb(0x404349), SchemeRgb(0xE3E1DC),   // tool tip
        SchemeRgb(0xDCD7CB), SchemeRgb(0x1E1F22),   // pictures: ink, ground
        SchemeRgb(0x8FB5FF), SchemeRgb(0xFF8A80), SchemeRgb(0x2C3A55),  // tool-button pictures: ink, accent, lens
        SchemeRgb(0xFFF1C2), SchemeRgb(0x6E5200),   // list marks: text, ground
    },
};

// The colours the platform has stock brushes of; black is also its default pen's.
inline constexpr uint32_t kSchemeWhite = SchemeRgb(0xFFFFFF);
inline constexpr uint32_t kSchemeBlack = SchemeRgb(0x000000);

// The table of a scheme.
const ColourScheme& ColourSchemeOf(ColourSchemeKind kind);

// The scheme everything is painted in now; the light one until the shell chooses.
extern const ColourScheme* gColourScheme;
// Makes the light scheme current again (tests).
void ResetColourScheme();

// The WCAG 2 contrast ratio of two colours (0x00BBGGRR), from 1 (the same luminance) to 21
// (black and white); the order of the two does not matter.
double ContrastRatio(uint32_t first, uint32_t second);

// Fills x, y, width, height with colour: the stock brush for white and black (so a light
// paint is the classic one, call for call), a solid brush made for the fill otherwise.
void FillViewRectColour(platform::Dc* dc, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour);
// The stock brush of white or black; none for any other colour.
platform::Brush* StockBrushOfColour(uint32_t colour);
