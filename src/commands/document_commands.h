// Commands on the current document and new documents: trimming, applying
// the image to the target layer, colour proofing, the pixel aspect ratio,
// new documents and pasting. Each returns the host's answer, or the first
// error met while building its event (nothing is played then).
#pragma once

#include <cstdint>

// The profile of new documents, and the one proofed when a document's own
// cannot be read.
inline constexpr const char kSrgbProfile[] = "sRGB IEC61966-2.1";

// With the host's own dialog.
std::int32_t TrimDocument();
std::int32_t ApplyImage();
// The proof set-up of the document's own profile.
std::int32_t ProofColors();
std::int32_t SetPixelAspectRatio(const char* name, double value, bool showDialog);
// An RGB document of 8 bits per channel, transparent, at 72 pixels per inch.
std::int32_t NewDocument(const char* name, double width, double height);
std::int32_t NewDocumentFromClipboard();
// Pastes the clipboard without anti-aliasing.
std::int32_t Paste();
