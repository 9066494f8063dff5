#pragma once
// Which quick-view pane shows a file: the extension key and the file-type lists.

#include "quickview/PictureHeader.h"

#include <string>

class CodePage;

// Every entry is a lowercase extension with its dot, followed by ";".
// The pictures of the system's picture object: JPEG, GIF and BMP.
extern const char pictureTypeList[];
// The pictures of the system's imaging codecs: PNG, TIFF and icons everywhere, HEIC/HEIF,
// WebP and JPEG XR where a codec for them is installed.
extern const char codecPictureTypeList[];
extern const char mediaTypeList[];
extern const char flashTypeKey[];

// The text from the last "." to the end (the whole text when there is none) with ";"
// appended, lower-cased in the code page. A "." in a folder name gives a key that no list
// holds, which is meant: such a file has no extension.
std::string extensionKey(const std::string& path, const CodePage& codePage);

enum class QuickViewPane { none, picture, media, flash };

// The pane for a key, given which of the hosted panes exist; the picture pane always does.
QuickViewPane paneForKey(const std::string& key, bool mediaPaneExists, bool flashPaneExists);

// Whether a file whose key chose the picture pane may go to a decoder with this signature.
// The picture object's three types stand for each other, as that object tells them apart
// by content; every codec type wants exactly its own signature.
bool pictureTypeFitsKey(const std::string& key, PictureType type);
