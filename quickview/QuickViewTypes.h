#pragma once
// Which quick-view pane shows a file: the extension key and the file-type lists.

#include <string>

class CodePage;

// Every entry is a lowercase extension with its dot, followed by ";".
extern const char pictureTypeList[];
extern const char mediaTypeList[];
extern const char flashTypeKey[];

// The text from the last "." to the end (the whole text when there is none) with ";"
// appended, lower-cased in the code page. A "." in a folder name gives a key that no list
// holds, which is meant: such a file has no extension.
std::string extensionKey(const std::string& path, const CodePage& codePage);

enum class QuickViewPane { none, picture, media, flash };

// The pane for a key, given which of the hosted panes exist; the picture pane always does.
QuickViewPane paneForKey(const std::string& key, bool mediaPaneExists, bool flashPaneExists);
