// A variable of the machine's environment (HKLM ...\Session Manager\Environment) for a scope:
// the tool's children get the machine's environment, never the tool's own, so this is how a
// test hands them something. The value before it is put back at the end.
#pragma once

#include <windows.h>

#include <string>

class CMachineVariable {
public:
    CMachineVariable(const wchar_t* name, const std::wstring& value) : m_name(name)
    {
        HKEY key = Open(KEY_QUERY_VALUE | KEY_SET_VALUE);
        if (!key)
            return;
        wchar_t old[4096];
        DWORD size = sizeof(old) - sizeof(wchar_t);
        DWORD type = 0;
        if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(old), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ) {
            old[size / sizeof(wchar_t)] = L'\0';
            m_old = old;
            m_bHadOld = true;
        }
        Set(key, value);
        ::RegCloseKey(key);
    }
    ~CMachineVariable()
    {
        HKEY key = Open(KEY_SET_VALUE);
        if (!key)
            return;
        if (m_bHadOld)
            Set(key, m_old);
        else
            ::RegDeleteValueW(key, m_name.c_str());
        ::RegCloseKey(key);
    }
    CMachineVariable(const CMachineVariable&) = delete;
    CMachineVariable& operator=(const CMachineVariable&) = delete;

private:
    static HKEY Open(REGSAM access)
    {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              L"System\\CurrentControlSet\\Control\\Session Manager\\Environment", 0,
                              nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return nullptr;
        return key;
    }
    void Set(HKEY key, const std::wstring& value)
    {
        ::RegSetValueExW(key, m_name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring m_name;
    std::wstring m_old;
    bool m_bHadOld = false;
};
