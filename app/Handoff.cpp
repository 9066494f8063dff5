// Handoff file records.

#include "app/Handoff.h"

std::vector<std::string> parseHandoffRecords(const std::string& text)
{
    std::vector<std::string> records;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            break;
        records.emplace_back(text, start, end - start);
        start = end + 2;
    }
    return records;
}

std::string buildHandoffText(const std::vector<std::string>& paths)
{
    std::size_t size = 0;
    for (const std::string& p : paths)
        size += p.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& p : paths) {
        text += p;
        text += "\r\n";
    }
    return text;
}
