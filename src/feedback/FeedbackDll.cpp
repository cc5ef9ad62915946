#include "feedback/FeedbackDll.h"

#include "feedback/FeedbackLibraryCheck.h"

#include <string>

namespace {

template <typename T>
bool Resolve(HMODULE module, const char* name, T& function)
{
    function = reinterpret_cast<T>(GetProcAddress(module, name));
    return function != nullptr;
}

} // namespace

CFeedbackDll::CFeedbackDll() : m_hModule(nullptr)
{
    ClearFunctions();
}

void CFeedbackDll::ClearFunctions()
{
    m_pfnInitFreedbackDll = nullptr;
    m_pfnFeedbackQuestion = nullptr;
    m_pfnOpenUrl = nullptr;
    m_pfnGetInterNetState = nullptr;
    m_pfnCustomerFeedback = nullptr;
    m_pfnCustomerFeedbackEx = nullptr;
    m_pfnWriteCustomerFeedbackInfoFile = nullptr;
    m_pfnGetToolIsNewVersion = nullptr;
    m_pfnOpenToolDownUrl = nullptr;
}

int CFeedbackDll::Load()
{
    if (IsLoaded())
        return 1;
    // The verdict of the check started with the process, or of one made now; the file stays
    // held, shared for reading only, until the load has returned: the file that is loaded is
    // the file that was checked. One that fails counts as missing.
    std::wstring path;
    CFileHandle file = TakeCheckedFeedbackLibrary(path);
    if (!file.IsValid())
        return 0;
    // Its own dependencies come from the system folder only: its folder is the user's
    // Downloads, where a planted version.dll or winhttp.dll would run elevated.
    m_hModule = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    file.Reset();
    if (!m_hModule)
        return 0;

    // In table order; the first one missing ends the load. The library stays loaded either way.
    bool complete = Resolve(m_hModule, "InitFreedbackDll", m_pfnInitFreedbackDll) &&
                    Resolve(m_hModule, "FeedbackQuestion", m_pfnFeedbackQuestion) &&
                    Resolve(m_hModule, "OpenUrl", m_pfnOpenUrl) &&
                    Resolve(m_hModule, "GetInterNetState", m_pfnGetInterNetState) &&
                    Resolve(m_hModule, "CustomerFeedback", m_pfnCustomerFeedback) &&
                    Resolve(m_hModule, "CustomerFeedbackEx", m_pfnCustomerFeedbackEx) &&
                    Resolve(m_hModule, "WriteCustomerFeedbackInfoFile",
                            m_pfnWriteCustomerFeedbackInfoFile) &&
                    Resolve(m_hModule, "GetToolIsNewVersion", m_pfnGetToolIsNewVersion) &&
                    Resolve(m_hModule, "OpenToolDownUrl", m_pfnOpenToolDownUrl);
    if (!complete)
    {
        // A half-resolved binding would let some calls through to a library we rejected.
        ClearFunctions();
        return 0;
    }
    return 1;
}

int CFeedbackDll::InitFreedbackDll()
{
    return m_pfnInitFreedbackDll ? m_pfnInitFreedbackDll() : 0;
}

int CFeedbackDll::FeedbackQuestion(const wchar_t* toolId, const wchar_t* version)
{
    return m_pfnFeedbackQuestion ? m_pfnFeedbackQuestion(toolId, version) : 0;
}

int CFeedbackDll::OpenUrl(const wchar_t* url)
{
    return m_pfnOpenUrl ? m_pfnOpenUrl(url) : 0;
}

int CFeedbackDll::CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* version, int resultCode,
                                     const wchar_t* timeText)
{
    return m_pfnCustomerFeedbackEx ? m_pfnCustomerFeedbackEx(toolId, version, resultCode, timeText)
                                   : 0;
}

int CFeedbackDll::GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* version)
{
    return m_pfnGetToolIsNewVersion ? m_pfnGetToolIsNewVersion(toolId, version) : 0;
}

int CFeedbackDll::OpenToolDownUrl()
{
    return m_pfnOpenToolDownUrl ? m_pfnOpenToolDownUrl() : 0;
}
