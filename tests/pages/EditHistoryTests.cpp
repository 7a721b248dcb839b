// The edit history against the plainest model of it: the tables copied out
// after every action. Random inserts, deletes and imports over seven tables
// are recorded the way the pages and the import record them; undone to the
// start they must give the tables as read, redone to the end the tables
// after the last action, and every position in between its own copy.
#include "pages/EditHistory.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr size_t kTables = 7;
using Tables = std::array<MappingTable, kTables>;
using Copy = std::array<std::vector<std::pair<std::u16string, std::u16string>>, kTables>;

Copy Copied(const Tables& tables) {
    Copy copy;
    for (size_t t = 0; t < kTables; ++t) {
        for (const MappingEntry& entry : tables[t])
            copy[t].emplace_back(entry.Key(), entry.Value());
        EXPECT_EQ(size_t(tables[t].GetCount()), copy[t].size());
    }
    return copy;
}

struct Random {
    std::mt19937 engine;
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(engine); }
    // Keys from a small set in two letter cases, so that actions meet each
    // other's keys; few values, so that some sets change nothing.
    std::u16string Text(const char* prefix, size_t n) {
        std::string text = prefix + std::to_string(Below(n));
        return {text.begin(), text.end()};
    }
    std::u16string Key() { return Text(Below(2) ? "K" : "k", 3000); }
};

// One action, recorded as the pages and the import record theirs: an
// Insert (one pair), a Delete (up to forty keys of one table, one of them
// perhaps absent) or an import (pairs for several tables, keys repeated, in
// no order).
EditStep Act(Tables& tables, Random& random) {
    const size_t kind = random.Below(3), page = random.Below(kTables);
    EditStep step;
    for (size_t t = 0; t < kTables; ++t) {
        if (kind == 2 ? random.Below(2) == 0 : t != page)
            continue;
        PageEdit edit(&tables[t]);
        MappingTable& table = tables[t];
        if (kind == 1) {
            std::vector<std::u16string> keys{random.Key()};
            for (const MappingEntry& entry : table)
                if (keys.size() < 40 && random.Below(size_t(table.GetCount()) / 20 + 1) == 0)
                    keys.emplace_back(entry.Key());
            for (const std::u16string& key : keys)
                edit.table.Record([&] { return table.Remove(key); });
        } else {
            for (size_t n = kind == 0 ? 1 : random.Below(random.Below(2) ? 30 : 3000); n > 0; --n)
                edit.table.Record([&] { return table.Assign(random.Key(), random.Text("v", 4)); });
        }
        edit.table.Finish();
        if (!edit.table.IsEmpty())
            step.pages.push_back(std::move(edit));
    }
    return step;
}

}  // namespace

TEST(EditHistory, UndoAndRedoOfRandomInsertsDeletesAndImportsGiveEachStateBack) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        Random random{std::mt19937(seed)};
        Tables tables;
        // As read: one large table (undo searches key by key), others small.
        for (size_t t = 0; t < kTables; ++t)
            for (size_t n = t == 6 ? 2500 : random.Below(200); n > 0; --n)
                tables[t].Assign(random.Key(), random.Text("v", 4));

        EditHistory history;
        std::vector<Copy> states{Copied(tables)};  // states[i]: after i steps
        size_t done = 0;
        for (int action = 0; action < 60; ++action) {
            const size_t choice = random.Below(10);
            if (choice < 2 && history.ToUndo()) {
                history.ToUndo()->ApplyToTables(true);
                history.StepBack();
                --done;
            } else if (choice < 3 && history.ToRedo()) {
                history.ToRedo()->ApplyToTables(false);
                history.StepForward();
                ++done;
            } else if (EditStep step = Act(tables, random); !step.pages.empty()) {
                history.Add(std::move(step));  // the steps undone before are gone
                states.resize(done + 1);
                states.push_back(Copied(tables));
                ++done;
            }
            ASSERT_EQ(Copied(tables), states[done]) << "after " << done << " steps";
            ASSERT_EQ(history.ToRedo() != nullptr, done + 1 < states.size());
        }
        for (; history.ToUndo(); history.StepBack())
            history.ToUndo()->ApplyToTables(true);
        EXPECT_EQ(Copied(tables), states.front());
        for (; history.ToRedo(); history.StepForward())
            history.ToRedo()->ApplyToTables(false);
        EXPECT_EQ(Copied(tables), states.back());
    }
}

