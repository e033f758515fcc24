#pragma once

#include <string>
#include <string_view>

#include "viewers/trigger/recording.h"

namespace trigger {

// A raw frame file ("ZEB Bin-Datei"): the oscilloscope frames as they came
// over the line, 4 bytes each; bytes 1 and 2 carry eight samples of channel
// A and B. Fills the recording from slot 0 and ends at a full ring.
void importRawFrames(std::string_view bytes, Recording& recording);

// A raw text file ("ZEB Text-Datei"): the switch command as sent, its echo
// and the answer in lines 2-4, then one received frame per line from line 5
// ("R", TAB, four hexadecimal bytes). Samples go from slot 1 on. False (and
// the recording unchanged) when lines 2-4 are not that exchange.
bool importRawText(std::string_view text, Recording& recording);

// Reads a whole file; false when it does not exist or cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes);

}  // namespace trigger
