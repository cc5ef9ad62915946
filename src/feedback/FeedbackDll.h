// Binding of the maker's feedback library that lies beside the executable.
#pragma once

#include <windows.h>

// Answers reported through CustomerFeedbackEx.
enum
{
    FEEDBACK_SOLVED = 1,
    FEEDBACK_UNSOLVED = 2,
    FEEDBACK_CLOSED = 3,
};

// GetToolIsNewVersion's answer when a newer version of the tool must be used.
const int FEEDBACK_NEWER_VERSION = 3;

// Who a tool is to the feedback service: its id and version, as fixed wide texts.
struct ToolIdentity {
    const wchar_t* id;
    const wchar_t* version;
};

class CFeedbackDll
{
public:
    CFeedbackDll();

    // Loads the library from the executable's own folder, when it is a plain file signed by a
    // pinned signer key, and resolves its nine functions.  Waits for the check started with the
    // process (FeedbackLibraryCheck.h), or checks the file itself when none was started.
    // 1 when all are there; 0 otherwise, and then every member below answers 0.
    int Load();
    bool IsLoaded() const { return m_pfnOpenToolDownUrl != nullptr; }

    int InitFreedbackDll();
    int FeedbackQuestion(const wchar_t* toolId, const wchar_t* version);
    int OpenUrl(const wchar_t* url);
    int CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* version, int resultCode,
                           const wchar_t* timeText);
    int GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* version);
    int OpenToolDownUrl();

private:
    typedef int(__cdecl* PFN_NOARGS)();
    typedef int(__cdecl* PFN_TOOL)(const wchar_t* toolId, const wchar_t* version);
    typedef int(__cdecl* PFN_URL)(const wchar_t* url);
    typedef int(__cdecl* PFN_FEEDBACK_EX)(const wchar_t* toolId, const wchar_t* version,
                                          int resultCode, const wchar_t* timeText);

    void ClearFunctions();

    HMODULE m_hModule;
    PFN_NOARGS m_pfnInitFreedbackDll;
    PFN_TOOL m_pfnFeedbackQuestion;
    PFN_URL m_pfnOpenUrl;
    FARPROC m_pfnGetInterNetState;
    FARPROC m_pfnCustomerFeedback;
    PFN_FEEDBACK_EX m_pfnCustomerFeedbackEx;
    FARPROC m_pfnWriteCustomerFeedbackInfoFile;
    PFN_TOOL m_pfnGetToolIsNewVersion;
    PFN_NOARGS m_pfnOpenToolDownUrl;
};
