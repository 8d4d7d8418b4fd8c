#include "files/undo_record.h"

#include <gtest/gtest.h>

#include <string>

using files::FileState;

namespace {

// The file as the step leaves it, as the system would: bytes past the end
// lengthen it, a size cuts or lengthens it.
void Apply(std::string& file, const files::FileStep& step) {
    const std::size_t at = static_cast<std::size_t>(step.offset);
    if (step.setSize) {
        file.resize(at);
        return;
    }
    if (file.size() < at + step.bytes.size()) file.resize(at + step.bytes.size());
    file.replace(at, step.bytes.size(), step.bytes);
}

std::string Show(const std::string& bytes) {
    std::string shown;
    for (char c : bytes) shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return "\"" + shown + "\"";
}

// Pieces of 4 bytes, so that short texts give many of them.
struct Change {
    std::string old, now;
};
const Change kChanges[] = {
    {"[A]\r\nk=AAAAsamesameBBBB\r\n", "[A]\r\nk=CCCCsamesameDDDD\r\n"},   // same size, pieces alike in both
    {"[A]\r\nk=short\r\nj=2\r\n", "[A]\r\nk=a good deal longer\r\nj=2\r\n"},
    {"[A]\r\nk=a good deal longer\r\nj=2\r\n", "[A]\r\nk=short\r\nj=2\r\n"},
    {"[A]\r\nk=1\r\n", "[A]\r\nk=1\r\n[Added]\r\nnew=key\r\n"},             // only added
    {"[A]\r\nk=1\r\n[Gone]\r\nold=key\r\n", "[A]\r\nk=1\r\n"},             // only cut
    {"", "[New]\r\nk=v\r\n"},
    {"[All]\r\ngoes=away\r\n", ""},
};

TEST(UndoRecordTest, EveryPointAWriteOrItsUndoCanBeKilledAtIsRecognisedAndUndoneToTheOldBytes) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(Show(change.old) + " to " + Show(change.now));
        // Everything below works from the record as a later run reads it.
        const std::optional<files::UndoRecord> read =
            files::ParseUndoRecord(files::FormatUndoRecord(files::MakeUndoRecord(change.old, change.now, "C:\\a.ini", 4)));
        ASSERT_TRUE(read.has_value());
        const files::UndoRecord& record = *read;
        const std::vector<files::FileStep> steps = files::WriteSteps(record, change.now);
        std::string file = change.old;
        for (std::size_t done = 0; done <= steps.size(); ++done) {
            if (done > 0) Apply(file, steps[done - 1]);
            SCOPED_TRACE("killed after " + std::to_string(done) + " steps: " + Show(file));
            const files::Finding found = files::ClassifyFile(record, file);
            if (file == change.now) {
                EXPECT_EQ(found.state, FileState::Complete);
                continue;
            }
            if (file == change.old) {
                EXPECT_EQ(found.state, FileState::Untouched);
                continue;
            }
            ASSERT_EQ(found.state, FileState::HalfWritten);
            // The undo, killed after every one of its steps and started again.
            std::string undone = file;
            for (const files::FileStep& step : files::UndoSteps(record, undone.size(), found.newPieces)) {
                Apply(undone, step);
                const files::Finding again = files::ClassifyFile(record, undone);
                ASSERT_EQ(again.state, undone == change.old ? FileState::Untouched : FileState::HalfWritten)
                    << "undo killed at " << Show(undone);
                std::string restarted = undone;
                for (const files::FileStep& rest : files::UndoSteps(record, restarted.size(), again.newPieces))
                    Apply(restarted, rest);
                EXPECT_EQ(restarted, change.old);
            }
            EXPECT_EQ(undone, change.old);
        }
        // A write that fails half-way through a piece is undone at once from
        // the pieces it may have reached.
        for (std::size_t failed = 0; failed + 1 < steps.size(); ++failed) {
            std::string cut = change.old;
            for (std::size_t i = 0; i < failed; ++i) Apply(cut, steps[i]);
            files::FileStep half = steps[failed];
            half.bytes = half.bytes.substr(0, half.bytes.size() / 2);
            Apply(cut, half);
            for (const files::FileStep& step : files::UndoSteps(record, cut.size(), failed + 1)) Apply(cut, step);
            EXPECT_EQ(cut, change.old) << "failed in step " << failed;
        }
    }
}

TEST(UndoRecordTest, AFileChangedSinceOrANewFileOfTheSameNameIsNeverUndone) {
    const std::string old = "[A]\r\nk=old value\r\nj=2\r\n";
    const std::string now = "[A]\r\nk=the new and longer value\r\nj=2\r\n";
    const files::UndoRecord record = files::MakeUndoRecord(old, now, "C:\\Dir\\File.ini", 4);
    std::string half = old;
    const std::vector<files::FileStep> steps = files::WriteSteps(record, now);
    for (std::size_t i = 0; i < 2; ++i) Apply(half, steps[i]);
    ASSERT_EQ(files::ClassifyFile(record, half).state, FileState::HalfWritten);

    std::string mended = half;
    mended[8] = 'X';
    const std::string states[] = {
        mended,                          // the half-written file, mended by hand
        "[A]\r\nk=typed again by hand\r\n",  // a new file of the same name
        old + "added=by hand\r\n",
        now + "added=by hand\r\n",
        half + "\r\n",
        "",
    };
    for (const std::string& state : states)
        EXPECT_EQ(files::ClassifyFile(record, state).state, FileState::Unknown) << Show(state);
    // A file the write would leave complete, but for bit 7 of two bytes eight
    // apart in one piece: another program's, which the piece hashes tell apart.
    const files::UndoRecord whole = files::MakeUndoRecord(old, now, "C:\\Dir\\File.ini");
    std::string flipped = now;
    flipped[7] = static_cast<char>(flipped[7] ^ 0x80);
    flipped[15] = static_cast<char>(flipped[15] ^ 0x80);
    EXPECT_EQ(files::ClassifyFile(whole, flipped).state, FileState::Unknown);

    // Records that cannot be trusted are not read at all: an earlier format
    // without the new bytes, one cut short, one whose sizes disagree.
    const std::string text = files::FormatUndoRecord(record);
    EXPECT_FALSE(files::ParseUndoRecord("KEPLIN-UNDO 7 24\nold value\r\nj=2\r\n"));
    // The format before this one, whose piece hashes were FNV: set aside, never applied.
    EXPECT_FALSE(files::ParseUndoRecord("KEPLIN-UNDO-2 5 22 22 3 1048576 1\nC:\\a.ini\n"
                                        "a9cb34eab4ea1e4c\nold"));
    EXPECT_FALSE(files::ParseUndoRecord(text.substr(0, text.find("C:\\") + 20)));
    files::UndoRecord disagreeing = record;
    ++disagreeing.oldSize;
    EXPECT_FALSE(files::ParseUndoRecord(files::FormatUndoRecord(disagreeing)));
    const std::optional<files::UndoRecord> read = files::ParseUndoRecord(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->path, "C:\\Dir\\File.ini");

    // A record kept away from its file is named after the file's exact path:
    // paths that differ in case alone are two files where case counts.
    EXPECT_NE(files::UndoRecordName("C:\\Dir\\File.ini"), files::UndoRecordName("C:\\Dir\\FILE.ini"));
}

}  // namespace
