// CFeedbackDll against builds of the stand-in library placed beside a probe program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProbeFolder.h"

namespace {

const std::string kJournalConfig = "[service]\nrecord_only = 1\njournal = journal.txt\n";

// Every used member once, after the given first command.
std::vector<std::wstring> EveryMemberAfter(const std::wstring& first)
{
    return {first, L"init", L"question", L"10056", L"1.0.4", L"url", L"https://example.test/a",
            L"feedbackex", L"10056", L"1.0.4", L"1", L"1700000000", L"newversion", L"10056",
            L"1.0.4", L"download"};
}

const char kAllZero[] = "init=0\nquestion=0\nurl=0\nfeedbackex=0\nnewversion=0\ndownload=0\ndone\n";

} // namespace

TEST(FeedbackBinding, WithoutTheLibraryLoadFailsAndEveryMemberAnswersZero)
{
    CProbeFolder folder(L"no-library");
    EXPECT_EQ("load=0\n" + std::string(kAllZero), folder.Run(EveryMemberAfter(L"load")));
}

TEST(FeedbackBinding, MembersCalledBeforeLoadAnswerZeroWithoutCallingTheLibrary)
{
    CProbeFolder folder(L"before-load");
    ASSERT_TRUE(folder.AddLibrary());
    ASSERT_TRUE(folder.WriteConfig(kJournalConfig));
    std::vector<std::wstring> calls = EveryMemberAfter(L"module");
    EXPECT_EQ("module=none\n" + std::string(kAllZero), folder.Run(calls));
    EXPECT_FALSE(FileExists(folder.Path() + L"\\journal.txt"));
}

TEST(FeedbackBinding, EachMissingExportFailsTheLoadAndLeavesTheBindingUnusable)
{
    for (int omitted = 1; omitted <= 9; ++omitted)
    {
        SCOPED_TRACE("export " + std::to_string(omitted) + " left out");
        std::wstring variant = L"omit-" + std::to_wstring(omitted);
        CProbeFolder folder(variant);
        ASSERT_TRUE(folder.AddLibrary(variant));
        ASSERT_TRUE(folder.WriteConfig(kJournalConfig));
        EXPECT_EQ("load=0\n" + std::string(kAllZero), folder.Run(EveryMemberAfter(L"load")));
        // The exports that were found must not be called through either.
        EXPECT_EQ("", folder.Journal());
    }
}

TEST(FeedbackBinding, LoadsTheLibraryBesideTheExecutableWhateverItsFolderIsCalled)
{
    CProbeFolder folder(L"带 空格 的 folder");
    ASSERT_TRUE(folder.AddLibrary());
    ASSERT_TRUE(folder.WriteConfig(kJournalConfig));
    std::string report = folder.Run({L"load", L"init", L"module"});
    std::string expectedModule;
    {
        std::wstring path = folder.Path() + L"\\HalvexFeedbackInformation.dll";
        int length = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
        expectedModule.resize(length - 1);
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, &expectedModule[0], length, nullptr,
                            nullptr);
    }
    EXPECT_EQ("load=1\ninit=1\nmodule=" + expectedModule + "\ndone\n", report);
    EXPECT_EQ("InitFreedbackDll() = 1\r\n", folder.Journal());
}

TEST(FeedbackBinding, TheCheckStartedWithTheProcessDecidesTheLoadAndHoldsTheFileUntilIt)
{
    // After the early verdict another library is moved into the library's place.
    struct Case
    {
        const wchar_t* library;  // as AddLibrary names the builds
        const wchar_t* movedIn;
        std::string verdict;
        bool held;
    };
    const Case cases[] = {
        {L"", L"marked-other-signer", "trusted", true},
        {L"marked-other-signer", L"", "signer-not-pinned", false},
    };
    int round = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE("round " + std::to_string(round));
        CProbeFolder folder(L"早 检查 " + std::to_wstring(round));
        CProbeFolder aside(L"aside-" + std::to_wstring(round++));
        ASSERT_TRUE(folder.AddLibrary(c.library));
        ASSERT_TRUE(folder.WriteConfig(kJournalConfig));
        ASSERT_TRUE(aside.AddLibrary(c.movedIn));
        std::string report = folder.Run({L"start-check", L"verdict", L"replace",
                                         aside.Path() + L"\\HalvexFeedbackInformation.dll", L"load",
                                         L"init"});
        // Held, the checked file stays and is the one loaded; not held, nothing loads, whatever
        // lies there now: the verdict was on the file that was there.
        EXPECT_EQ("verdict=" + c.verdict + (c.held ? "\nreplace=0\nload=1\ninit=1\ndone\n"
                                                    : "\nreplace=1\nload=0\ninit=0\ndone\n"),
                  report);
        EXPECT_EQ(c.held ? "InitFreedbackDll() = 1\r\n" : "", folder.Journal());
    }
}

