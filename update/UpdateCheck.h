#pragma once
// What the update check makes of the maker's answer, and the texts it shows.

#include <cstddef>
#include <string>

// The version file holds the version and nothing else ("2.21"); an answer of this many
// characters or more (a line end after it, an error page) is not a version.
inline constexpr std::size_t notAVersionLength = 5;

// The published version in the body the server sent, or empty text when the body cannot
// be one.
std::string publishedVersionFrom(const std::string& body);

enum class UpdateOutcome {
    NoAnswer,   // nothing usable came back
    Newest,     // the published version is the running one
    NewVersion, // anything else, older or malformed too: versions are not ordered
};

UpdateOutcome judgePublishedVersion(const std::string& published, const std::string& current);

// "Can not connect to <host>, Please check your network connection."
std::string cannotConnectText(const std::string& host);
// "Your <program> is already the newest one."
std::string newestVersionText(const std::string& program);
// The question that offers the published version and says the program will close.
std::string newVersionQuestion(const std::string& published, const std::string& program);
