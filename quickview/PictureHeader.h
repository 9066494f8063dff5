#pragma once
// A check of a picture file's first bytes before it goes to the system's decoder.

#include <cstddef>
#include <cstdint>

// How many leading bytes pictureHeaderUsable wants to see.
constexpr std::size_t pictureHeaderBytes = 64;

// False when the file is certainly not decodable without reading past its end: a bitmap
// ("BM") whose headers, colour table or pixel rows do not fit in the file, or whose
// dimensions are impossible, and an empty file. Some systems' bitmap readers trust these
// fields and hand back a picture built from bytes past the file's end, so such a file is
// kept from them. Other formats (JPEG, GIF) are left to their decoders, which check their
// own input; they only need to be non-empty. head holds the first headSize bytes
// (up to pictureHeaderBytes) of a file of fileSize bytes.
bool pictureHeaderUsable(const unsigned char* head, std::size_t headSize, std::uint64_t fileSize);