TEST(FeedbackBinding, ALibraryOfTheSameNameElsewhereIsNeverLoaded)
{
    // A complete library in the current folder and at the front of the PATH, none beside the probe.
    CProbeFolder planted(L"planted");
    ASSERT_TRUE(planted.AddLibrary());
    ASSERT_TRUE(planted.WriteConfig(kJournalConfig));
    CProbeFolder folder(L"beside-nothing");
    std::string report =
        folder.Run({L"load", L"init", L"module"}, planted.Path(), planted.Path());
    EXPECT_EQ("load=0\ninit=0\nmodule=none\ndone\n", report);
    EXPECT_FALSE(FileExists(planted.Path() + L"\\journal.txt"));
}

TEST(FeedbackBinding, MembersPassArgumentsThroughAndReturnTheLibrarysAnswer)
{
    struct Answers
    {
        int init, question, url, feedbackEx, newVersion, download;
    };
    // Two sets, so that no answer can be a constant of the binding.
    const Answers sets[] = {{7, -5, 123456, 42, 3, 2147483647}, {0, 1, -2147483647 - 1, 9, 2, -1}};
    int round = 0;
    for (const Answers& a : sets)
    {
        SCOPED_TRACE("round " + std::to_string(round));
        CProbeFolder folder(L"recording-" + std::to_wstring(round++));
        ASSERT_TRUE(folder.AddLibrary(L"recording"));
        std::string config = kJournalConfig + "[answers]\n" +
                             "InitFreedbackDll = " + std::to_string(a.init) + "\n" +
                             "FeedbackQuestion = " + std::to_string(a.question) + "\n" +
                             "OpenUrl = " + std::to_string(a.url) + "\n" +
                             "CustomerFeedbackEx = " + std::to_string(a.feedbackEx) + "\n" +
                             "GetToolIsNewVersion = " + std::to_string(a.newVersion) + "\n" +
                             "OpenToolDownUrl = " + std::to_string(a.download) + "\n";
        ASSERT_TRUE(folder.WriteConfig(config));

        std::string report = folder.Run({L"load", L"init",
                                         L"question", L"工具 \"甲\"", L"2.0\\beta",
                                         L"url", L"https://kb.example/路径?q=a b&x=\"y\"",
                                         L"feedbackex", L"10056", L"", L"-3", L"-1",
                                         L"newversion", L"10056", L"1.0.4",
                                         L"download"});
        EXPECT_EQ("load=1\ninit=" + std::to_string(a.init) +
                      "\nquestion=" + std::to_string(a.question) +
                      "\nurl=" + std::to_string(a.url) +
                      "\nfeedbackex=" + std::to_string(a.feedbackEx) +
                      "\nnewversion=" + std::to_string(a.newVersion) +
                      "\ndownload=" + std::to_string(a.download) + "\ndone\n",
                  report);
        EXPECT_EQ("InitFreedbackDll() = " + std::to_string(a.init) + "\r\n" +
                      "FeedbackQuestion(\"工具 \\\"甲\\\"\", \"2.0\\\\beta\") = " +
                      std::to_string(a.question) + "\r\n" +
                      "OpenUrl(\"https://kb.example/路径?q=a b&x=\\\"y\\\"\") = " +
                      std::to_string(a.url) + "\r\n" +
                      "CustomerFeedbackEx(\"10056\", \"\", -3, \"-1\") = " +
                      std::to_string(a.feedbackEx) + "\r\n" +
                      "GetToolIsNewVersion(\"10056\", \"1.0.4\") = " +
                      std::to_string(a.newVersion) + "\r\n" +
                      "OpenToolDownUrl() = " + std::to_string(a.download) + "\r\n",
                  folder.Journal());
    }
}
