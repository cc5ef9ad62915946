// The supported-system decision: as a table, in this process, and in child processes that
// Wine runs as different Windows versions through their own per-executable setting.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "repair/WindowsVersion.h"

namespace {

std::wstring TestFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// Wine's Windows version for one executable name, put back as it was when the test ends.
class CAppVersionSetting
{
public:
    explicit CAppVersionSetting(const std::wstring& exeName)
        : m_keyPath(L"Software\\Wine\\AppDefaults\\" + exeName)
    {
        DWORD disposition = 0;
        RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key, &disposition);
        m_bCreatedKey = disposition == REG_CREATED_NEW_KEY;
        wchar_t old[64];
        DWORD size = sizeof old;
        DWORD type = 0;
        m_bHadValue = m_key && RegQueryValueExW(m_key, L"Version", nullptr, &type,
                                                reinterpret_cast<BYTE*>(old), &size) ==
                                   ERROR_SUCCESS && type == REG_SZ;
        if (m_bHadValue)
            m_oldValue.assign(old, size / sizeof(wchar_t) - 1);
    }

    ~CAppVersionSetting()
    {
        if (!m_key)
            return;
        if (m_bHadValue)
            Set(m_oldValue);
        else
            RegDeleteValueW(m_key, L"Version");
        RegCloseKey(m_key);
        if (m_bCreatedKey)
            RegDeleteKeyW(HKEY_CURRENT_USER, m_keyPath.c_str());
    }

    bool Set(const std::wstring& version)
    {
        return m_key &&
               RegSetValueExW(m_key, L"Version", 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(version.c_str()),
                              static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t))) ==
                   ERROR_SUCCESS;
    }

private:
    std::wstring m_keyPath;
    HKEY m_key = nullptr;
    bool m_bCreatedKey = false;
    bool m_bHadValue = false;
    std::wstring m_oldValue;
};

// The probe's one line of output, or "" when it could not be run.
std::string RunProbe(const std::wstring& exeName)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return std::string();
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::wstring program = TestFolder() + L"\\" + exeName;
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                                  CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started)
    {
        char buffer[256];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
            output.append(buffer, read);
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return output;
}

} // namespace

TEST(SupportedWindows, OnlyVersionTenPointZeroIsSupported)
{
    EXPECT_TRUE(IsSupportedVersion(10, 0));
    const DWORD rejected[][2] = {{5, 0}, {5, 1}, {5, 2}, {6, 0}, {6, 1}, {6, 2}, {6, 3},
                                 {0, 0}, {4, 0}, {4, 10}, {6, 4}, {10, 1}, {11, 0}, {0, 10},
                                 {0xFFFFFFFF, 0}, {10, 0xFFFFFFFF}};
    for (const auto& pair : rejected)
        EXPECT_FALSE(IsSupportedVersion(pair[0], pair[1])) << pair[0] << "." << pair[1];
}

TEST(SupportedWindows, EnvironmentBlockHoldsTheSystemsOwnVersion)
{
    // The kernel's own report does not depend on the manifest: the fields must agree with it.
    typedef LONG(WINAPI * RtlGetVersionFn)(OSVERSIONINFOW*);
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion"));
    ASSERT_NE(nullptr, rtlGetVersion);
    OSVERSIONINFOW system = {};
    system.dwOSVersionInfoSize = sizeof system;
    ASSERT_EQ(0, rtlGetVersion(&system));

    DWORD major = 0;
    DWORD minor = 0;
    ReadPebVersion(&major, &minor);
    EXPECT_EQ(system.dwMajorVersion, major);
    EXPECT_EQ(system.dwMinorVersion, minor);
}

TEST(SupportedWindows, DecisionFollowsTheSystemWineIsSetToBe)
{
    // What each probe reports; only the probe that declares Windows 10 is told 10.0 by the query.
    struct Case
    {
        const wchar_t* setting;
        const char* plainProbe;
        const char* declaringProbe;
    };
    const Case cases[] = {
        {L"win10", "peb=10.0 query=6.2 supported=1\n", "peb=10.0 query=10.0 supported=1\n"},
        {L"win81", "peb=6.3 query=6.2 supported=0\n", "peb=6.3 query=6.2 supported=0\n"},
        {L"win8", "peb=6.2 query=6.2 supported=0\n", "peb=6.2 query=6.2 supported=0\n"},
        {L"win7", "peb=6.1 query=6.1 supported=0\n", "peb=6.1 query=6.1 supported=0\n"},
        {L"winxp", "peb=5.1 query=5.1 supported=0\n", "peb=5.1 query=5.1 supported=0\n"},
    };
    CAppVersionSetting plainProbe(L"version-probe.exe");
    CAppVersionSetting declaringProbe(L"version-probe-win10.exe");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.setting)));
        ASSERT_TRUE(plainProbe.Set(c.setting));
        ASSERT_TRUE(declaringProbe.Set(c.setting));
        EXPECT_EQ(c.plainProbe, RunProbe(L"version-probe.exe"));
        EXPECT_EQ(c.declaringProbe, RunProbe(L"version-probe-win10.exe"));
    }
}

TEST(SupportedWindows, AVersionQueryThatReportsLessDoesNotChangeTheDecision)
{
    CAppVersionSetting probe(L"version-probe.exe");
    CAppVersionSetting declaringProbe(L"version-probe-win10.exe");
    ASSERT_TRUE(probe.Set(L"win10"));
    ASSERT_TRUE(declaringProbe.Set(L"win10"));
    // Without Windows 10 in its manifest the query tells the probe it runs on Windows 8.
    EXPECT_EQ("peb=10.0 query=6.2 supported=1\n", RunProbe(L"version-probe.exe"));
    EXPECT_EQ("peb=10.0 query=10.0 supported=1\n", RunProbe(L"version-probe-win10.exe"));
}