TEST(EditHistory, AKeyChangedTwiceInOneActionUndoesToItsFirstEntry) {
    MappingTable table;
    table.SetPair(u"A", u"1");
    const MappingEntry* pRead = table.Find(u"A");
    PageEdit page(&table);
    for (const char16_t* value : {u"2", u"3"})
        page.table.Record([&] { return table.Assign(u"A", value); });
    page.table.Record([&] { return table.Assign(u"B", u"x"); });
    page.table.Record([&] { return table.Remove(u"B"); });  // added and gone again: no change
    page.table.Finish();
    EXPECT_EQ(page.table.EntriesPut(false).size(), 1u);
    page.table.Apply(table, true);
    EXPECT_EQ(table.Find(u"A"), pRead);  // the very entry, not a copy
    EXPECT_EQ(table.GetCount(), 1);
}

TEST(EditHistory, TheChangeFlagFollowsTheSavedPosition) {
    EditHistory history;
    EXPECT_FALSE(history.HasUnsavedChanges());
    history.Add(EditStep{});
    EXPECT_TRUE(history.HasUnsavedChanges());
    history.StepBack();  // back to what was read
    EXPECT_FALSE(history.HasUnsavedChanges());
    history.StepForward();
    history.MarkSaved();
    EXPECT_FALSE(history.HasUnsavedChanges());
    history.StepBack();  // before the save: the file holds the step
    EXPECT_TRUE(history.HasUnsavedChanges());
    EditStep unopened;  // an import into pages never opened does not count
    unopened.bCounts = false;
    history.Add(std::move(unopened));  // the saved position is gone for good
    EXPECT_TRUE(history.HasUnsavedChanges());
    history.Clear(true);  // the file read again
    EditStep quiet;
    quiet.bCounts = false;
    history.Add(std::move(quiet));
    EXPECT_FALSE(history.HasUnsavedChanges());
    history.Clear(false);
    EXPECT_TRUE(history.HasUnsavedChanges());
}

TEST(EditHistory, TheLastImportsRowsAreMarkedUntilSaveItsUndoOrTheNextImport) {
    MappingTable levels, colors;
    levels.SetPair(u"A", u"1");
    levels.SetPair(u"B", u"2");
    const MappingEntry* pReadA = levels.Find(u"A");
    auto import = [&](const char16_t* key, const char16_t* value) {
        EditStep step;
        step.bMarksRows = true;
        step.pages.emplace_back(&levels);
        step.pages.back().table.Record([&] { return levels.Assign(key, value); });
        step.pages.back().table.Finish();
        return step;
    };
    EditHistory history;
    history.Add(import(u"A", u"9"));
    const TableEdit* pMarked = history.MarkedEdit(&levels);
    ASSERT_TRUE(pMarked);
    EXPECT_TRUE(pMarked->Puts(levels.Find(u"A")));
    EXPECT_FALSE(pMarked->Puts(pReadA));  // the value it replaced
    EXPECT_FALSE(pMarked->Puts(levels.Find(u"B")));
    EXPECT_FALSE(history.MarkedEdit(&colors));  // a table it left alone

    EditStep insert;  // another action keeps the marks
    insert.pages.emplace_back(&levels);
    history.Add(std::move(insert));
    EXPECT_EQ(history.MarkedEdit(&levels), pMarked);
    history.StepBack();
    EXPECT_EQ(history.MarkedEdit(&levels), pMarked);
    history.StepBack();  // the import undone
    EXPECT_FALSE(history.MarkedEdit(&levels));
    history.StepForward();  // and redone
    EXPECT_EQ(history.MarkedEdit(&levels), pMarked);
    history.MarkSaved();
    EXPECT_FALSE(history.MarkedEdit(&levels));

    history.Add(import(u"C", u"3"));
    pMarked = history.MarkedEdit(&levels);
    ASSERT_TRUE(pMarked);
    EXPECT_TRUE(pMarked->Puts(levels.Find(u"C")));
    EXPECT_FALSE(pMarked->Puts(levels.Find(u"A")));  // the import before
    history.EndMarks();  // an import that changed nothing
    EXPECT_FALSE(history.MarkedEdit(&levels));
    history.StepBack();
    history.StepForward();
    EXPECT_TRUE(history.MarkedEdit(&levels));
    history.Clear(true);  // the file read again
    EXPECT_FALSE(history.MarkedEdit(&levels));
}
