#include "Driver.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

namespace {

struct EnumState {
    DWORD processId;
    std::vector<CWindowInfo>* out;
};

BOOL CALLBACK CollectTopLevel(HWND hWnd, LPARAM param)
{
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner == state->processId)
        state->out->push_back(DescribeWindow(hWnd));
    return TRUE;
}

std::string JsonString(const std::wstring& text)
{
    std::string out = "\"";
    for (char c : Utf8(text)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

}  // namespace

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size,
                          nullptr, nullptr);
    return out;
}

CWindowInfo DescribeWindow(HWND hWnd)
{
    CWindowInfo info;
    info.hWnd = hWnd;
    info.owner = ::GetWindow(hWnd, GW_OWNER);
    info.id = static_cast<int>(::GetWindowLongPtrW(hWnd, GWLP_ID));
    wchar_t buffer[512];
    buffer[0] = L'\0';
    ::GetClassNameW(hWnd, buffer, 512);
    info.className = buffer;
    // WM_GETTEXT, not GetWindowText: that answers only for windows of the calling process.
    buffer[0] = L'\0';
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                          1000, &length);
    info.text = buffer;
    ::GetWindowRect(hWnd, &info.rect);
    info.visible = ::IsWindowVisible(hWnd) != FALSE;
    info.enabled = ::IsWindowEnabled(hWnd) != FALSE;
    info.iconic = ::IsIconic(hWnd) != FALSE;
    info.layered = (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    LONG type = style & BS_TYPEMASK;
    if (info.className == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) {
        DWORD_PTR check = 0;
        ::SendMessageTimeoutW(hWnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &check);
        info.checked = static_cast<int>(check);
    }
    return info;
}

DWORD FindProcessByName(const std::wstring& exeName)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    DWORD found = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found;
         more = ::Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName.c_str()) == 0)
            found = entry.th32ProcessID;
    }
    ::CloseHandle(snapshot);
    return found;
}

std::vector<CWindowInfo> TopLevelWindows(DWORD processId)
{
    std::vector<CWindowInfo> out;
    EnumState state{processId, &out};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return out;
}

std::vector<CWindowInfo> ChildWindows(HWND parent)
{
    std::vector<CWindowInfo> out;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        out.push_back(DescribeWindow(child));
    return out;
}

std::vector<CWindowInfo> WindowsWithChildText(DWORD processId, const std::wstring& text)
{
    std::vector<CWindowInfo> out;
    for (const CWindowInfo& top : TopLevelWindows(processId)) {
        if (!top.visible)
            continue;
        for (const CWindowInfo& child : ChildWindows(top.hWnd)) {
            if (child.text == text) {
                out.push_back(top);
                break;
            }
        }
    }
    return out;
}

HWND FindVisibleWindow(DWORD processId, const std::wstring& title)
{
    for (const CWindowInfo& top : TopLevelWindows(processId)) {
        if (top.visible && top.text == title)
            return top.hWnd;
    }
    return nullptr;
}

HWND ChildById(HWND parent, int id)
{
    return parent ? ::GetDlgItem(parent, id) : nullptr;
}

void MoveMouse(int x, int y)
{
    POINT from;
    ::GetCursorPos(&from);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i) {
        guitest::SendPointerTo(from.x + (x - from.x) * i / steps, from.y + (y - from.y) * i / steps);
        ::Sleep(15);
    }
}

void ClickAt(int x, int y)
{
    MoveMouse(x, y);
    ::Sleep(60);
    LeftDown();
    ::Sleep(60);
    LeftUp();
    ::Sleep(60);
}

std::wstring LoadedModulePath(DWORD processId, const std::wstring& moduleName)
{
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return std::wstring();
    std::wstring found;
    HMODULE modules[1024];
    DWORD needed = 0;
    if (::EnumProcessModulesEx(process, modules, sizeof(modules), &needed, LIST_MODULES_ALL)) {
        DWORD count = needed / sizeof(HMODULE);
        for (DWORD i = 0; i < count && i < 1024 && found.empty(); ++i) {
            wchar_t path[MAX_PATH];
            if (!::GetModuleFileNameExW(process, modules[i], path, MAX_PATH))
                continue;
            const wchar_t* leaf = wcsrchr(path, L'\\');
            leaf = leaf ? leaf + 1 : path;
            if (_wcsicmp(leaf, moduleName.c_str()) == 0)
                found = path;
        }
    }
    ::CloseHandle(process);
    return found;
}

std::string ToJson(const CWindowInfo& info)
{
    char numbers[256];
    snprintf(numbers, sizeof numbers,
             "\"hwnd\":\"%p\",\"owner\":\"%p\",\"id\":%d,\"rect\":[%ld,%ld,%ld,%ld],"
             "\"visible\":%s,\"enabled\":%s,\"iconic\":%s,\"layered\":%s,\"checked\":%d",
             static_cast<void*>(info.hWnd), static_cast<void*>(info.owner), info.id,
             info.rect.left, info.rect.top, info.rect.right, info.rect.bottom,
             info.visible ? "true" : "false", info.enabled ? "true" : "false",
             info.iconic ? "true" : "false", info.layered ? "true" : "false", info.checked);
    return "{\"class\":" + JsonString(info.className) + ",\"text\":" + JsonString(info.text) + "," +
           numbers + "}";
}

std::string ToJson(const std::vector<CWindowInfo>& infos)
{
    std::string out = "[";
    for (size_t i = 0; i < infos.size(); ++i)
        out += (i ? ",\n " : "") + ToJson(infos[i]);
    return out + "]";
}
