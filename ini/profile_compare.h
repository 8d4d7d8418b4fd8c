// Comparing two INI texts by section and key, as the platform's reader sees
// them (ini/profile_model.h), and taking what the other text holds into the
// current one through the profile writer. Portable: no <windows.h>.
//
// Names compare as the reader compares them (ASCII case ignored, blanks
// trimmed, a NUL ends them); values compare exactly, up to a NUL, where the
// reader's strings end. A key without "=" has no value, which is not the
// empty value. Order, comments (keys whose name starts with ";"), blank
// lines, spacing and line ends are no differences. Only the first copy of a
// section, and of a key within it, is read and compared; further copies are
// flagged as duplicates.
#pragma once
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

enum class DifferenceKind {
    ValueDiffers,        // a key in both files, with different values
    KeyOnlyMine,         // a key only in the current file
    KeyOnlyTheirs,       // a key only in the other file
    SectionOnlyMine,     // a section only in the current file
    SectionOnlyTheirs,   // a section only in the other file
    Duplicate,           // no difference: a section or key a file holds more than once
};
constexpr std::size_t kDifferenceKinds = 6;

struct ProfileDifference {
    DifferenceKind kind = DifferenceKind::ValueDiffers;
    bool wholeSection = false;        // about the section itself rather than one of its keys
    std::string section;              // as the current file spells it, else as the other file
    std::string key;
    std::optional<std::string> mine;  // the values; none for a missing key or a key without "="
    std::optional<std::string> theirs;
    std::size_t mineCopies = 0;       // duplicates: how many copies each file holds
    std::size_t theirsCopies = 0;
    // Where the other file's first copy of the section lies, from its header
    // to the next; empty when the other file has none. A Take reads nothing
    // of the other file beyond it.
    std::size_t theirsFrom = 0;
    std::size_t theirsTo = 0;
};

struct ProfileComparison {
    // Section by section in the current file's order, then the sections only
    // in the other file in its order; within a section, its key differences
    // in the current file's order, then the keys only in the other file.
    std::vector<ProfileDifference> rows;
    std::array<std::size_t, kDifferenceKinds> counts{};
    std::size_t Count(DifferenceKind kind) const { return counts[static_cast<std::size_t>(kind)]; }
    // True when the reader finds the same keys with the same values in both.
    bool Same() const;
};

// What the reader sees in one text, indexed by name: made once, compared as
// often as needed while the text lives. leftOut names a section that is not
// compared (a backup's record of where it came from).
class ProfileIndex {
public:
    explicit ProfileIndex(std::string_view text, std::optional<std::string_view> leftOut = std::nullopt);
    ~ProfileIndex();
    ProfileIndex(ProfileIndex&&) noexcept;
    ProfileIndex& operator=(ProfileIndex&&) noexcept;

private:
    friend ProfileComparison CompareProfiles(const ProfileIndex& mine, const ProfileIndex& theirs);
    struct Data;
    std::unique_ptr<Data> data_;
};

// Compares the current file's text with the other file's.
ProfileComparison CompareProfiles(const ProfileIndex& mine, const ProfileIndex& theirs);
ProfileComparison CompareProfiles(std::string_view mine, std::string_view theirs,
                                  std::optional<std::string_view> leftOutOfTheirs = std::nullopt);

// What the list shows of a row, and the line Copy gives for it:
// [Section] key: "mine" → "theirs", with (missing) for a missing key or value.
struct DifferenceCells {
    std::string section;   // "[Section]"
    std::string key;
    std::string mine;
    std::string theirs;
    std::string what;      // "Values differ", "Key only in this file"...
};
DifferenceCells CellsOf(const ProfileDifference& row);
std::string DifferenceLine(const ProfileDifference& row);

// The counts in a sentence, or "The files hold the same keys and values."
std::string ComparisonSummary(const ProfileComparison& comparison);

// The current file's text made to hold what the other file holds, touching
// only the lines concerned (each through the profile writer). theirs is the
// other file's text, or the part of it that holds the section's first copy
// (a row's theirsFrom to theirsTo). Nothing when
// a name or value to write holds a NUL (the writer would cut it there, and
// could then reach another section or key), or the writer refuses.
//
// One key: the other file's value is written into the first section of that
// name (a new key at the end of the section, a new section at the end of the
// file); a key the other file lacks has every copy in that section deleted.
std::optional<std::string> TakeProfileKey(std::string_view mine, std::string_view theirs, std::string_view section,
                                          std::string_view key);
// A whole section: the first section of that name holds the other file's
// keys and values, keys it has already changed in place, the rest added in
// the other file's order, keys the other file lacks deleted; comments stay.
// A section the other file lacks is deleted, every copy of it.
std::optional<std::string> TakeProfileSection(std::string_view mine, std::string_view theirs,
                                              std::string_view section);

// The section's name and every key and value that TakeProfileSection would
// write from the other file (theirs as for the Takes), one after another:
// what the current file's encoding must be able to hold.
std::string TakenSectionText(std::string_view theirs, std::string_view section);

}  // namespace ini
