// The scale factor as a new process computes it from the display resolution set per user.
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

bool SetLogPixels(DWORD dpi)
{
    HKEY key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

DWORD RunProbe(const wchar_t* argument)
{
    std::wstring command = L"\"" + guitest::ProgramFolder() + L"skin_dpi_probe.exe\" " + argument;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return 0xFFFFFFFF;
    ::WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 0xFFFFFFFF;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

float AsFloat(DWORD bits)
{
    float value;
    memcpy(&value, &bits, sizeof(value));
    return value;
}

class ScreenDpi : public ::testing::Test {
protected:
    void TearDown() override { SetLogPixels(96); }
};

}  // namespace

TEST_F(ScreenDpi, ScaleAtEachResolution)
{
    struct Case {
        DWORD dpi;
        float scale;
    };
    const Case cases[] = {{96, 1.0f}, {100, 1.0f}, {101, 1.01f}, {120, 1.2f}, {144, 1.44f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        ASSERT_TRUE(SetLogPixels(c.dpi));
        ASSERT_EQ(RunProbe(L"dpi"), c.dpi) << "the new process sees the resolution";
        EXPECT_EQ(AsFloat(RunProbe(L"scale")), c.scale);
    }
}
