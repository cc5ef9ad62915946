#include "app/CorvinaDlg.h"

#include "app/AboutDlg.h"
#include "app/LumbraDlg.h"
#include "app/OwnFolderRemoval.h"
#include "res/resource.h"
#include "skin/PngPreload.h"
#include "skin/SkinScale.h"

namespace {

const SkinPairValues kMainPair{
    IDB_MAIN_BACKGROUND, 410, 611,
    {5, 4, 10, 11},  // creation insets: the panel inside the frame
    {5, 4, 5, 7},    // follow insets (unused: the frame never pushes the panel)
    {5, 4, 5, 7},    // drag outsets: the frame around a moved panel
};

}  // namespace

CCorvinaDlg::CCorvinaDlg(CWnd* parent)
    : CSkinBackgroundDlg(IDD_CORVINA_DIALOG, parent, kMainPair),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
    // The panel leads all movement: the frame's own moves never move it.
    m_bFollow = FALSE;
    m_bShowsWhenIdle = FALSE;
}

CLumbraDlg* CCorvinaDlg::GetPanel() const
{
    return static_cast<CLumbraDlg*>(m_pContent.get());
}

BOOL CCorvinaDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    wchar_t aboutText[64] = L"";
    ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, aboutText, 64);
    HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu && aboutText[0]) {
        ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowText(L"Tovrane");

    m_fScale = ScaleFromScreenDpi();
    const double s = m_fScale;
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    m_rcCentred.left = screenWidth / 2 - Truncated(410 * s / 2);
    m_rcCentred.top = screenHeight / 2 - Truncated(611 * s / 2);
    m_rcCentred.right = m_rcCentred.left + Scaled(410, m_fScale);
    m_rcCentred.bottom = m_rcCentred.top + Scaled(611, m_fScale);

    // Drawing, panel creation (its start-up checks run inside) and placement from the
    // centred rectangle; the panel's moves bring the frame around it.
    InitSkinPair();
    return TRUE;
}

CSkinContentDlg* CCorvinaDlg::CreateContent()
{
    return new CLumbraDlg;
}

void CCorvinaDlg::OnContentCreated()
{
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    // The preload thread ends with the rich edit library: loaded before the loop takes any
    // input, so before a press can open the agreement.
    WaitPngPreload();
}

void CCorvinaDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CCorvinaDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

HCURSOR CCorvinaDlg::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

void CCorvinaDlg::OnCancel()
{
    if (CLumbraDlg* panel = GetPanel(); panel && panel->IsWindow())
        panel->RequestClose();
    else
        CSkinBackgroundDlg::OnCancel();
}

void CCorvinaDlg::OnDestroy()
{
    // The panel, an owned window, is gone already; this deletes its object and the image.
    CSkinBackgroundDlg::OnDestroy();
    RemoveOwnFolder();
}
