#pragma once
// Reading the handoff file's records: full paths, each followed by CR LF.

#include <string>
#include <vector>

// Splits the file's text into its records in order. A record is everything before a
// CR LF (it may be empty); bytes after the last CR LF form no record and are dropped.
std::vector<std::string> parseHandoffRecords(const std::string& text);

// The file's text for the given paths: each path followed by CR LF, nothing else.
std::string buildHandoffText(const std::vector<std::string>& paths);
