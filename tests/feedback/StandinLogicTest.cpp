// The stand-in library's own logic as plain functions: versions, configuration, journal lines.
#include <gtest/gtest.h>

#include "DottedVersion.h"
#include "Journal.h"
#include "StandinConfig.h"

namespace {

// The order of a against b, or 99 when they are not both versions.
int Order(const wchar_t* a, const wchar_t* b)
{
    int order = 99;
    if (!CompareDottedVersions(a, b, &order))
        return 99;
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

StandinConfig Parse(const std::string& text)
{
    StandinConfig config;
    ParseStandinConfig(text, L"C:\\tool", config);
    return config;
}

} // namespace

TEST(DottedVersion, ComparesNumbersByValue)
{
    EXPECT_EQ(0, Order(L"1.0.4", L"1.0.4"));
    EXPECT_EQ(-1, Order(L"1.0.4", L"1.0.10"));
    EXPECT_EQ(1, Order(L"1.0.10", L"1.0.9"));
    EXPECT_EQ(1, Order(L"2", L"1.99.99"));
    EXPECT_EQ(0, Order(L"1.0", L"1.0.0.0"));
    EXPECT_EQ(1, Order(L"1.0.4.1", L"1.0.4"));
    EXPECT_EQ(-1, Order(L"1.0.4", L"1.0.4.1"));
    EXPECT_EQ(0, Order(L"007.01", L"7.1"));
    EXPECT_EQ(0, Order(L"0", L"0.0"));
    // Far beyond any integer type.
    EXPECT_EQ(1, Order(L"123456789012345678901234567890", L"123456789012345678901234567889"));
    EXPECT_EQ(-1, Order(L"1.99999999999999999999", L"1.100000000000000000000"));
}

TEST(DottedVersion, RefusesTextsThatAreNotVersions)
{
    const wchar_t* malformed[] = {L"", L".", L"1.", L".1", L"1..0", L"1.0a", L"1,0", L" 1.0",
                                  L"1.0 ", L"+1", L"-1", L"１.０", L"1.0\n"};
    for (const wchar_t* text : malformed)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        EXPECT_EQ(99, Order(text, L"1.0"));
        EXPECT_EQ(99, Order(L"1.0", text));
    }
    EXPECT_EQ(99, Order(nullptr, L"1.0"));
    EXPECT_EQ(99, Order(L"1.0", nullptr));
    EXPECT_EQ(99, Order((L"1." + std::wstring(255, L'0')).c_str(), L"1.0"));
    EXPECT_EQ(0, Order((L"1." + std::wstring(254, L'0')).c_str(), L"1.0"));
    int untouched = 5;
    EXPECT_FALSE(CompareDottedVersions(L"x", L"1", &untouched));
    EXPECT_EQ(5, untouched);
}

TEST(StandinConfiguration, ReadsSectionsKeysAndValues)
{
    StandinConfig config = Parse("\xEF\xBB\xBF; comment\r\n"
                                 "[ Service ]\r\n"
                                 "HOST = support.example\r\n"
                                 "home = https://support.example/start\r\n"
                                 "record_only = yes\r\n"
                                 "journal = logs\\journal.txt\r\n"
                                 "# another comment\n"
                                 "[newest]\n"
                                 "10056 = 1.0.5\n"
                                 "工具 = 2.0\n"
                                 "[download]\n"
                                 "10056 = https://support.example/get?id=10056\n"
                                 "[answers]\n"
                                 "OpenUrl = -17\n"
                                 "InitFreedbackDll = 4294967296\n"
                                 "FeedbackQuestion = 12abc\n");
    EXPECT_EQ(L"support.example", config.host);
    EXPECT_EQ(L"https://support.example/start", config.homePage);
    EXPECT_TRUE(config.recordOnly);
    EXPECT_FALSE(config.initFails);
    EXPECT_EQ(L"C:\\tool\\logs\\journal.txt", config.journalPath);
    EXPECT_EQ(L"1.0.5", config.newestVersion[L"10056"]);
    EXPECT_EQ(L"2.0", config.newestVersion[L"工具"]);
    EXPECT_EQ(L"https://support.example/get?id=10056", config.downloadPage[L"10056"]);
    ASSERT_EQ(1u, config.answers.size());
    EXPECT_EQ(-17, config.answers[L"OpenUrl"]);
}

TEST(StandinConfiguration, SkipsLinesItCannotUse)
{
    StandinConfig config;
    config.host = L"default.example";
    ParseStandinConfig("init = fail\n"                     // outside any section
                       "[service]\n"
                       "host = bad/host\n"
                       "host = \n"
                       "record_only = perhaps\n"
                       "journal = D:\\j.txt\n"
                       "init\n"
                       "= fail\n"
                       "[newest\n"
                       "10056 = 9.9\n"                     // still in [service]
                       "[newest]\n"
                       "\xC0\xAF = 1.0\n"
                       "10057 = \xFF\n",
                       L"C:\\tool", config);
    EXPECT_EQ(L"default.example", config.host);
    EXPECT_FALSE(config.recordOnly);
    EXPECT_FALSE(config.initFails);
    EXPECT_EQ(L"D:\\j.txt", config.journalPath);
    EXPECT_TRUE(config.newestVersion.empty());
}

TEST(StandinConfiguration, HoldsTheExportsNamedUnderBlock)
{
    StandinConfig config = Parse("[BLOCK]\n"
                                 "GetToolIsNewVersion = corvina-release-1\n"
                                 "FeedbackQuestion = \n"
                                 "feedbackquestion = lower-case-is-another-name\n");
    ASSERT_EQ(2u, config.blockUntil.size());
    EXPECT_EQ(L"corvina-release-1", config.blockUntil[L"GetToolIsNewVersion"]);
    EXPECT_EQ(0u, config.blockUntil.count(L"FeedbackQuestion")) << "an empty value holds nothing";
    EXPECT_EQ(L"lower-case-is-another-name", config.blockUntil[L"feedbackquestion"]);
}

TEST(JournalLine, QuotesTextsExactly)
{
    EXPECT_EQ("null", QuoteForJournal(nullptr));
    EXPECT_EQ("\"\"", QuoteForJournal(L""));
    EXPECT_EQ("\"a\\\"b\\\\c\\r\\n\\t\\u0001\\u007F\"", QuoteForJournal(L"a\"b\\c\r\n\t\x01\x7F"));
    EXPECT_EQ("\"\xE4\xB8\xAD\xF0\x9F\x98\x80\"", QuoteForJournal(L"中\xD83D\xDE00"));
    EXPECT_EQ("\"\\uD83Dx\\uDE00\"", QuoteForJournal(L"\xD83Dx\xDE00"));
    EXPECT_EQ("F(\"a\", -7, null) = 3\r\n", CJournalLine("F").Text(L"a").Number(-7).Text(nullptr).Finish(3));
    EXPECT_EQ("G() = 0\r\n", CJournalLine("G").Finish(0));
}
