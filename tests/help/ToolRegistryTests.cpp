#include "help/ToolRegistry.h"

#include <gtest/gtest.h>

namespace {

struct Record {
    int rect = 0;
    CString text;
};

TEST(ToolRegistry, RegisteringAgainReplacesOnlyTheText) {
    ToolRegistry<Record> registry;
    registry.AddTool(42, CString(u"first"));
    const_cast<Record*>(registry.Find(42))->rect = 7;
    registry.AddTool(42, CString(u"second"));
    ASSERT_NE(registry.Find(42), nullptr);
    EXPECT_EQ(registry.Find(42)->text, u"second");
    EXPECT_EQ(registry.Find(42)->rect, 7);
    EXPECT_EQ(registry.GetCount(), 1);
    EXPECT_EQ(registry.Find(43), nullptr);
}

TEST(ToolRegistry, KeysAreOrderedAsUnsigned64BitValues) {
    ToolRegistry<Record> registry;
    registry.AddTool(0xFFFFFFFF00000000ull, CString(u"high"));
    registry.AddTool(0x80000000ull, CString(u"middle"));
    registry.AddTool(1, CString(u"low"));
    std::vector<uint64_t> keys;
    registry.ForEach([&keys](uint64_t key, Record&) { keys.push_back(key); });
    EXPECT_EQ(keys, (std::vector<uint64_t>{1, 0x80000000ull, 0xFFFFFFFF00000000ull}));
    EXPECT_EQ(registry.Find(0xFFFFFFFF00000000ull)->text, u"high");
}

}  // namespace
