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
    EXPECT_EQ(registry.Find(43), nullptr);
    // Handles that differ only above bit 31 are different tools.
    registry.AddTool(0x100000000ull + 42, CString(u"high"));
    EXPECT_EQ(registry.GetCount(), 2);
    EXPECT_EQ(registry.Find(42)->text, u"second");
}

}  // namespace
