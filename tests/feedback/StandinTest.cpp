// The delivered stand-in library, driven through CFeedbackDll as the tool drives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProbeFolder.h"

namespace {

const std::string kJournalConfig = "[service]\nrecord_only = 1\njournal = journal.txt\n";

} // namespace

TEST(StandinLibrary, InitialisationFailsOnlyWhenConfiguredTo)
{
    struct Case
    {
        const char* config;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "load=1\ninit=1\ndone\n"},
        {"[service]\ninit = fail\n", "load=1\ninit=0\ndone\n"},
        {"[Service]\r\n  INIT =  FAIL  \r\n", "load=1\ninit=0\ndone\n"},
        {"[service]\ninit = ok\n", "load=1\ninit=1\ndone\n"},
        {"[newest]\ninit = fail\n", "load=1\ninit=1\ndone\n"},
    };
    int index = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.config ? c.config : "no configuration");
        CProbeFolder folder(L"init-" + std::to_wstring(index++));
        ASSERT_TRUE(folder.AddLibrary());
        if (c.config)
        {
            ASSERT_TRUE(folder.WriteConfig(c.config));
        }
        EXPECT_EQ(c.expected, folder.Run({L"load", L"init"}));
    }
}

TEST(StandinLibrary, NewVersionAnswerComparesDottedNumbers)
{
    CProbeFolder folder(L"versions");
    ASSERT_TRUE(folder.AddLibrary());
    ASSERT_TRUE(folder.WriteConfig("[newest]\n"
                                   "10056 = 1.0.4\n"
                                   "tens = 1.0.10\n"
                                   "longer = 1.0.4.1\n"
                                   "padded = 1.0.4.0\n"
                                   "huge = 99999999999999999999999.0\n"
                                   "broken = 1.0.x\n"
                                   "empty =\n"));
    struct Case
    {
        const wchar_t* tool;
        const wchar_t* version;
        int expected;
    };
    const Case cases[] = {
        {L"10056", L"1.0.4", 1},    // equal
        {L"10056", L"1.0.3", 3},    // older than published
        {L"10056", L"1.0.5", 2},    // newer than published
        {L"10056", L"1.0", 3},      // shorter, so older
        {L"10056", L"1.0.4.0", 1},  // trailing zero
        {L"10056", L"1.0.4.1", 2},  // longer, so newer
        {L"tens", L"1.0.4", 3},     // 10 is more than 4
        {L"tens", L"1.0.9", 3},
        {L"tens", L"1.0.10", 1},
        {L"longer", L"1.0.4", 3},
        {L"padded", L"1.0.4", 1},
        {L"huge", L"1.0.4", 3},
        {L"10056", L"1.0.04", 1},   // leading zero
        {L"10056", L"", 0},         // malformed given versions
        {L"10056", L"1..4", 0},
        {L"10056", L"1.0.4.", 0},
        {L"10056", L"v1.0.4", 0},
        {L"10056", L" 1.0.4", 0},
        {L"10056", L"-1.0.4", 0},
        {L"broken", L"1.0.4", 0},   // malformed published versions
        {L"empty", L"1.0.4", 0},
        {L"unknown", L"1.0.4", 0},  // nothing published
    };
    std::vector<std::wstring> arguments = {L"load"};
    std::string expected = "load=1\n";
    for (const Case& c : cases)
    {
        arguments.insert(arguments.end(), {L"newversion", c.tool, c.version});
        expected += "newversion=" + std::to_string(c.expected) + "\n";
    }
    EXPECT_EQ(expected + "done\n", folder.Run(arguments));
}

