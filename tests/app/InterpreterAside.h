// Takes the prefix's 64-bit command interpreter (the one the tool starts, by full path, with
// file-system redirection off) out of the way for a scope, so that every program start of
// the tool fails, and puts it back when the scope ends, also when a test fails half-way.
// Tests that start the command interpreter must not run meanwhile (their "cmd" lock).
#pragma once

#include <windows.h>

#include <string>

class CInterpreterAside {
public:
    CInterpreterAside()
    {
        wchar_t system[MAX_PATH];
        ::GetSystemDirectoryW(system, MAX_PATH);
        m_interpreter = std::wstring(system) + L"\\cmd.exe";
        m_aside = m_interpreter + L".aside";
        // An earlier run that died half-way left it aside.
        if (!Exists(m_interpreter))
            Move(m_aside, m_interpreter);
        m_bAside = Move(m_interpreter, m_aside);
    }
    ~CInterpreterAside() { Restore(); }
    CInterpreterAside(const CInterpreterAside&) = delete;
    CInterpreterAside& operator=(const CInterpreterAside&) = delete;

    bool IsAside() const { return m_bAside; }
    bool Restore()
    {
        if (m_bAside && Move(m_aside, m_interpreter))
            m_bAside = false;
        return !m_bAside;
    }
    const std::wstring& Path() const { return m_interpreter; }

private:
    // The real system folder, not the 32-bit one that this process would be shown.
    class CRedirectionOff {
    public:
        CRedirectionOff() { m_bOff = ::Wow64DisableWow64FsRedirection(&m_pOld) != FALSE; }
        ~CRedirectionOff()
        {
            if (m_bOff)
                ::Wow64RevertWow64FsRedirection(m_pOld);
        }

    private:
        PVOID m_pOld = nullptr;
        bool m_bOff = false;
    };

    static bool Move(const std::wstring& from, const std::wstring& to)
    {
        CRedirectionOff off;
        return ::MoveFileExW(from.c_str(), to.c_str(), 0) != FALSE;
    }
    static bool Exists(const std::wstring& path)
    {
        CRedirectionOff off;
        return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::wstring m_interpreter;
    std::wstring m_aside;
    bool m_bAside = false;
};
