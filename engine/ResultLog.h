#pragma once
// The lines a preview, rename or undo run writes into the result list, byte for byte.

#include <string>

// Each appends one complete line, ending in CR LF, to a run's report text.
void appendPreviewLine(std::string& report, const std::string& oldPath, const std::string& newPath);
void appendRenamedLine(std::string& report, const std::string& oldPath, const std::string& newPath);
void appendRenameFailedLine(std::string& report, const std::string& oldPath,
                            const std::string& newPath);
void appendNotChangedLine(std::string& report, const std::string& path);
void appendRollbackLine(std::string& report, const std::string& journalPath,
                        const std::string& fileListLine);
void appendRollbackFailedLine(std::string& report, const std::string& journalPath,
                              const std::string& fileListLine);