TEST(StandinLibrary, JournalHoldsEachCallOnceWithItsExactArguments)
{
    CProbeFolder folder(L"journal");
    ASSERT_TRUE(folder.AddLibrary());
    ASSERT_TRUE(folder.WriteConfig(kJournalConfig + "[newest]\n10056 = 1.0.5\n"));
    std::string report = folder.Run({L"load", L"init",
                                     L"newversion", L"10056", L"1.0.4",
                                     L"download",
                                     L"question", L"10056", L"1.0.4",
                                     L"url", L"https://kb.halvex.example/detail/dc_172545.html",
                                     L"url", L"C:\\windows\\system32\\calc.exe",
                                     L"feedbackex", L"10056", L"1.0.4", L"1", L"1700000000",
                                     L"feedbackex", L"10056", L"1.0.4", L"3", L"键盘\t\"x\"",
                                     L"init"});
    EXPECT_EQ("load=1\ninit=1\nnewversion=3\ndownload=1\nquestion=1\nurl=1\nurl=0\n"
              "feedbackex=1\nfeedbackex=1\ninit=1\ndone\n",
              report);
    EXPECT_EQ("InitFreedbackDll() = 1\r\n"
              "GetToolIsNewVersion(\"10056\", \"1.0.4\") = 3\r\n"
              "OpenToolDownUrl() = 1\r\n"
              "FeedbackQuestion(\"10056\", \"1.0.4\") = 1\r\n"
              "OpenUrl(\"https://kb.halvex.example/detail/dc_172545.html\") = 1\r\n"
              "OpenUrl(\"C:\\\\windows\\\\system32\\\\calc.exe\") = 0\r\n"
              "CustomerFeedbackEx(\"10056\", \"1.0.4\", 1, \"1700000000\") = 1\r\n"
              "CustomerFeedbackEx(\"10056\", \"1.0.4\", 3, \"\xE9\x94\xAE\xE7\x9B\x98\\t\\\"x\\\"\") = 1\r\n"
              "InitFreedbackDll() = 1\r\n",
              folder.Journal());
}

TEST(StandinLibrary, BadConfigurationLeavesAWorkingLibraryWithNoNewerVersion)
{
    std::string oversized = "[service]\ninit = fail\n[newest]\n10056 = 9.9\n";
    oversized += "; " + std::string(70 * 1024, 'x') + "\n";
    std::string utf16 = std::string("\xFF\xFE", 2);
    for (char c : std::string("[service]\r\ninit = fail\r\n[newest]\r\n10056 = 9.9\r\n"))
        utf16 += std::string(1, c) + std::string(1, '\0');
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) & 0xFF);
    const std::string configs[] = {
        binary,
        oversized,
        utf16,
        "[newest\n10056 = 9.9\n",                         // unterminated section: not [newest]
        "[newest]\n10056 9.9\n= 9.9\n10056 = banana\n",   // no '=', no key, no version
        "[newest]\n10056 = 1.0.4" + std::string(300, '0') + "\n",  // absurdly long
        "[newest]\n10056 = \xC0\xAF.1\n",                 // invalid UTF-8
        "[service]\njournal = Q:\\no\\such\\folder\\j.txt\n",      // journal cannot be written
        std::string("[newest]\n10056 = 9\0.9\n", 20),
    };
    int index = 0;
    for (const std::string& config : configs)
    {
        SCOPED_TRACE("configuration " + std::to_string(index));
        CProbeFolder folder(L"bad-config-" + std::to_wstring(index++));
        ASSERT_TRUE(folder.AddLibrary());
        ASSERT_TRUE(folder.WriteConfig(config));
        std::string report = folder.Run({L"load", L"init", L"newversion", L"10056", L"1.0.4"});
        EXPECT_EQ("load=1\ninit=1\nnewversion=0\ndone\n", report);
    }

    // A configuration that cannot be read at all.
    CProbeFolder folder(L"bad-config-folder");
    ASSERT_TRUE(folder.AddLibrary());
    ASSERT_TRUE(CreateDirectoryW((folder.Path() + L"\\HalvexFeedbackInformation.ini").c_str(), nullptr));
    EXPECT_EQ("load=1\ninit=1\nnewversion=0\ndone\n",
              folder.Run({L"load", L"init", L"newversion", L"10056", L"1.0.4"}));
}
