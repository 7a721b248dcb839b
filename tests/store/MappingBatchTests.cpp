#include "store/model/MappingBatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;
using View = std::u16string_view;
using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

Pairs PairsOf(const MappingTable& table) {
    Pairs pairs;
    for (const auto& entry : table)
        pairs.emplace_back(entry.Key(), entry.Value());
    return pairs;
}

struct Keys {
    std::u16string prefix;    // shared by every key
    std::u16string alphabet;  // of the rest, up to maxLength units
    int maxLength;
};

struct Case {
    const char* name;
    int existing;  // pairs set into the table first
    int added;     // pairs of the batch
    Keys keys;
};

}  // namespace

// The merge must leave exactly what setting the batch's pairs one by one
// leaves. Small alphabets make repeated keys, keys that are prefixes of one
// another and long runs that agree on many units; U+0000, U+FFFF and lone
// surrogates sit at both ends of the code unit order; values come from a
// small set, so many are set to what they already were.
TEST(MappingBatch, MergeLeavesWhatSettingEachPairInOrderLeaves) {
    const std::u16string wide = u"aAbB0\u00e9\uffff\xd800\xdc00\0"s;
    const Case cases[] = {
        {"into an empty table", 0, 3000, {u"", wide, 8}},
        {"interleaved with a table's keys", 2000, 3000, {u"", wide, 6}},
        {"long runs of shared units", 300, 6000, {u"", u"a\0\uffff"s, 14}},
        {"after a prefix every key shares", 500, 4000, {u"Level ", u"0123 "s, 9}},
        {"mostly repeated keys", 20, 4000, {u"", u"a\0"s, 4}},
        {"a few pairs into a large table", 6000, 30, {u"", wide, 8}},
        {"an empty batch", 100, 0, {u"", wide, 8}},
    };
    const std::u16string values[] = {u"", u"x", u"X", u"x\0"s};
    std::mt19937 random(20);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        auto pair = [&] {
            std::u16string key = test.keys.prefix;
            for (int n = int(random() % unsigned(test.keys.maxLength + 1)); n > 0; --n)
                key += test.keys.alphabet[random() % test.keys.alphabet.size()];
            return std::pair(key, values[random() % std::size(values)]);
        };
        MappingTable table;
        for (int i = 0; i < test.existing; ++i) {
            auto [key, value] = pair();
            table.SetPair(View(key), View(value));
        }
        const Pairs before = PairsOf(table);
        std::vector<const MappingEntry*> oldEntries;
        for (const auto& entry : table)
            oldEntries.push_back(&entry);

        MappingTable expected = table;
        MappingBatch batch;
        for (int i = 0; i < test.added; ++i) {
            auto [key, value] = pair();
            batch.Add(key, value);
            expected.SetPair(View(key), View(value));
        }
        EXPECT_EQ(batch.GetCount(), size_t(test.added));
        const unsigned changesBefore = table.GetChangeCount();
        const MappingTable::MergeCounts counts = table.Merge(std::move(batch));
        EXPECT_EQ(batch.GetCount(), 0u);

        const Pairs after = PairsOf(table);
        ASSERT_EQ(after, PairsOf(expected));
        EXPECT_EQ(table.GetCount(), expected.GetCount());
        EXPECT_EQ(counts.added, table.GetCount() - int(before.size()));
        int changed = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            // Old entries stay readable; an unchanged pair keeps its entry.
            const auto& [key, value] = before[i];
            ASSERT_EQ(oldEntries[i]->Key(), key);
            ASSERT_EQ(oldEntries[i]->Value(), value);
            const MappingEntry* pNow = table.Find(key);
            if (pNow->Value() == value)
                EXPECT_EQ(pNow, oldEntries[i]);
            else
                ++changed;
        }
        EXPECT_EQ(counts.changed, changed);
        EXPECT_EQ(table.GetChangeCount() != changesBefore, after != before);

        // The merged table takes further inserts, removals and merges.
        Pairs merged;
        for (int i = 0; i < 200; ++i) {
            auto [key, value] = pair();
            table.SetPair(View(key), View(value));
            expected.SetPair(View(key), View(value));
            if (i % 3 == 0) {
                table.RemovePair(CString(key));
                expected.RemovePair(CString(key));
            }
            batch.Add(value, key);
            merged.emplace_back(value, key);
        }
        for (const auto& [key, value] : merged)
            expected.SetPair(View(key), View(value));
        table.Merge(std::move(batch));
        EXPECT_EQ(PairsOf(table), PairsOf(expected));
        EXPECT_EQ(table.GetCount(), expected.GetCount());
    }
}

