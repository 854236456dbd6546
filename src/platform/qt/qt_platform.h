// Set-up of the Qt backend, for the program's main() and Qt-based tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::qt {

// Makes the bytes of a pack (see platform/pack.h) the program's resources. The bytes must
// stay valid for the whole run (the program passes its embedded book). False when the
// pack does not parse.
bool UsePack(const uint8_t* bytes, size_t size);

}  // namespace platform::qt
