// Right-to-left text between reading order and the stored left-to-right visual order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The positions of count letter-code bytes of a right-to-left text in the order they are
// read (or, since the rule is its own inverse, stored): from the last byte down, except
// that runs of digits and upper-case Latin (with single '.', ',' or ':' between them, as
// in 12:5 or 3.14) keep their own left-to-right order.
std::vector<uint32_t> SwappedOrder(const uint8_t* text, size_t count);

// Turns count letter-code bytes of a right-to-left text between reading order and the
// stored visual order, in place and in either direction: the bytes go into SwappedOrder
// and the brackets ( ) [ ] { } are mirrored, so they still open towards their contents.
void SwapVisualOrder(uint8_t* text, size_t count);
