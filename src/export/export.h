// Copying an article to the clipboard.
//
// The article is first written as plain UTF-16 text with CR LF line ends. With a
// single-byte letter base that text goes to the clipboard as Unicode text; with a Unicode
// letter base it becomes a right-to-left RTF document, offered together with the same text
// as Unicode text so that plain-text applications can paste it too. Appending keeps the
// clipboard's data of each format in front of the new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui_text.h"

struct PageView;

// The clipboard format name the RTF document is registered under.
constexpr char16_t kRtfFormatName[] = u"Rich Text Format";
// Bytes a document adds to its body: header, closing "}" CR LF and 0 for a new document;
// separator, closing and 0 when appended to earlier data (a little spare in both).
constexpr size_t kRtfNewDocumentExtra = 186;
constexpr size_t kRtfAppendExtra = 80;
// The message shown when the text would not fit its buffer.
constexpr char16_t kTextOverflowMessage[] = SOLMAR_TEXT("MessageBox", "(obuf > (start + size))");

// Copies the view's whole article to the clipboard, replacing what is there or, with
// append, behind it. Does nothing without a view or a laid-out text.
void CopyArticle(PageView* view, bool append);

// A buffer for the plain text of the stream (its records up to end), from AllocOrAbort;
// *size gets its size in bytes. None when memory runs out (the user has been told).
char16_t* MeasureArticleText(const uint8_t* stream, const uint8_t* end, uint32_t* size);

// Writes the stream's records as plain text into buffer (size bytes), letters on the base
// fontAsciiBase; with reverse (and a base other than 97) right-to-left records come out in
// reading order with their indent in front (as stored, the indent follows the text). 0 on
// success; 1 when the text and its 0 would not fit (the user is told and the buffer holds
// no finished text); 2 when the letter conversion ran out of memory.
int WriteArticleText(const uint8_t* stream, const uint8_t* end, char16_t* buffer, uint32_t size,
                     int32_t fontAsciiBase, bool reverse);

// Writes the hyphens of a rule with width code widthCode at out; answers the position after them.
char16_t* WriteRuleText(char16_t* out, uint8_t widthCode);

// MeasureArticleText and WriteArticleText in one: the 0-terminated text, a heap block the
// caller frees with platform::Free; none when it could not be made.
char16_t* ExportArticleText(const uint8_t* stream, const uint8_t* end, int32_t fontAsciiBase, bool reverse);

// Puts the 0-terminated text on the clipboard: as an RTF document (with the text beside it)
// when fontAsciiBase is above 256, else as Unicode text.
void PutTextOnClipboard(const char16_t* text, bool append, int32_t fontAsciiBase);
// Puts the text on the clipboard as an RTF document and as Unicode text, in one offer.
// Nothing changes when the clipboard cannot be opened or a block cannot be had.
void PutRtfOnClipboard(const char16_t* text, bool append);

// The RTF body of the 0-terminated text: a new 0-terminated block from AllocOrAbort; none
// when memory runs out.
uint8_t* MakeRtfBody(const char16_t* text);
// The size MakeRtfBody's sizing pass reserves for the text, not counting the 0: never less
// than what the body holds.
size_t MeasureRtfBody(const char16_t* text);

// The presentation-form entry of unit: the form and its canonical decomposition in up to
// three units (unused ones 0). None for any other unit.
const char16_t* FindPresentationForm(char16_t unit);

// Writes a whole document into out, which holds bodyLength + previousSize + kRtfAppendExtra
// bytes with previous data, bodyLength + kRtfNewDocumentExtra without: the previous data
// with its trailing CR, LF, space and TAB bytes and then one closing '}' dropped, and the
// separator; or the document header. Then the body, "}" CR LF and a 0. Answers the bytes
// written, the 0 included.
size_t JoinRtfDocument(uint8_t* out, const uint8_t* previous, size_t previousSize, const uint8_t* body,
                       size_t bodyLength);

// The start of a document holding the units of text (no 0 needed) as right-to-left
// paragraphs, one a line: the header and the paragraphs, without the closing, so that an
// article can be appended to it as to another program's document. A heap block the caller
// frees with platform::Free, 0-terminated, *length its bytes before the 0; none when
// memory runs out (without a message).
uint8_t* MakeRtfFromText(const char16_t* text, size_t units, size_t* length);

// The text of the RTF document in the first size bytes of rtf (or up to its first 0 byte):
// its characters (\u escapes with their fallbacks dropped as \uc says, \'xx in the
// code page of the font or the document), a CR LF for every paragraph or line end, and
// nothing of font tables, pictures and the other groups that hold no text. A 0-terminated
// heap block the caller frees with platform::Free, *units its length; none when memory
// runs out (without a message).
char16_t* RtfToText(const uint8_t* rtf, size_t size, size_t* units);

// A new document holding only the text, as Copy would put it on the clipboard; a heap block
// the caller frees with platform::Free, 0-terminated, *length its bytes before the 0. None
// when memory runs out.
uint8_t* MakeRtfDocument(const char16_t* text, size_t* length);

// A copy of the clipboard's data of format (0: Unicode text) without its terminator, as a
// heap block the caller frees; *size gets its bytes (Unicode text: 2 x its units; other
// formats: the bytes before the first 0). None and 0 when the clipboard cannot be opened,
// holds no such data or the copy cannot be made.
uint8_t* ReadClipboardData(uint32_t format, uint32_t* size);

// --- A selection ---------------------------------------------------------------------------

// The view's selection as a stream of its own: each record it touches with only the
// characters selected (a right-to-left record's in their stored order), a rule that stands
// between selected records, the paragraph's empty row only where the selection takes the
// paragraph to its end; then the end byte and a spare 0. Empty without a selection.
std::vector<uint8_t> SelectionStream(const PageView* view);
// The reference of the verses the selection touches, in the book's style and in
// parentheses ("(בראשית א:ג-ה)"), Hebrew letters on the letter base fontAsciiBase; empty
// when it touches no verse (a title alone).
std::u16string SelectionReference(const PageView* view, int32_t fontAsciiBase);
// The selection as Copy writes it: its text by the article writer, then the reference on a
// line of its own. A heap block the caller frees with platform::Free; none without a
// selection or when memory runs out.
char16_t* ExportSelectionText(const PageView* view, int32_t fontAsciiBase, bool reverse);
// Copy and Append of the view's selection, with its reference; the whole article (as
// CopyArticle) when nothing is selected.
void CopySelectionOrArticle(PageView* view, bool append);
