// Convert to 16-Bit/Channel: the image, flattened, goes into a 16-bit
// document the module opens from a file it writes (editors 8 and later: a
// PNG of one pixel the image is pasted into) or that the host writes (6 and
// 7: the image saved as TIFF and opened again at 16 bits).
#pragma once

#include <cstdint>

// The menu command. 1 when the 16-bit document was opened, else 0 (the
// user declined, an editor before 6, or a step failed).
std::int32_t ConvertTo16Bit();
