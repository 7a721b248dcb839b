// Makes the store read and write in another code page for the life of the
// object; the system's comes back afterwards.
#pragma once

#include "store/CodePage.h"

#include <gtest/gtest.h>

struct CodePageScope {
    explicit CodePageScope(unsigned codePage) { EXPECT_TRUE(CodePage::Select(codePage)) << codePage; }
    ~CodePageScope() { CodePage::Select(0); }
    CodePageScope(const CodePageScope&) = delete;
    CodePageScope& operator=(const CodePageScope&) = delete;
};
