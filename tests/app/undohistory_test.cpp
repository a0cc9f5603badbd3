#include "app/undohistory.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Doc(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string Text(const app::SnapshotPool::Snapshot& version)
{
    const Bytes bytes = version.Bytes();
    return std::string(bytes.begin(), bytes.end());
}

// The history with the document a canvas shows: what the last restore handed it.
struct Fixture {
    std::string shown = "sample";
    app::UndoHistory history{Doc("initial"), Doc("sample")};

    bool Record(const std::string& document)
    {
        shown = document;
        return history.RecordSnapshot(Doc(document));
    }
    bool Undo()
    {
        return history.Undo([this](const auto& version) { shown = Text(version); });
    }
    bool Redo()
    {
        return history.Redo([this](const auto& version) { shown = Text(version); });
    }
};

TEST(UndoHistory, StartsWithTheCurrentDocumentAtPositionTwoAndNothingToUndoOrRedo)
{
    Fixture f;
    EXPECT_EQ(f.history.Position(), 2);
    EXPECT_EQ(f.history.Count(), 2);
    EXPECT_FALSE(f.history.CanUndo());
    EXPECT_FALSE(f.history.CanRedo());
    EXPECT_EQ(Text(f.history.Slot(1)), "sample");
    EXPECT_EQ(Text(f.history.Slot(2)), "sample");
    for (int slot = 3; slot <= app::UndoHistory::kSlots; ++slot) {
        EXPECT_EQ(Text(f.history.Slot(slot)), "initial");
    }
    EXPECT_FALSE(f.Undo());
    EXPECT_FALSE(f.Redo());
    EXPECT_EQ(f.shown, "sample");
}

TEST(UndoHistory, StepsBackAndForthThroughTheRecordedVersions)
{
    Fixture f;
    EXPECT_FALSE(f.Record("sample")) << "the document on show is not a new version";
    EXPECT_TRUE(f.Record("moved"));
    EXPECT_TRUE(f.Record("moved and resized"));
    EXPECT_FALSE(f.Record("moved and resized"));

    // Each row: the command, then the document shown, p, c and the two enabled states.
    const struct {
        const char* command;
        bool done;
        const char* shown;
        int position;
        bool canUndo;
        bool canRedo;
    } steps[] = {
        {"undo", true, "moved", 3, true, true},
        {"undo", true, "sample", 2, false, true},
        {"undo", false, "sample", 2, false, true},
        {"redo", true, "moved", 3, true, true},
        {"redo", true, "moved and resized", 4, true, false},
        {"redo", false, "moved and resized", 4, true, false},
        {"undo", true, "moved", 3, true, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.command) + " to " + step.shown);
        const bool done = std::string(step.command) == "undo" ? f.Undo() : f.Redo();
        EXPECT_EQ(done, step.done);
        EXPECT_EQ(f.shown, step.shown);
        EXPECT_EQ(f.history.Position(), step.position);
        EXPECT_EQ(f.history.Count(), 4);
        EXPECT_EQ(f.history.CanUndo(), step.canUndo);
        EXPECT_EQ(f.history.CanRedo(), step.canRedo);
    }
}

TEST(UndoHistory, ANewChangeAfterAnUndoDropsTheVersionsThatCouldBeRedone)
{
    Fixture f;
    f.Record("one");
    f.Record("two");
    f.Record("three");
    f.Undo();
    f.Undo();
    ASSERT_EQ(f.shown, "one");
    EXPECT_TRUE(f.history.CanRedo());

    EXPECT_TRUE(f.Record("other"));
    EXPECT_EQ(f.history.Position(), 4);
    EXPECT_EQ(f.history.Count(), 4);
    EXPECT_FALSE(f.history.CanRedo());
    EXPECT_FALSE(f.Redo());
    for (int slot = 5; slot <= app::UndoHistory::kSlots; ++slot) {
        EXPECT_EQ(Text(f.history.Slot(slot)), "initial");
    }
    f.Undo();
    EXPECT_EQ(f.shown, "one");
}

TEST(UndoHistory, WithAllThirtySlotsInUseDropsTheOldestVersion)
{
    Fixture f;
    for (int i = 3; i <= app::UndoHistory::kSlots; ++i) {
        ASSERT_TRUE(f.Record("version " + std::to_string(i)));
    }
    EXPECT_EQ(f.history.Position(), 30);
    EXPECT_EQ(f.history.Count(), 30);
    EXPECT_EQ(Text(f.history.Slot(2)), "sample");

    EXPECT_TRUE(f.Record("version 31"));
    EXPECT_EQ(f.history.Position(), 30);
    EXPECT_EQ(f.history.Count(), 30);
    EXPECT_EQ(Text(f.history.Slot(1)), "sample");
    EXPECT_EQ(Text(f.history.Slot(2)), "version 3");
    EXPECT_EQ(Text(f.history.Slot(29)), "version 30");
    EXPECT_EQ(Text(f.history.Slot(30)), "version 31");

    // Back to position 2 in 28 steps; the oldest slot is never shown.
    int steps = 0;
    while (f.Undo()) {
        ++steps;
    }
    EXPECT_EQ(steps, 28);
    EXPECT_EQ(f.shown, "version 3");
    EXPECT_FALSE(f.history.CanUndo());
    EXPECT_TRUE(f.history.CanRedo());
}

TEST(UndoHistory, IgnoresTheChangeItsOwnRestoreMakes)
{
    Fixture f;
    f.Record("changed");
    bool recorded = true;
    f.history.Undo([&](const app::SnapshotPool::Snapshot& version) {
        EXPECT_TRUE(f.history.Restoring());
        f.shown = Text(version);
        recorded = f.history.RecordSnapshot(Doc("what the canvas reported meanwhile"));
    });
    EXPECT_FALSE(recorded);
    EXPECT_FALSE(f.history.Restoring());
    EXPECT_EQ(f.history.Position(), 2);
    EXPECT_EQ(f.history.Count(), 3);
    f.Redo();
    EXPECT_EQ(f.shown, "changed");
}

TEST(UndoHistory, ThirtyVersionsOfSmallEditsCostLittleMoreThanOneDocument)
{
    std::mt19937 random(11);
    Bytes document(2000000);
    for (uint8_t& byte : document) {
        byte = uint8_t(random());
    }
    app::UndoHistory history(Bytes{}, document);
    for (int i = 0; i < 40; ++i) {
        document[size_t(random()) % document.size()] ^= 0xFF;
        ASSERT_TRUE(history.RecordSnapshot(document));
    }
    EXPECT_LT(history.MemoryUse(), document.size() * 5 / 4);
    EXPECT_TRUE(history.Slot(30).Equals(document));
}

} // namespace
