// Texts and hand-out rules of the context-menu handler.

#include "shellext/HandlerText.h"

CommandStringAnswer classifyCommandString(std::uintptr_t commandOffset, unsigned type)
{
    if (type == 2)
        return CommandStringAnswer::Validate;
    if (type != 1 && type != 5)
        return CommandStringAnswer::Invalid;
    if (commandOffset != 0)
        return CommandStringAnswer::Invalid;
    return (type & 5u) == 5u ? CommandStringAnswer::HelpWide : CommandStringAnswer::HelpAnsi;
}

void appendHandoffRecord(std::string& selectedFiles, const std::string& path)
{
    selectedFiles += path;
    selectedFiles += "\r\n";
}

std::string installDirFromValue(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

std::string programCommandLine(const std::string& installDir)
{
    return "\"" + installDir + programFileName + "\"";
}
