#pragma once
// The new paths of the last preview or rename run; entry i belongs to file list line i.

#include <string>
#include <utility>
#include <vector>

class RenameJournal {
public:
    void clear() { paths_.clear(); }
    // Batch load puts a saved journal in place as it stands.
    void assign(std::vector<std::string> paths) { paths_ = std::move(paths); }
    const std::vector<std::string>& paths() const { return paths_; }

    std::size_t size() const { return paths_.size(); }
    bool empty() const { return paths_.empty(); }
    const std::string& operator[](std::size_t i) const { return paths_[i]; }
    void set(std::size_t i, std::string path) { paths_[i] = std::move(path); }

private:
    std::vector<std::string> paths_;
};
