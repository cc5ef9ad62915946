#include <gtest/gtest.h>

#include "framework/Strings.h"

TEST(Strings, FormatsShortAndLongResultsWhole)
{
    EXPECT_EQ(FormatString(L"%d-%ls", 42, L"xy"), L"42-xy");
    std::wstring longText(5000, L'a');
    EXPECT_EQ(FormatString(L"[%ls]", longText.c_str()), L"[" + longText + L"]");
    EXPECT_EQ(FormatStringA("%02X ", 0xAB), "AB ");
    EXPECT_EQ(FormatStringA("%s", std::string(3000, 'b').c_str()).size(), 3000u);
    EXPECT_EQ(FormatString(L"%ls", L""), L"");
}
