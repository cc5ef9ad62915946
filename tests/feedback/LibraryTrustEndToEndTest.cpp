// The real tool's start-up with each kind of file in the feedback library's place. Every
// stand-in here marks its DllMain and imports winhttp.dll; a fake winhttp.dll lies beside the
// tool and Wine is told to prefer native ones, so a dependency taken from the tool's folder
// would show.
#include "PlantedFiles.h"
#include "SigningFacts.h"
#include "ToolWindows.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kLibrary[] = L"HalvexFeedbackInformation.dll";
const wchar_t kStandinMark[] = L"standin-loaded.txt";
const wchar_t kPlantMark[] = L"winhttp-loaded.txt";

enum class Placement { Copy, OneByteChanged, Link, Folder };

struct TrustCase {
    const char* name;
    const wchar_t* variant;  // under standin-variants/
    Placement placement;
    bool starts;
};

// Wine's own winhttp unless a native one is found first: the one beside the program, if its
// folder is searched. Set per program in the registry, as Wine reads no WINEDLLOVERRIDES that
// a Windows parent puts in a child's environment.
ToolOptions NativeWinHttpFirst()
{
    ToolOptions options;
    options.dllOverridden = L"winhttp";
    options.dllOverrides = L"native,builtin";
    return options;
}

// Places the library as the case says; elsewhere is a folder of the run outside the tool's.
bool PlaceLibrary(const TrustCase& c, const std::wstring& folder, const std::wstring& elsewhere)
{
    std::wstring build = BuildPath(std::wstring(L"standin-variants\\") + c.variant + L"\\" + kLibrary);
    std::wstring place = folder + L"\\" + kLibrary;
    switch (c.placement) {
    case Placement::Copy:
        return ::CopyFileW(build.c_str(), place.c_str(), FALSE) != FALSE;
    case Placement::OneByteChanged:
        return CopyWithOneByteChanged(build, place);
    case Placement::Link:
        return ::CreateDirectoryW(elsewhere.c_str(), nullptr) &&
               ::CopyFileW(build.c_str(), (elsewhere + L"\\" + kLibrary).c_str(), FALSE) &&
               MakeSymbolicLink(elsewhere + L"\\" + kLibrary, place);
    case Placement::Folder:
        return ::CreateDirectoryW(place.c_str(), nullptr) != FALSE;
    }
    return false;
}

} // namespace

TEST(LibraryTrustEndToEnd, OnlyALibrarySignedWithAPinnedKeyLoadsAndItsImportsComeFromTheSystemFolder)
{
    const TrustCase cases[] = {
        {"signed with the pinned key", L"marked", Placement::Copy, TEST_SIGNER_PINNED != 0},
        {"unsigned", L"marked-unsigned", Placement::Copy, false},
        {"signed with another key", L"marked-other-signer", Placement::Copy, false},
        {"signed, then one byte changed", L"marked", Placement::OneByteChanged, false},
        {"a link to the signed library", L"marked", Placement::Link, false},
        {"a folder", L"marked", Placement::Folder, false},
    };
    for (const TrustCase& c : cases) {
        SCOPED_TRACE(c.name);
        ToolOptions options = NativeWinHttpFirst();
        options.library.clear();
        CToolRun tool(L"Downloads", options);
        const std::wstring elsewhere = tool.Folder() + L"-elsewhere";
        ASSERT_TRUE(PlaceLibrary(c, tool.Folder(), elsewhere));
        ASSERT_TRUE(::CopyFileW(BuildPath(L"testprogs\\fakewinhttp\\winhttp.dll").c_str(),
                                (tool.Folder() + L"\\winhttp.dll").c_str(), FALSE));
        ASSERT_TRUE(tool.Start());

        if (c.starts) {
            // As today: the library is initialised, asked about a newer version, the notice shows.
            ASSERT_TRUE(WaitPrompt(tool, kNotice, 30000));
            std::vector<std::string> journal = tool.FeedbackJournal();
            ASSERT_GE(journal.size(), 2u);
            EXPECT_EQ(journal[0], "InitFreedbackDll() = 1");
            EXPECT_EQ(journal[1], "GetToolIsNewVersion(\"10056\", \"1.0.4\") = 0");
            EXPECT_TRUE(FileExists(tool.Folder() + L"\\" + kStandinMark));
        } else {
            HWND prompt = WaitPrompt(tool, kInitFailed, 30000);
            ASSERT_TRUE(prompt);
            ASSERT_TRUE(ClosePrompt(tool, prompt));
            EXPECT_EQ(tool.WaitExit(30000), 0u);
            EXPECT_TRUE(tool.FeedbackJournal().empty());
            EXPECT_FALSE(FileExists(tool.Folder() + L"\\" + kStandinMark));
            EXPECT_FALSE(FileExists(elsewhere + L"\\" + kStandinMark));
        }
        // Its dependency came from the system folder, whichever way it went.
        EXPECT_FALSE(FileExists(tool.Folder() + L"\\" + kPlantMark));
        if (c.placement == Placement::Link) {
            EXPECT_TRUE(RemoveSymbolicLink(tool.Folder() + L"\\" + kLibrary));
        }
    }
}

TEST(LibraryTrustEndToEnd, ThePlantedWinHttpIsTakenByAProgramThatSearchesItsOwnFolder)
{
    // The same plant, override and folder load into a program that asks for winhttp.dll by its
    // name: so the absent mark above means the tool did not search its folder.
    ToolOptions options = NativeWinHttpFirst();
    CToolRun tool(L"Downloads", options);
    ASSERT_TRUE(::CopyFileW(BuildPath(L"testprogs\\fakewinhttp\\winhttp.dll").c_str(),
                            (tool.Folder() + L"\\winhttp.dll").c_str(), FALSE));
    EXPECT_TRUE(LoadByNameFrom(tool.Folder(), L"winhttp.dll"));
    EXPECT_TRUE(FileExists(tool.Folder() + L"\\" + kPlantMark));
}
