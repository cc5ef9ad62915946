// The nine functions of the feedback library, standing in for the maker's service: no network,
// every call journalled, pages opened through the shell unless the configuration says otherwise.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "CallBlock.h"
#include "DottedVersion.h"
#include "Journal.h"
#include "StandinConfig.h"

namespace {

// GetToolIsNewVersion's answers.
enum
{
    VERSION_UNKNOWN = 0,  // no published version for the tool, or a text that is not a version
    VERSION_CURRENT = 1,
    VERSION_AHEAD = 2,    // the caller is newer than the published version
    VERSION_NEWER = 3,    // a newer version is published: the caller must update
};

// The tool the last version question was about; OpenToolDownUrl opens its download.
std::wstring g_lastToolId;

std::wstring LibraryFolder()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&LibraryFolder), &self);
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        DWORD length = GetModuleFileNameW(self, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size())
        {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// Read at every call, so that a change of the file takes effect without a restart.
StandinConfig CurrentConfig()
{
    return LoadStandinConfig(LibraryFolder());
}

int Report(const StandinConfig& config, const char* function, const CJournalLine& line, int answer)
{
#ifdef STANDIN_RECORDING
    // The recording build answers what the test configured, to show answers pass through.
    std::wstring name(function, function + strlen(function));
    auto configured = config.answers.find(name);
    if (configured != config.answers.end())
        answer = configured->second;
#else
    (void)function;
#endif
    AppendToJournal(config.journalPath, line.Finish(answer));
    return answer;
}

std::wstring DefaultPage(const StandinConfig& config, const wchar_t* path)
{
    return L"https://" + config.host + path;
}

std::wstring HomePage(const StandinConfig& config)
{
    return config.homePage.empty() ? DefaultPage(config, L"/") : config.homePage;
}

// Percent-encodes everything but unreserved characters, so a value cannot change the address.
std::wstring EncodeQueryValue(const wchar_t* value)
{
    std::wstring out;
    for (const wchar_t* p = value; *p; ++p)
    {
        wchar_t c = *p;
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
            c == L'-' || c == L'.' || c == L'_' || c == L'~')
        {
            out += c;
            continue;
        }
        char utf8[8];
        int length = WideCharToMultiByte(CP_UTF8, 0, p, 1, utf8, sizeof utf8, nullptr, nullptr);
        for (int i = 0; i < length; ++i)
        {
            wchar_t escape[4];
            swprintf(escape, 4, L"%%%02X", static_cast<unsigned char>(utf8[i]));
            out += escape;
        }
    }
    return out;
}

bool IsWebAddress(const wchar_t* url)
{
    return url && (_wcsnicmp(url, L"https://", 8) == 0 || _wcsnicmp(url, L"http://", 7) == 0) &&
           !wcspbrk(url, L"\r\n\"");
}

// Only web addresses: the shell would just as well start a program named by any other text.
int OpenPage(const StandinConfig& config, const wchar_t* url)
{
    if (!IsWebAddress(url))
        return 0;
    if (config.recordOnly)
        return 1;
    HINSTANCE result = ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? 1 : 0;
}

bool HasText(const wchar_t* text)
{
    return text && *text;
}

int CompareWithPublished(const StandinConfig& config, const wchar_t* toolId, const wchar_t* version)
{
    auto published = config.newestVersion.find(toolId);
    int order = 0;
    if (published == config.newestVersion.end() ||
        !CompareDottedVersions(published->second.c_str(), version, &order))
        return VERSION_UNKNOWN;
    if (order > 0)
        return VERSION_NEWER;
    return order == 0 ? VERSION_CURRENT : VERSION_AHEAD;
}

} // namespace

extern "C" {

int __cdecl InitFreedbackDll()
{
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "InitFreedbackDll");
    return Report(config, "InitFreedbackDll", CJournalLine("InitFreedbackDll"),
                  config.initFails ? 0 : 1);
}

int __cdecl FeedbackQuestion(const wchar_t* toolId, const wchar_t* version)
{
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "FeedbackQuestion");
    int answer = 0;
    if (HasText(toolId) && HasText(version))
    {
        std::wstring page = config.feedbackPage.empty() ? DefaultPage(config, L"/feedback")
                                                        : config.feedbackPage;
        page += L"?tool=" + EncodeQueryValue(toolId) + L"&version=" + EncodeQueryValue(version);
        answer = OpenPage(config, page.c_str());
    }
    return Report(config, "FeedbackQuestion",
                  CJournalLine("FeedbackQuestion").Text(toolId).Text(version), answer);
}

int __cdecl OpenUrl(const wchar_t* url)
{
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "OpenUrl");
    return Report(config, "OpenUrl", CJournalLine("OpenUrl").Text(url), OpenPage(config, url));
}

int __cdecl GetInterNetState()
{
    // Everything this library does is local, so the service is always reachable.
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "GetInterNetState");
    return Report(config, "GetInterNetState", CJournalLine("GetInterNetState"), 1);
}

int __cdecl CustomerFeedback(const wchar_t* toolId, const wchar_t* version, int resultCode)
{
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "CustomerFeedback");
    int answer = HasText(toolId) && HasText(version) ? 1 : 0;
    return Report(config, "CustomerFeedback",
                  CJournalLine("CustomerFeedback").Text(toolId).Text(version).Number(resultCode),
                  answer);
}

int __cdecl CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* version, int resultCode,
                               const wchar_t* timeText)
{
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "CustomerFeedbackEx");
    int answer = HasText(toolId) && HasText(version) && timeText ? 1 : 0;
    return Report(config, "CustomerFeedbackEx",
                  CJournalLine("CustomerFeedbackEx")
                      .Text(toolId)
                      .Text(version)
                      .Number(resultCode)
                      .Text(timeText),
                  answer);
}

int __cdecl WriteCustomerFeedbackInfoFile(const wchar_t* toolId, const wchar_t* version,
                                          int resultCode, const wchar_t* timeText)
{
    // The journal is this library's feedback file.
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "WriteCustomerFeedbackInfoFile");
    int answer = HasText(toolId) && HasText(version) && timeText ? 1 : 0;
    return Report(config, "WriteCustomerFeedbackInfoFile",
                  CJournalLine("WriteCustomerFeedbackInfoFile")
                      .Text(toolId)
                      .Text(version)
                      .Number(resultCode)
                      .Text(timeText),
                  answer);
}

int __cdecl GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* version)
{
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "GetToolIsNewVersion");
    int answer = VERSION_UNKNOWN;
    if (HasText(toolId))
    {
        g_lastToolId = toolId;
        if (version)
            answer = CompareWithPublished(config, toolId, version);
    }
    return Report(config, "GetToolIsNewVersion",
                  CJournalLine("GetToolIsNewVersion").Text(toolId).Text(version), answer);
}

int __cdecl OpenToolDownUrl()
{
    StandinConfig config = CurrentConfig();
    WaitWhileBlocked(config, "OpenToolDownUrl");
    std::wstring page = HomePage(config);
    if (!g_lastToolId.empty())
    {
        auto configured = config.downloadPage.find(g_lastToolId);
        page = configured != config.downloadPage.end()
                   ? configured->second
                   : DefaultPage(config, L"/download/") + EncodeQueryValue(g_lastToolId.c_str());
    }
    return Report(config, "OpenToolDownUrl", CJournalLine("OpenToolDownUrl"),
                  OpenPage(config, page.c_str()));
}

} // extern "C"