// Every code unit in one batch, alone and after the two highest: the most
// the sort's packing of units has to tell apart.
TEST(MappingBatch, MergeTellsKeysApartWhenEveryCodeUnitOccurs) {
    MappingBatch batch;
    MappingTable expected;
    for (char32_t unit = 0; unit <= 0xffff; ++unit) {
        for (std::u16string key : {std::u16string(1, char16_t(unit)), u"\uffff" + std::u16string(1, char16_t(unit)),
                                   u"\ufffe" + std::u16string(1, char16_t(unit))}) {
            const std::u16string value = unit % 3 ? u"v" : u"w";
            batch.Add(key, value);
            expected.SetPair(View(key), View(value));
        }
    }
    for (const char16_t* key : {u"\ufffe\uffff", u"\uffff\ufffe", u"\uffff"}) {
        batch.Add(key, u"last");
        expected.SetPair(key, u"last");
    }
    MappingTable table;
    table.Merge(std::move(batch));
    EXPECT_EQ(PairsOf(table), PairsOf(expected));
    EXPECT_EQ(table.GetCount(), 3 * 0x10000);
}

// A caller's rule for equal keys: the pick gets the positions of the pairs
// that share a key, in the order added, and the table takes the one it
// chooses. A batch given more pairs after its sort is sorted again whole.
TEST(MappingBatch, SortKeepsThePairThePickChooses) {
    MappingBatch batch;
    std::vector<std::pair<std::u16string, std::u16string>> added;
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) {
        // Many copies of a few keys (groups far larger than a bucket the
        // sort finishes by comparison), among keys seen once.
        std::u16string key = i % 3 ? u"key" + std::u16string(1, char16_t(u'a' + random() % 4)) : u"k" + std::u16string(1, char16_t(i));
        added.emplace_back(key, std::u16string(1, char16_t(u'0' + i % 10)) + std::u16string(1, char16_t(i)));
        batch.Add(added.back().first, added.back().second);
    }
    std::vector<std::vector<std::uint32_t>> groups;
    batch.Sort([&](std::span<const std::uint32_t> group) {
        groups.emplace_back(group.begin(), group.end());
        return group[group.size() / 2];
    });
    // Expected: each repeated key's positions, and its middle pair.
    std::map<std::u16string, std::vector<std::uint32_t>> positions;
    for (std::uint32_t i = 0; i < added.size(); ++i)
        positions[added[i].first].push_back(i);
    std::vector<std::vector<std::uint32_t>> expectedGroups;
    MappingTable expected;
    for (const auto& [key, at] : positions) {
        if (at.size() > 1)
            expectedGroups.push_back(at);
        expected.SetPair(View(key), View(added[at[at.size() / 2]].second));
    }
    std::sort(groups.begin(), groups.end());
    std::sort(expectedGroups.begin(), expectedGroups.end());
    EXPECT_EQ(groups, expectedGroups);
    MappingTable table;
    table.Merge(std::move(batch));
    EXPECT_EQ(PairsOf(table), PairsOf(expected));

    MappingBatch more;
    more.Add(u"b", u"1");
    more.Add(u"b", u"2");
    more.Sort([](std::span<const std::uint32_t> group) { return group.front(); });
    more.Add(u"a", u"3");
    MappingTable after;
    after.Merge(std::move(more));
    EXPECT_EQ(PairsOf(after), (Pairs{{u"a", u"3"}, {u"b", u"2"}}));
}
