// Takes a file of the prefix's 64-bit system folder (the one the tool starts its children
// from, with file-system redirection off) out of the way for a scope, optionally with another
// file copied into its place, and puts it back when the scope ends, also when a test fails
// half-way. Tests that start the command interpreter must not run meanwhile ("cmd" lock).
#pragma once

#include <windows.h>

#include <string>

class CSystemFileAside {
public:
    // relative: below the system folder ("cmd.exe"); replacement: a path below the system
    // folder to copy into its place, or empty for nothing there.
    explicit CSystemFileAside(const std::wstring& relative, const std::wstring& replacement = L"")
    {
        wchar_t system[MAX_PATH];
        ::GetSystemDirectoryW(system, MAX_PATH);
        m_path = std::wstring(system) + L"\\" + relative;
        m_aside = m_path + L".aside";
        // An earlier run that died half-way left it aside.
        if (Exists(m_aside)) {
            Delete(m_path);
            Move(m_aside, m_path);
        }
        m_bAside = Move(m_path, m_aside);
        if (m_bAside && !replacement.empty())
            m_bReplaced = Copy(std::wstring(system) + L"\\" + replacement, m_path);
    }
    ~CSystemFileAside() { Restore(); }
    CSystemFileAside(const CSystemFileAside&) = delete;
    CSystemFileAside& operator=(const CSystemFileAside&) = delete;

    bool IsAside() const { return m_bAside; }
    bool IsReplaced() const { return m_bReplaced; }
    bool Restore()
    {
        if (m_bAside) {
            Delete(m_path);
            if (Move(m_aside, m_path))
                m_bAside = false;
        }
        return !m_bAside;
    }
    const std::wstring& Path() const { return m_path; }
    static bool Exists(const std::wstring& path)
    {
        CRedirectionOff off;
        return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

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
    static bool Copy(const std::wstring& from, const std::wstring& to)
    {
        CRedirectionOff off;
        return ::CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
    }
    static void Delete(const std::wstring& path)
    {
        CRedirectionOff off;
        ::DeleteFileW(path.c_str());
    }

    std::wstring m_path;
    std::wstring m_aside;
    bool m_bAside = false;
    bool m_bReplaced = false;
};
