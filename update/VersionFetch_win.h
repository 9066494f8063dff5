#pragma once
// Asks the maker's web site which version of the program it publishes, over WinINet.

#include <windows.h>

#include <string>

// How long the check waits for the connection, and then for each part of the answer,
// before it gives up: the window does not respond meanwhile.
inline constexpr DWORD publishedVersionTimeoutMs = 15000;

// The version the version file of the named program publishes ("2.21"), or empty text
// when none could be obtained: no network, the host or the file not found, an error
// status, no answer within the time-out, or an answer too long to be a version. Uses the
// system's own Internet settings (proxy included).
std::string fetchPublishedVersion(const std::string& program, DWORD timeoutMs = publishedVersionTimeoutMs);
