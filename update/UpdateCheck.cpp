// The update check's judgement of the maker's answer and its texts.

#include "update/UpdateCheck.h"

std::string publishedVersionFrom(const std::string& body)
{
    return body.size() >= notAVersionLength ? std::string() : body;
}

UpdateOutcome judgePublishedVersion(const std::string& published, const std::string& current)
{
    if (published.empty())
        return UpdateOutcome::NoAnswer;
    return published == current ? UpdateOutcome::Newest : UpdateOutcome::NewVersion;
}

std::string cannotConnectText(const std::string& host)
{
    return "Can not connect to " + host + ", Please check your network connection.";
}

std::string newestVersionText(const std::string& program)
{
    return "Your " + program + " is already the newest one.";
}

std::string newVersionQuestion(const std::string& published, const std::string& program)
{
    return "A new version " + published + " is available, do you want to update " + program
        + " now (the current " + program + " will be closed)?";
}
