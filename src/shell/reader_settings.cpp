#include "shell/reader_settings.h"

ReaderSettings gReaderSettings{};

void ResetReaderSettings() { gReaderSettings = ReaderSettings{}; }
