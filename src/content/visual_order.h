// Right-to-left text between reading order and the stored left-to-right visual order.
#pragma once

#include <cstddef>
#include <cstdint>

// Turns count letter-code bytes of a right-to-left text between reading order and the
// stored visual order, in place and in either direction (the operation is its own
// inverse): the bytes are reversed and the brackets ( ) [ ] { } mirrored, so they still
// open towards their contents, while runs of digits and upper-case Latin (with single
// '.', ',' or ':' between them, as in 12:5 or 3.14) keep their own left-to-right order.
void SwapVisualOrder(uint8_t* text, size_t count);
