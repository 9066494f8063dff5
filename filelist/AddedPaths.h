#pragma once
// Every path added to the file list, in order, unique without regard to letter case.

#include "base/PathText.h"
#include "filelist/CaseFold.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The ordered list behind the file list. add() keeps the rule that a path equal to earlier
// entries when lower-cased replaces them all and goes to the end; an index of the folded
// paths makes that a hash look-up instead of a comparison with every entry, and the
// folded form stays with each entry so the filter need not fold names again.
//
// Removed entries leave a gap that iteration skips; gaps are squeezed out once they
// outnumber the live entries, so iterators and entry references last only until the list
// is next changed.
class AddedPaths {
public:
    class Entry {
    public:
        // The path as added; its text is followed by a NUL, so data() serves as a C string.
        std::string_view path() const { return std::string_view(text_.data(), length_); }
        const char* c_str() const { return text_.c_str(); }
        // The text after the last backslash (the whole path when it has none); a trail
        // byte that happens to be 0x5C is not taken for a backslash.
        std::string_view name() const { return path().substr(nameStart_); }
        std::string_view foldedPath() const { return std::string_view(text_.data() + length_ + 1, length_); }
        std::string_view foldedName() const { return foldedPath().substr(nameStart_); }

    private:
        friend class AddedPaths;
        // The path, a NUL, then its folded form: one allocation per entry.
        std::string text_;
        std::uint32_t length_ = 0;
        std::uint32_t hash_ = 0;
        std::uint32_t nameStart_ = 0;
        std::uint32_t nextInBucket_ = 0;
        bool live_ = false;
    };

    class const_iterator {
    public:
        using value_type = Entry;
        using reference = const Entry&;
        using pointer = const Entry*;
        using difference_type = std::ptrdiff_t;
        using iterator_category = std::forward_iterator_tag;

        reference operator*() const { return *at_; }
        pointer operator->() const { return at_; }
        const_iterator& operator++()
        {
            ++at_;
            skipGaps();
            return *this;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }
        bool operator!=(const const_iterator& other) const { return at_ != other.at_; }

    private:
        friend class AddedPaths;
        const_iterator(const Entry* at, const Entry* end) : at_(at), end_(end) { skipGaps(); }
        void skipGaps()
        {
            while (at_ != end_ && !at_->live_)
                ++at_;
        }
        const Entry* at_;
        const Entry* end_;
    };

    // Folding follows the given code page; the program uses the system's ANSI code page.
    explicit AddedPaths(const CodePage& codePage = systemCodePage());

    // The adds of the file dialog and the folder scan: every entry equal to the path when
    // both are lower-cased is removed, then the path is appended as given.
    void add(const std::string& path);
    // The handoff intake and batch loading: appended as given, duplicates and all.
    void appendUnchecked(const std::string& path);
    // Removes every entry whose text equals the path exactly; returns how many went.
    std::size_t removeExact(const std::string& path);
    void clear();
    // Replaces the whole list by the given paths, kept exactly as they stand.
    void replaceAll(const std::vector<std::string>& paths);

    std::size_t size() const { return live_; }
    bool empty() const { return live_ == 0; }
    std::vector<std::string> paths() const;

    const_iterator begin() const;
    const_iterator end() const;

    const CaseFold& caseFold() const { return fold_; }

private:
    static constexpr std::uint32_t none = 0xFFFFFFFFu;

    // The entry's text for a path: the path, a NUL and the folded path.
    std::string entryText(const std::string& path) const;
    void append(std::string text, std::size_t length, std::uint32_t hash);
    void unlink(std::uint32_t index);
    void kill(std::uint32_t index);
    void growBuckets();
    void rebuildBuckets(std::size_t bucketCount);
    void squeezeGaps();
    std::uint32_t& bucketOf(std::uint32_t hash) { return buckets_[hash & (buckets_.size() - 1)]; }

    CaseFold fold_;
    PathText pathText_;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> buckets_;
    std::size_t live_ = 0;
};
