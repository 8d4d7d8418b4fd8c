// libFuzzer target over the profile writer: arbitrary file bytes, names and
// values. Checks, under AddressSanitizer and UndefinedBehaviorSanitizer:
// - refusals happen exactly for UTF-16 files and names or values with a line end;
// - the reader's view of the result is the reader's view of the original with
//   the change made to it (a model of what the platform does);
// - only the lines the change concerns differ from the original.
// Run with fuzz/run.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ini/profile_writer.h"

namespace {

using ini::ProfileKey;
using ini::ProfileSection;
using Model = std::vector<ProfileSection>;

void Check(bool condition) {
    if (!condition) std::abort();
}

bool HoldsLineEnd(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool Utf16(const std::string& text) {
    return text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
}

bool SameModel(const Model& a, const Model& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].keys.size() != b[i].keys.size()) return false;
        for (size_t j = 0; j < a[i].keys.size(); ++j)
            if (a[i].keys[j].name != b[i].keys[j].name || a[i].keys[j].value != b[i].keys[j].value) return false;
    }
    return true;
}

// The one stretch of bytes a change replaced: what it took out of the
// original and what it put in, between the unchanged start and end. Counted
// as runs of text between line ends, so each is the number of lines touched.
size_t TextRuns(std::string_view bytes) {
    size_t runs = 0;
    bool inRun = false;
    for (char c : bytes) {
        const bool text = c != '\r' && c != '\n';
        if (text && !inRun) ++runs;
        inRun = text;
    }
    return runs;
}

void ChangedLines(const std::string& before, const std::string& after, size_t& removed, size_t& added) {
    removed = added = 0;
    if (before == after) return;
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // The stretch starts at the start of a line.
    while (head > 0 && before[head - 1] != '\r' && before[head - 1] != '\n') --head;
    removed = TextRuns(std::string_view(before).substr(head, before.size() - head - tail));
    added = TextRuns(std::string_view(after).substr(head, after.size() - head - tail));
}

bool LineEnd(char c) { return c == '\r' || c == '\n'; }

// True when after is before with whole lines taken out in one stretch that
// starts at the start of a line; lines: how many lines with text went.
bool RemovedWholeLines(const std::string& before, const std::string& after, size_t& lines) {
    lines = 0;
    if (after.size() > before.size()) return false;
    const size_t gone = before.size() - after.size();
    if (gone == 0) return before == after;
    size_t head = 0;
    while (head < after.size() && before[head] == after[head]) ++head;
    for (size_t at = head + 1; at-- > 0;) {
        // A line starts after a line end, at the start, or after a byte-order mark.
        const bool afterMark = at == 3 && before.compare(0, 3, "\xEF\xBB\xBF") == 0;
        if (at > 0 && !LineEnd(before[at - 1]) && !afterMark) continue;
        if (before.compare(0, at, after, 0, at) == 0 && before.compare(at + gone, std::string::npos, after, at) == 0) {
            const bool endsAtLineStart = at + gone == before.size() || LineEnd(before[at + gone - 1]);
            lines = TextRuns(std::string_view(before).substr(at, gone));
            return endsAtLineStart;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int operation = input.ConsumeIntegralInRange(0, 2);
    // Names and values are C strings, as they are at the platform's calls.
    std::string section = input.ConsumeRandomLengthString(24);
    std::string key = input.ConsumeRandomLengthString(24);
    std::string value = input.ConsumeRandomLengthString(24);
    for (std::string* name : {&section, &key, &value}) name->resize(name->find('\0') == std::string::npos ? name->size() : name->find('\0'));
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::string sectionName(ini::TrimProfileBlanks(section));
    const std::string keyName(ini::TrimProfileBlanks(key));
    std::optional<std::string> result;
    if (operation == 0) result = ini::WriteProfileKey(text, section, key, value);
    else if (operation == 1) result = ini::DeleteProfileKey(text, section, key);
    else result = ini::DeleteProfileSection(text, section);

    const bool refuse = Utf16(text) || HoldsLineEnd(section) || (operation < 2 && HoldsLineEnd(key)) ||
                        (operation == 0 && HoldsLineEnd(value));
    Check(result.has_value() == !refuse);
    if (!result) return 0;

    // The model: the reader's view of the original, changed as the platform would.
    Model model = ini::ReadProfileModel(text);
    if (operation == 0) {
        size_t removed = 0, added = 0;
        ChangedLines(text, *result, removed, added);
        // A key holding "=" or starting with "[" reads back as something else
        // (as it would after the platform's write): the model has no say there.
        // So does a key spelled like a byte-order mark, put first in a file.
        if (keyName.find('=') != std::string::npos || (!keyName.empty() && keyName[0] == '[') ||
            keyName.compare(0, 3, "\xEF\xBB\xBF") == 0)
            return 0;
        Check(removed <= 1 && added <= removed + 2);
        // Leading blanks are dropped by the write, trailing ones by the reader.
        const std::string newValue(ini::TrimProfileBlanks(value));
        ProfileSection* target = nullptr;
        for (ProfileSection& candidate : model)
            if (ini::SameProfileName(candidate.name, sectionName)) {
                target = &candidate;
                break;
            }
        if (!target) {
            model.push_back({sectionName, {}});
            target = &model.back();
        }
        ProfileKey* found = nullptr;
        for (ProfileKey& candidate : target->keys)
            if (ini::SameProfileName(candidate.name, keyName)) {
                found = &candidate;
                break;
            }
        if (found) found->value = newValue;
        else target->keys.push_back({keyName, newValue});
    } else if (operation == 1) {
        size_t lines = 0;
        Check(RemovedWholeLines(text, *result, lines) && lines <= 1);
        bool done = false;
        for (ProfileSection& candidate : model) {
            if (done || !ini::SameProfileName(candidate.name, sectionName)) continue;
            for (size_t i = 0; i < candidate.keys.size() && !done; ++i)
                if (ini::SameProfileName(candidate.keys[i].name, keyName)) {
                    candidate.keys.erase(candidate.keys.begin() + static_cast<long>(i));
                    done = true;
                }
        }
    } else {
        size_t lines = 0;
        Check(RemovedWholeLines(text, *result, lines));
        for (size_t i = 0; i < model.size(); ++i) {
            if (!ini::SameProfileName(model[i].name, sectionName)) continue;
            if (i == 0) model[0].keys.clear();
            else model.erase(model.begin() + static_cast<long>(i));
            break;
        }
    }
    // Removing a first line can leave a next line that begins with the bytes
    // of a byte-order mark at the start of the file: it then reads as one.
    if (result->compare(0, 3, "\xEF\xBB\xBF") == 0 && text.compare(0, 3, "\xEF\xBB\xBF") != 0) return 0;
    Check(SameModel(ini::ReadProfileModel(*result), model));
    return 0;
}
