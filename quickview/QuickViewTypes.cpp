// The quick view's file types. Keys are matched by plain substring search: every entry
// starts with "." and ends with ";", and a key is "." ... ";" with no ";" inside a normal
// name, so only a whole entry can match.

#include "quickview/QuickViewTypes.h"

#include "base/CodePage.h"

#include <cstring>

const char pictureTypeList[] = ".jpg;.jpeg;.gif;.bmp;";
const char codecPictureTypeList[] = ".png;.tif;.tiff;.ico;.heic;.heif;.webp;.jxr;.wdp;";
const char mediaTypeList[] =
    ".cda;.ivf;.aif;.aifc;.aiff;.asf;.asx;.wax;.wm;.wma;.wmd;.wmv;.wvx;.wmp;.wmx;.avi;.wav;.mpeg;.mpg;"
    ".m1v;.mp2;.mpa;.mpe;.mp2v;.mpv2;.mid;.midi;.rmi;.au;.snd;.mp3;.m3u;.vob;";
const char flashTypeKey[] = ".swf;";

std::string extensionKey(const std::string& path, const CodePage& codePage)
{
    const std::string::size_type dot = path.rfind('.');
    std::string key = dot == std::string::npos ? path : path.substr(dot);
    key += ';';
    codePage.toLower(key);
    return key;
}

QuickViewPane paneForKey(const std::string& key, bool mediaPaneExists, bool flashPaneExists)
{
    if (std::strstr(pictureTypeList, key.c_str()) || std::strstr(codecPictureTypeList, key.c_str()))
        return QuickViewPane::picture;
    if (mediaPaneExists && std::strstr(mediaTypeList, key.c_str()))
        return QuickViewPane::media;
    if (flashPaneExists && key == flashTypeKey)
        return QuickViewPane::flash;
    return QuickViewPane::none;
}

bool pictureTypeFitsKey(const std::string& key, PictureType type)
{
    if (std::strstr(pictureTypeList, key.c_str()))
        return type == PictureType::jpeg || type == PictureType::gif || type == PictureType::bmp;
    static const struct {
        const char* keys;
        PictureType type;
    } codecTypes[] = {
        {".png;", PictureType::png},   {".tif;.tiff;", PictureType::tiff}, {".ico;", PictureType::ico},
        {".heic;.heif;", PictureType::heif}, {".webp;", PictureType::webp}, {".jxr;.wdp;", PictureType::jxr},
    };
    for (const auto& entry : codecTypes)
        if (std::strstr(entry.keys, key.c_str()))
            return type == entry.type;
    return false;
}
