#pragma once
// The new paths of the last preview or rename run; entry i belongs to file list line i.

#include <string>
#include <utility>
#include <vector>

class RenameJournal {
public:
    void clear()
    {
        paths_.clear();
        moved_.clear();
    }
    // Batch load puts a saved journal in place as it stands; a saved journal carries no
    // outcomes, so every entry may be moved back.
    void assign(std::vector<std::string> paths)
    {
        paths_ = std::move(paths);
        moved_.clear();
    }
    const std::vector<std::string>& paths() const { return paths_; }

    std::size_t size() const { return paths_.size(); }
    bool empty() const { return paths_.empty(); }
    const std::string& operator[](std::size_t i) const { return paths_[i]; }
    void set(std::size_t i, std::string path) { paths_[i] = std::move(path); }

    // A run in this process records what it really moved: from then on only those entries
    // may be moved back. A file whose move failed has someone else's file, or nothing, at
    // its entry, and moving that "back" would take a file the run never touched.
    void startOutcomes() { moved_.assign(paths_.size(), false); }
    void markMoved(std::size_t i) { moved_[i] = true; }
    bool mayMoveBack(std::size_t i) const { return moved_.empty() || (i < moved_.size() && moved_[i]); }

private:
    std::vector<std::string> paths_;
    std::vector<bool> moved_; // empty: outcomes unknown (a loaded journal)
};
