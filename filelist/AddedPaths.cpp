// Every path added to the file list, in order, unique without regard to letter case.

#include "filelist/AddedPaths.h"

#include <utility>

namespace {

std::uint32_t hashText(std::string_view text)
{
    // FNV-1a: cheap, and good enough to keep bucket chains short for paths that share
    // long folder prefixes.
    std::uint32_t h = 2166136261u;
    for (char ch : text) {
        h ^= static_cast<unsigned char>(ch);
        h *= 16777619u;
    }
    return h;
}

} // namespace

AddedPaths::AddedPaths(const CodePage& codePage) : fold_(codePage), pathText_(codePage)
{
    rebuildBuckets(16);
}

std::string AddedPaths::entryText(const std::string& path) const
{
    std::string text;
    text.reserve(path.size() * 2 + 1);
    text += path;
    text += '\0';
    text += path;
    // Folding never changes the byte count, so the second copy is folded where it lies.
    fold_.foldInPlace(&text[path.size() + 1], path.size());
    return text;
}

void AddedPaths::add(const std::string& path)
{
    std::string text = entryText(path);
    const std::string_view folded(text.data() + path.size() + 1, path.size());
    const std::uint32_t hash = hashText(folded);
    bool removed = false;
    std::uint32_t* link = &bucketOf(hash);
    while (*link != none) {
        Entry& e = entries_[*link];
        if (e.hash_ == hash && e.foldedPath() == folded) {
            const std::uint32_t gone = *link;
            *link = e.nextInBucket_;
            kill(gone);
            removed = true;
        } else {
            link = &e.nextInBucket_;
        }
    }
    append(std::move(text), path.size(), hash);
    if (removed)
        squeezeGaps();
}

void AddedPaths::appendUnchecked(const std::string& path)
{
    std::string text = entryText(path);
    const std::uint32_t hash = hashText(std::string_view(text.data() + path.size() + 1, path.size()));
    append(std::move(text), path.size(), hash);
}

std::size_t AddedPaths::removeExact(const std::string& path)
{
    // Entries equal exactly are also equal when folded, so the folded index finds them.
    const std::string folded = fold_.folded(path);
    const std::uint32_t hash = hashText(folded);
    std::size_t removed = 0;
    std::uint32_t* link = &bucketOf(hash);
    while (*link != none) {
        Entry& e = entries_[*link];
        if (e.hash_ == hash && e.path() == path) {
            const std::uint32_t gone = *link;
            *link = e.nextInBucket_;
            kill(gone);
            ++removed;
        } else {
            link = &e.nextInBucket_;
        }
    }
    if (removed)
        squeezeGaps();
    return removed;
}

void AddedPaths::clear()
{
    entries_.clear();
    entries_.shrink_to_fit();
    live_ = 0;
    rebuildBuckets(16);
}

void AddedPaths::replaceAll(const std::vector<std::string>& paths)
{
    clear();
    entries_.reserve(paths.size());
    for (const std::string& p : paths)
        appendUnchecked(p);
}

std::vector<std::string> AddedPaths::paths() const
{
    std::vector<std::string> out;
    out.reserve(live_);
    for (const Entry& e : *this)
        out.emplace_back(e.path());
    return out;
}

AddedPaths::const_iterator AddedPaths::begin() const
{
    const Entry* first = entries_.data();
    return const_iterator(first, first + entries_.size());
}

AddedPaths::const_iterator AddedPaths::end() const
{
    const Entry* last = entries_.data() + entries_.size();
    return const_iterator(last, last);
}

void AddedPaths::append(std::string text, std::size_t length, std::uint32_t hash)
{
    if (entries_.size() + 1 > buckets_.size())
        growBuckets();
    Entry e;
    e.nameStart_ = static_cast<std::uint32_t>(pathText_.nameStart(std::string_view(text.data(), length)));
    e.text_ = std::move(text);
    e.length_ = static_cast<std::uint32_t>(length);
    e.hash_ = hash;
    e.live_ = true;
    const std::uint32_t index = static_cast<std::uint32_t>(entries_.size());
    std::uint32_t& head = bucketOf(hash);
    e.nextInBucket_ = head;
    head = index;
    entries_.push_back(std::move(e));
    ++live_;
}

void AddedPaths::kill(std::uint32_t index)
{
    Entry& e = entries_[index];
    e.live_ = false;
    e.nextInBucket_ = none;
    // The text is not needed any more; free it now rather than at the next squeeze.
    std::string().swap(e.text_);
    e.length_ = 0;
    --live_;
}

void AddedPaths::growBuckets()
{
    rebuildBuckets(buckets_.size() * 2);
}

void AddedPaths::rebuildBuckets(std::size_t bucketCount)
{
    std::size_t n = 16;
    while (n < bucketCount)
        n *= 2;
    buckets_.assign(n, none);
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        if (!e.live_)
            continue;
        std::uint32_t& head = bucketOf(e.hash_);
        e.nextInBucket_ = head;
        head = i;
    }
}

void AddedPaths::squeezeGaps()
{
    const std::size_t dead = entries_.size() - live_;
    if (dead < 1024 || dead < live_)
        return;
    std::size_t to = 0;
    for (std::size_t from = 0; from < entries_.size(); ++from) {
        if (!entries_[from].live_)
            continue;
        if (to != from)
            entries_[to] = std::move(entries_[from]);
        ++to;
    }
    entries_.resize(to);
    rebuildBuckets(to + 1);
}
