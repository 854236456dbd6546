// Text of the book source and the letter code, in both directions.
//
// Source text is UTF-8 in reading order. The letter code keeps one byte per character:
// the Hebrew letters U+05D0..U+05EA are 0x61..0x7B, '{' is stored as 0x7E, and every
// other byte stands for itself. Source escapes: "\\" backslash, "\s" space, "\xNN" any
// byte 0x01..0xFF; the characters U+0080..U+00FF also stand for the bytes 0x80..0xFF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace book {

// Converts one record's text to the letter code. False with a message when the text holds
// a character the letter code cannot carry or a malformed escape or UTF-8 sequence.
bool EncodeText(std::string_view source, std::string* letterCode, std::string* error);

// The source form of letter-code bytes: UTF-8 Hebrew for the letters, '{' for 0x7E, escapes
// for a backslash, for control and high bytes and for spaces at either end (which the line
// format would trim). EncodeText of the result gives the bytes back.
std::string DecodeText(std::string_view letterCode);

// Turns the letter code of a right-to-left text between reading order and the stored,
// left-to-right visual order, in either direction (the operation is its own inverse): the
// characters are reversed and the brackets ( ) [ ] { } mirrored, so they still open
// towards their contents, while runs of digits and upper-case Latin (with single '.', ','
// or ':' between them, as in 12:5 or 3.14) keep their own left-to-right order.
void ToVisualOrder(std::string* letterCode);

}  // namespace book
