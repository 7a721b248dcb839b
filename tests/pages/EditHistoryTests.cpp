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
using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;
using Copy = std::array<Pairs, kTables>;

struct Sheet {
    std::array<MappingTable, kTables> tables;

    Copy Copied() const {
        Copy copy;
        for (size_t t = 0; t < kTables; ++t) {
            for (const MappingEntry& entry : tables[t])
                copy[t].emplace_back(entry.Key(), entry.Value());
            EXPECT_EQ(size_t(tables[t].GetCount()), copy[t].size());
        }
        return copy;
    }
};

class RandomActions {
public:
    explicit RandomActions(unsigned seed) : m_random(seed) {}

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }
    // Keys from a small set, in two letter cases, so that actions meet
    // each other's keys; now and then a value equal to the stored one.
    std::u16string Key() {
        std::string text = (Below(2) ? "K" : "k") + std::to_string(Below(3000));
        return {text.begin(), text.end()};
    }
    std::u16string Value() {
        std::string text = "v" + std::to_string(Below(4));
        return {text.begin(), text.end()};
    }

    EditStep Insert(Sheet& sheet) {
        PageEdit page(&sheet.tables[Below(kTables)]);
        page.table.Record([&] { return page.pTable->Assign(Key(), Value()); });
        return Step(std::move(page));
    }
    // Up to forty keys of one table, some of them not in it.
    EditStep Delete(Sheet& sheet) {
        PageEdit page(&sheet.tables[Below(kTables)]);
        std::vector<std::u16string> keys;
        for (const MappingEntry& entry : *page.pTable)
            if (Below(page.pTable->GetCount() / 20 + 1) == 0)
                keys.emplace_back(entry.Key());
        keys.push_back(Key());
        for (size_t i = 0; i < keys.size() && i < 40; ++i)
            page.table.Record([&] { return page.pTable->Remove(keys[i]); });
        return Step(std::move(page));
    }
    // Pairs for several tables at once, keys repeated, in no order.
    EditStep Import(Sheet& sheet) {
        EditStep step;
        for (size_t t = 0; t < kTables; ++t) {
            if (Below(2))
                continue;
            PageEdit page(&sheet.tables[t]);
            for (size_t n = Below(Below(2) ? 30 : 3000); n > 0; --n)
                page.table.Record([&] { return page.pTable->Assign(Key(), Value()); });
            page.table.Finish();
            if (!page.table.IsEmpty())
                step.pages.push_back(std::move(page));
        }
        return step;
    }

private:
    static EditStep Step(PageEdit page) {
        page.table.Finish();
        EditStep step;
        if (!page.table.IsEmpty())
            step.pages.push_back(std::move(page));
        return step;
    }
    std::mt19937 m_random;
};

}  // namespace

TEST(EditHistory, UndoAndRedoOfRandomInsertsDeletesAndImportsGiveEachStateBack) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        RandomActions random(seed);
        Sheet sheet;
        // As read: one large table (searches key by key), the others small.
        for (int i = 0; i < 2500; ++i)
            sheet.tables[6].Assign(random.Key(), random.Value());
        for (size_t t = 0; t < 6; ++t)
            for (size_t n = random.Below(200); n > 0; --n)
                sheet.tables[t].Assign(random.Key(), random.Value());

        EditHistory history;
        std::vector<Copy> states{sheet.Copied()};  // states[i]: after i steps
        size_t done = 0;
        auto expectState = [&] {
            ASSERT_EQ(sheet.Copied(), states[done]) << "after " << done << " steps";
        };
        for (int action = 0; action < 60; ++action) {
            size_t choice = random.Below(10);
            if (choice < 2 && history.ToUndo()) {
                history.ToUndo()->ApplyToTables(true);
                history.StepBack();
                --done;
            } else if (choice < 3 && history.ToRedo()) {
                history.ToRedo()->ApplyToTables(false);
                history.StepForward();
                ++done;
            } else {
                EditStep step = choice < 6 ? random.Insert(sheet) : choice < 8 ? random.Delete(sheet) : random.Import(sheet);
                if (step.pages.empty()) {
                    ASSERT_EQ(sheet.Copied(), states[done]) << "an action without a step changed nothing";
                    continue;
                }
                history.Add(std::move(step));  // the steps undone before are gone
                states.resize(done + 1);
                states.push_back(sheet.Copied());
                ++done;
            }
            expectState();
            ASSERT_EQ(history.ToRedo() != nullptr, done + 1 < states.size());
        }
        while (const EditStep* step = history.ToUndo()) {
            step->ApplyToTables(true);
            history.StepBack();
            --done;
        }
        EXPECT_EQ(sheet.Copied(), states.front());
        while (const EditStep* step = history.ToRedo()) {
            step->ApplyToTables(false);
            history.StepForward();
            ++done;
        }
        EXPECT_EQ(sheet.Copied(), states.back());
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
