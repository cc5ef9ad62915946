#include "framework/FileFind.h"

bool CFileFind::FindFile(const wchar_t* name)
{
    Close();
    if (!name || !*name)
        return false;
    WIN32_FIND_DATAW data;
    m_hFind = FindFirstFileW(name, &data);
    return m_hFind != INVALID_HANDLE_VALUE;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
}
