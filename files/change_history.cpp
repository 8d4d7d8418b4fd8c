#include "files/change_history.h"

#include <algorithm>

#include "files/common_bytes.h"

namespace files {

namespace {

// The file with `from` at offset replaced by `to`, when `from` is what is there.
std::optional<std::string> Replaced(std::string_view file, std::size_t offset, std::string_view from,
                                    std::string_view to) {
    if (offset > file.size() || file.substr(offset, from.size()) != from) return std::nullopt;
    std::string text;
    text.reserve(file.size() - from.size() + to.size());
    text.append(file.substr(0, offset));
    text.append(to);
    text.append(file.substr(offset + from.size()));
    return text;
}

}  // namespace

ByteChange Difference(std::string_view from, std::string_view to) {
    const std::size_t shorter = std::min(from.size(), to.size());
    const std::size_t prefix = CommonPrefixLength(from, to);
    const std::size_t suffix = CommonSuffixLength(from, to, shorter - prefix);
    ByteChange change;
    change.offset = prefix;
    change.before.assign(from.substr(prefix, from.size() - prefix - suffix));
    change.after.assign(to.substr(prefix, to.size() - prefix - suffix));
    return change;
}

void ChangeHistory::Record(std::string name, Concerned concerned, std::string_view before, std::string_view after) {
    entries_.resize(done_);
    entries_.push_back(Entry{std::move(name), std::move(concerned), Difference(before, after), FingerprintOf(before),
                             FingerprintOf(after)});
    done_ = entries_.size();
}

void ChangeHistory::Clear() {
    entries_.clear();
    done_ = 0;
}

const ChangeHistory::Entry* ChangeHistory::NextUndo() const { return done_ > 0 ? &entries_[done_ - 1] : nullptr; }

const ChangeHistory::Entry* ChangeHistory::NextRedo() const {
    return done_ < entries_.size() ? &entries_[done_] : nullptr;
}

std::optional<std::string> ChangeHistory::UndoneText(std::string_view file) const {
    const Entry* entry = NextUndo();
    if (entry == nullptr || FingerprintOf(file) != entry->after) return std::nullopt;
    return Replaced(file, entry->change.offset, entry->change.after, entry->change.before);
}

std::optional<std::string> ChangeHistory::RedoneText(std::string_view file) const {
    const Entry* entry = NextRedo();
    if (entry == nullptr || FingerprintOf(file) != entry->before) return std::nullopt;
    return Replaced(file, entry->change.offset, entry->change.before, entry->change.after);
}

void ChangeHistory::Undone() {
    if (done_ > 0) --done_;
}

void ChangeHistory::Redone() {
    if (done_ < entries_.size()) ++done_;
}

std::size_t ChangeHistory::HeldBytes() const {
    std::size_t bytes = 0;
    for (const Entry& entry : entries_)
        bytes += sizeof entry + entry.name.capacity() + entry.change.before.capacity() + entry.change.after.capacity();
    return bytes;
}

}  // namespace files
