// The program's resources as the windows rely on them: every skin image with its size, alpha and margins,
// the scroll-bar bitmap, every dialog template, the strings, the icon, the version and the manifest.
#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindBytes(LPCWSTR name, LPCWSTR type) {
    ResourceBytes bytes;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return bytes;
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return bytes;
    bytes.data = static_cast<const BYTE*>(LockResource(loaded));
    bytes.size = SizeofResource(module, found);
    return bytes;
}

ResourceBytes FindBytes(UINT id, LPCWSTR type) { return FindBytes(MAKEINTRESOURCEW(id), type); }

class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

// A decoded PNG resource; empty when the resource is missing or does not decode.
struct DecodedPng {
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    bool alpha = false;

    UINT Width() const { return bitmap ? bitmap->GetWidth() : 0; }
    UINT Height() const { return bitmap ? bitmap->GetHeight() : 0; }
    Gdiplus::Color At(int x, int y) const {
        Gdiplus::Color c;
        bitmap->GetPixel(x, y, &c);
        return c;
    }
    BYTE AlphaAt(int x, int y) const { return At(x, y).GetA(); }
};

DecodedPng DecodePng(UINT id) {
    DecodedPng png;
    ResourceBytes bytes = FindBytes(id, L"PNG");
    if (!bytes.data) return png;
    IStream* stream = SHCreateMemStream(bytes.data, bytes.size);
    if (!stream) return png;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return png;
    png.alpha = Gdiplus::IsAlphaPixelFormat(bitmap->GetPixelFormat()) != FALSE;
    png.bitmap = std::move(bitmap);
    return png;
}

struct ImageSpec {
    UINT firstId;
    UINT lastId;
    UINT width;
    UINT height;
    bool alpha;
};

// The image table the windows are written against.
const ImageSpec kImages[] = {
    {138, 138, 410, 611, true},  {139, 139, 400, 600, false}, {140, 140, 48, 16, true},
    {141, 144, 26, 34, false},   {145, 145, 232, 132, true},  {146, 146, 204, 104, true},
    {147, 150, 26, 34, false},   {151, 154, 284, 85, true},   {155, 155, 330, 150, true},
    {156, 156, 320, 140, false}, {157, 159, 55, 24, false},   {160, 162, 12, 12, false},
    {163, 171, 55, 24, false},   {172, 172, 410, 479, true},  {173, 173, 400, 468, true},
    {174, 177, 12, 12, false},   {179, 182, 266, 60, true},   {183, 183, 541, 402, true},
    {184, 191, 266, 60, true},   {192, 195, 58, 18, false},
};

class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_gdiplus = new GdiplusSession; }
    static void TearDownTestSuite() {
        delete s_gdiplus;
        s_gdiplus = nullptr;
    }
    static GdiplusSession* s_gdiplus;
};
GdiplusSession* ResourcesTest::s_gdiplus = nullptr;

TEST_F(ResourcesTest, EveryImageHasItsSizeAndAlpha) {
    int checked = 0;
    for (const ImageSpec& wanted : kImages) {
        for (UINT id = wanted.firstId; id <= wanted.lastId; ++id) {
            SCOPED_TRACE("PNG " + std::to_string(id));
            DecodedPng png = DecodePng(id);
            ASSERT_TRUE(png.bitmap) << "missing or undecodable";
            EXPECT_EQ(wanted.width, png.Width());
            EXPECT_EQ(wanted.height, png.Height());
            EXPECT_EQ(wanted.alpha, png.alpha);
            ++checked;
        }
    }
    EXPECT_EQ(57, checked);  // 138-195 without the bitmap 178
    EXPECT_EQ(nullptr, FindBytes(178, L"PNG").data) << "178 is a bitmap, not a PNG";
}

// Inside `opaque` every pixel is fully opaque, outside `core` none is: the margins are soft or clear.
void ExpectOpaqueCore(UINT id, RECT opaque, RECT core) {
    SCOPED_TRACE("PNG " + std::to_string(id));
    DecodedPng png = DecodePng(id);
    ASSERT_TRUE(png.bitmap);
    int opaqueOutside = 0, translucentInside = 0, softMargin = 0;
    for (int y = 0; y < static_cast<int>(png.Height()); ++y) {
        for (int x = 0; x < static_cast<int>(png.Width()); ++x) {
            POINT p{x, y};
            BYTE a = png.AlphaAt(x, y);
            if (PtInRect(&opaque, p)) {
                if (a != 255) ++translucentInside;
            } else if (!PtInRect(&core, p)) {
                if (a == 255) ++opaqueOutside;
                if (a > 0) ++softMargin;
            }
        }
    }
    EXPECT_EQ(0, translucentInside);
    EXPECT_EQ(0, opaqueOutside);
    EXPECT_GT(softMargin, 0) << "the margin should carry a shadow or glow";
    EXPECT_EQ(0, png.AlphaAt(0, 0)) << "the outer corner is clear";
}

TEST_F(ResourcesTest, ShadowsAndGlowsLieExactlyOutsideThePanels) {
    ExpectOpaqueCore(138, {5, 4, 405, 604}, {5, 4, 405, 604});
    ExpectOpaqueCore(145, {14, 12, 218, 116}, {14, 12, 218, 116});
    ExpectOpaqueCore(155, {5, 3, 325, 143}, {5, 3, 325, 143});
    ExpectOpaqueCore(172, {9, 4, 401, 472}, {5, 4, 405, 472});
    for (UINT id = 151; id <= 154; ++id) ExpectOpaqueCore(id, {43, 19, 241, 66}, {19, 19, 265, 66});
    for (UINT id : {179u, 180u, 181u, 182u, 184u, 185u, 186u, 187u, 188u, 189u, 190u, 191u})
        ExpectOpaqueCore(id, {30, 9, 236, 51}, {9, 9, 257, 51});
}

TEST_F(ResourcesTest, PanelsAreOpaqueWhereTheirContentWindowsLie) {
    DecodedPng progress = DecodePng(146);
    ASSERT_TRUE(progress.bitmap);
    for (int y = 0; y < 104; ++y)
        for (int x = 0; x < 204; ++x) ASSERT_EQ(255, progress.AlphaAt(x, y)) << x << "," << y;

    DecodedPng feedback = DecodePng(173);  // opaque but for slightly rounded corners
    ASSERT_TRUE(feedback.bitmap);
    EXPECT_LT(feedback.AlphaAt(0, 0), 255);
    EXPECT_LT(feedback.AlphaAt(399, 467), 255);
    for (int y = 4; y < 464; ++y)
        for (int x = 0; x < 400; ++x) ASSERT_EQ(255, feedback.AlphaAt(x, y)) << x << "," << y;
}

TEST_F(ResourcesTest, AgreementBubbleIsAWhiteRectangleWithATailNearTheLeft) {
    DecodedPng bubble = DecodePng(183);
    ASSERT_TRUE(bubble.bitmap);
    for (int y = 0; y < 391; ++y)
        for (int x = 0; x < 541; ++x) ASSERT_EQ(255, bubble.AlphaAt(x, y)) << x << "," << y;
    Gdiplus::Color inside = bubble.At(270, 200);
    EXPECT_EQ(255, inside.GetR());
    EXPECT_EQ(255, inside.GetG());
    EXPECT_EQ(255, inside.GetB());
    EXPECT_GT(bubble.AlphaAt(85, 401), 0) << "the tail reaches the bottom row";
    EXPECT_EQ(255, bubble.AlphaAt(85, 395));
    for (int x : {0, 40, 130, 300, 540}) {
        EXPECT_EQ(0, bubble.AlphaAt(x, 392)) << x;
        EXPECT_EQ(0, bubble.AlphaAt(x, 401)) << x;
    }
}

TEST_F(ResourcesTest, CheckBoxCellsAreEmptyTickedAndFilled) {
    DecodedPng box = DecodePng(140);
    ASSERT_TRUE(box.bitmap);
    Gdiplus::Color empty = box.At(8, 8), ticked = box.At(16 + 12, 12), filled = box.At(32 + 8, 8);
    EXPECT_EQ(255, empty.GetA());
    EXPECT_EQ(255, ticked.GetA());
    EXPECT_EQ(255, filled.GetA());
    EXPECT_EQ(255, empty.GetR()) << "the empty box is white inside";
    EXPECT_LT(ticked.GetR(), 128) << "the ticked box is filled with colour";
    EXPECT_LT(filled.GetR(), 128) << "the third box has a filled square";
    EXPECT_EQ(255, box.At(32 + 4, 4).GetR()) << "... inside a white box";
}

// The opaque small buttons carry the very pixels of the panel they sit on, so they blend in at scale 1.
void ExpectSameAsPanel(const DecodedPng& panel, UINT id, int left, int top) {
    SCOPED_TRACE("PNG " + std::to_string(id));
    DecodedPng button = DecodePng(id);
    ASSERT_TRUE(button.bitmap);
    for (int y : {0, static_cast<int>(button.Height()) - 1}) {
        for (int x = 0; x < static_cast<int>(button.Width()); ++x) {
            Gdiplus::Color a = button.At(x, y), b = panel.At(left + x, top + y);
            ASSERT_EQ(a.GetValue() | 0xFF000000u, b.GetValue() | 0xFF000000u) << x << "," << y;
        }
    }
}

TEST_F(ResourcesTest, PanelButtonsMatchThePanelBehindThem) {
    DecodedPng main = DecodePng(139);
    ASSERT_TRUE(main.bitmap);
    // Close and minimise: normal and disabled looks; hover and pressed light up the whole cell.
    for (UINT id : {141u, 144u}) ExpectSameAsPanel(main, id, 368, 0);
    for (UINT id : {147u, 150u}) ExpectSameAsPanel(main, id, 340, 0);
    for (UINT id = 192; id <= 195; ++id) ExpectSameAsPanel(main, id, 45, 540);
    DecodedPng feedback = DecodePng(173);
    ASSERT_TRUE(feedback.bitmap);
    for (UINT id = 174; id <= 177; ++id) ExpectSameAsPanel(feedback, id, 382, 6);
    DecodedPng prompt = DecodePng(156);
    ASSERT_TRUE(prompt.bitmap);
    for (UINT id = 160; id <= 162; ++id) {
        DecodedPng cross = DecodePng(id);
        ASSERT_TRUE(cross.bitmap);
        EXPECT_EQ(prompt.At(300, 8).GetValue(), cross.At(0, 0).GetValue()) << id << " sits on the title band";
    }
}

TEST_F(ResourcesTest, PanelAreasUnderDrawnTextHaveTheirColours) {
    DecodedPng main = DecodePng(139);
    ASSERT_TRUE(main.bitmap);
    // The agree box and the links fill white: the footer is pure white.
    for (int y = 568; y < 600; ++y)
        for (int x = 0; x < 400; ++x) ASSERT_EQ(0xFFFFFFFFu, main.At(x, y).GetValue()) << x << "," << y;
    // White version text sits on the blue band.
    for (int y = 16; y < 31; ++y) {
        for (int x = 188; x < 228; ++x) {
            Gdiplus::Color c = main.At(x, y);
            ASSERT_GT(c.GetB(), 180) << x << "," << y;
            ASSERT_LT(c.GetR(), 90) << x << "," << y;
        }
    }
    DecodedPng prompt = DecodePng(156);
    ASSERT_TRUE(prompt.bitmap);
    Gdiplus::Color band = prompt.At(200, 13);
    EXPECT_EQ(234, band.GetR());
    EXPECT_EQ(235, band.GetG());
    EXPECT_EQ(238, band.GetB());
    EXPECT_EQ(0xFFFFFFFFu, prompt.At(160, 80).GetValue()) << "the message lies on white";
    DecodedPng progress = DecodePng(146);
    ASSERT_TRUE(progress.bitmap);
    EXPECT_LT(progress.At(102, 62).GetR(), 90) << "white progress text lies on blue";
}

// ---------------------------------------------------------------- bitmap 178

TEST_F(ResourcesTest, ScrollBarBitmapIs117By39At8BitsWithItsCells) {
    ResourceBytes raw = FindBytes(IDB_SKIN_SCROLLBAR, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    ASSERT_NE(nullptr, raw.data);
    ASSERT_GE(raw.size, sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(raw.data);
    EXPECT_EQ(117, header->biWidth);
    EXPECT_EQ(39, abs(header->biHeight));
    EXPECT_EQ(8, header->biBitCount);
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), header->biCompression);

    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                      MAKEINTRESOURCEW(IDB_SKIN_SCROLLBAR), IMAGE_BITMAP, 0, 0,
                                                      LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, bitmap);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto grey = [&](int col, int row, int x, int y) { return GetRValue(GetPixel(dc, col * 13 + x, row * 13 + y)); };
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_EQ(255, grey(3, row, 6, 6)) << "vertical track is white";
        EXPECT_EQ(255, grey(7, row, 6, 6)) << "horizontal track is white";
        EXPECT_LT(grey(7, row, 6, 0), 255) << "with light edge lines";
        EXPECT_LT(grey(2, row, 6, 6), grey(2, row, 3, 6)) << "vertical thumb: dark bar, lighter edges";
        EXPECT_EQ(grey(2, row, 6, 0), grey(2, row, 6, 12)) << "uniform along the bar";
        EXPECT_LT(grey(6, row, 6, 6), grey(6, row, 6, 3)) << "horizontal thumb";
        EXPECT_EQ(255, grey(0, row, 0, 0)) << "arrows on white";
    }
    // Vertical arrows dark only when hot; horizontal arrows dark when hot or pressed.
    EXPECT_LT(grey(0, 1, 6, 6), grey(0, 0, 6, 6));
    EXPECT_EQ(grey(0, 0, 6, 6), grey(0, 2, 6, 6));
    EXPECT_LT(grey(1, 1, 6, 6), grey(1, 0, 6, 6));
    EXPECT_LT(grey(4, 1, 6, 6), grey(4, 0, 6, 6));
    EXPECT_EQ(grey(4, 1, 6, 6), grey(4, 2, 6, 6));
    EXPECT_LT(grey(5, 2, 6, 6), grey(5, 0, 6, 6));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

// ---------------------------------------------------------------- dialog templates

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* p) : m_p(p) {}
    WORD Word() {
        WORD w;
        memcpy(&w, m_p, 2);
        m_p += 2;
        return w;
    }
    DWORD Dword() {
        DWORD d;
        memcpy(&d, m_p, 4);
        m_p += 4;
        return d;
    }
    // A string or an ordinal (0xFFFF, id); ordinals come back as "#id".
    std::wstring SzOrOrd() {
        WORD first = Word();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
        std::wstring s;
        for (WORD c = first; c != 0; c = Word()) s.push_back(static_cast<wchar_t>(c));
        return s;
    }
    void AlignDword(const BYTE* base) {
        while ((m_p - base) % 4) ++m_p;
    }
    void Skip(size_t n) { m_p += n; }

private:
    const BYTE* m_p;
};

struct ControlInfo {
    DWORD id;
    DWORD style;
    std::wstring cls;
    std::wstring text;
};

struct DialogInfo {
    bool found = false;
    bool extended = false;
    DWORD style = 0, exStyle = 0;
    short cx = 0, cy = 0;
    WORD pointSize = 0;
    std::wstring typeface, menu, windowClass, title;
    std::vector<ControlInfo> controls;

    const ControlInfo* Control(DWORD id) const {
        for (const ControlInfo& c : controls)
            if (c.id == id) return &c;
        return nullptr;
    }
};

DialogInfo ReadDialog(UINT id) {
    DialogInfo info;
    ResourceBytes raw = FindBytes(id, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!raw.data) return info;
    info.found = true;
    TemplateReader r(raw.data);
    WORD version = r.Word(), signature = r.Word();
    info.extended = version == 1 && signature == 0xFFFF;
    if (!info.extended) return info;
    r.Dword();  // help id
    info.exStyle = r.Dword();
    info.style = r.Dword();
    WORD count = r.Word();
    r.Word();
    r.Word();
    info.cx = static_cast<short>(r.Word());
    info.cy = static_cast<short>(r.Word());
    info.menu = r.SzOrOrd();
    info.windowClass = r.SzOrOrd();
    info.title = r.SzOrOrd();
    if (info.style & DS_SETFONT) {
        info.pointSize = r.Word();
        r.Word();  // weight
        r.Skip(2);  // italic, charset
        info.typeface = r.SzOrOrd();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword(raw.data);
        ControlInfo c;
        r.Dword();  // help id
        r.Dword();  // extended style
        c.style = r.Dword();
        r.Skip(8);  // x, y, cx, cy
        c.id = r.Dword();
        c.cls = r.SzOrOrd();
        c.text = r.SzOrOrd();
        WORD extra = r.Word();
        r.Skip(extra);
        info.controls.push_back(c);
    }
    return info;
}

const std::wstring kSongTi = L"\u5B8B\u4F53";  // 宋体

void ExpectSkinnedWindowTemplate(const DialogInfo& d) {
    EXPECT_TRUE(d.style & WS_POPUP);
    EXPECT_TRUE(d.style & WS_SYSMENU);
    EXPECT_FALSE(d.style & WS_CHILD);
    EXPECT_NE(static_cast<DWORD>(WS_CAPTION), d.style & WS_CAPTION) << "no caption";
    EXPECT_FALSE(d.style & WS_BORDER) << "no border";
    EXPECT_FALSE(d.style & WS_THICKFRAME);
    EXPECT_FALSE(d.style & DS_MODALFRAME);
    EXPECT_FALSE(d.exStyle & WS_EX_LAYERED) << "the windows add the layered style themselves";
}

struct TemplateSpec {
    UINT id;
    short cx, cy;
    std::vector<DWORD> controls;
};

TEST_F(ResourcesTest, SkinnedTemplatesHaveTheirStylesSizesFontAndControls) {
    const TemplateSpec specs[] = {
        {IDD_CORVINA_DIALOG, 457, 369, {}},
        {IDD_LUMBRA_DIALOG, 457, 369, {1013, 1004, 1010, 1011, 1012, 1014, 1015, 1017}},
        {IDD_EXECUTE_PROMPT_CHILD, 240, 130, {1000}},
        {IDD_EXECUTE_PROMPT, 240, 130, {}},
        {IDD_FEEDBACK_CHILD, 440, 343, {1002, 1003, 1001, 1016}},
        {IDD_FEEDBACK, 440, 343, {}},
        {IDD_PROMPT_CHILD, 0, 0, {1006, 1007, 1004, 1005}},
        {IDD_PROMPT, 0, 0, {}},
        {IDD_TOOLTIP_CHILD, 280, 240, {1008}},
        {IDD_TOOLTIP, 280, 240, {}},
    };
    for (const TemplateSpec& wanted : specs) {
        SCOPED_TRACE("template " + std::to_string(wanted.id));
        DialogInfo d = ReadDialog(wanted.id);
        ASSERT_TRUE(d.found);
        ASSERT_TRUE(d.extended) << "DIALOGEX";
        ExpectSkinnedWindowTemplate(d);
        if (wanted.cx) {
            EXPECT_EQ(wanted.cx, d.cx);
            EXPECT_EQ(wanted.cy, d.cy);
        }
        EXPECT_TRUE(d.style & DS_SETFONT);
        EXPECT_EQ(10, d.pointSize);
        EXPECT_EQ(kSongTi, d.typeface);
        EXPECT_TRUE(d.title.empty());
        ASSERT_EQ(wanted.controls.size(), d.controls.size());
        for (DWORD id : wanted.controls) EXPECT_NE(nullptr, d.Control(id)) << "control " << id;
        bool mainWindow = wanted.id == IDD_CORVINA_DIALOG;
        EXPECT_EQ(mainWindow, (d.style & WS_VISIBLE) != 0) << "only the main window starts visible";
        EXPECT_EQ(mainWindow, (d.exStyle & WS_EX_APPWINDOW) != 0) << "only the main window has a task-bar button";
    }
}

// Window classes in a template are case-insensitive names or the predefined ordinals.
bool IsClass(const std::wstring& cls, const wchar_t* name, const wchar_t* ordinal) {
    return cls == ordinal || lstrcmpiW(cls.c_str(), name) == 0;
}

void ExpectOwnerDrawnButton(const DialogInfo& d, DWORD id) {
    SCOPED_TRACE("control " + std::to_string(id));
    const ControlInfo* c = d.Control(id);
    ASSERT_NE(nullptr, c);
    EXPECT_TRUE(IsClass(c->cls, L"Button", L"#128")) << "button class";
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), c->style & BS_TYPEMASK);
    EXPECT_TRUE(c->style & WS_VISIBLE);
}

void ExpectStatic(const DialogInfo& d, DWORD id, const std::wstring& text) {
    SCOPED_TRACE("control " + std::to_string(id));
    const ControlInfo* c = d.Control(id);
    ASSERT_NE(nullptr, c);
    EXPECT_TRUE(IsClass(c->cls, L"Static", L"#130")) << "static class";
    EXPECT_EQ(text, c->text);
    EXPECT_FALSE(c->style & SS_NOTIFY) << "clicks pass through to the dialog";
}

TEST_F(ResourcesTest, PanelControlsHaveTheirKindsAndTexts) {
    DialogInfo panel = ReadDialog(IDD_LUMBRA_DIALOG);
    ASSERT_TRUE(panel.found);
    for (DWORD id : {1013u, 1004u, 1010u, 1017u}) ExpectOwnerDrawnButton(panel, id);
    const ControlInfo* agree = panel.Control(IDC_CHECK_AGREE);
    ASSERT_NE(nullptr, agree);
    EXPECT_TRUE(IsClass(agree->cls, L"Button", L"#128"));
    EXPECT_EQ(static_cast<DWORD>(BS_AUTOCHECKBOX), agree->style & BS_TYPEMASK);
    EXPECT_EQ(L"\u540C\u610F", agree->text);  // 同意
    ExpectStatic(panel, IDC_STATIC_VERSION, L"1.0.0");
    ExpectStatic(panel, IDC_STATIC_AGREEMENT_LINK, L"\u300AHalvex\u670D\u52A1\u5DE5\u5177\u4F7F\u7528\u8BB8\u53EF\u534F\u8BAE\u300B");
    ExpectStatic(panel, IDC_STATIC_FEEDBACK_LINK, L"\u53CD\u9988\u95EE\u9898");  // 反馈问题
    EXPECT_EQ(L"\u4E00\u952E\u4FEE\u590D", panel.Control(IDC_BTN_REPAIR)->text);      // 一键修复
    EXPECT_EQ(L"\u66F4\u591A\u5DE5\u5177", panel.Control(IDC_BTN_MORE_TOOLS)->text);  // 更多工具

    DialogInfo feedback = ReadDialog(IDD_FEEDBACK_CHILD);
    for (DWORD id : {1001u, 1002u, 1003u, 1016u}) ExpectOwnerDrawnButton(feedback, id);
    DialogInfo prompt = ReadDialog(IDD_PROMPT_CHILD);
    for (DWORD id : {1004u, 1006u, 1007u}) ExpectOwnerDrawnButton(prompt, id);
    ASSERT_NE(nullptr, prompt.Control(IDC_STATIC_PROMPT_TEXT));
    EXPECT_TRUE(IsClass(prompt.Control(IDC_STATIC_PROMPT_TEXT)->cls, L"Static", L"#130"));
    ExpectStatic(ReadDialog(IDD_EXECUTE_PROMPT_CHILD), IDC_STATIC_PROGRESS_TEXT, L"Static");
}

TEST_F(ResourcesTest, AgreementTextIsAReadOnlyRichEditWithAPermanentScrollBar) {
    DialogInfo d = ReadDialog(IDD_TOOLTIP_CHILD);
    const ControlInfo* edit = d.Control(IDC_RICHEDIT_AGREEMENT);
    ASSERT_NE(nullptr, edit);
    EXPECT_TRUE(IsClass(edit->cls, L"RichEdit20W", L"-")) << "class " << std::string(edit->cls.begin(), edit->cls.end());
    const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                         ES_READONLY | 0x2000 /* ES_DISABLENOSCROLL */;
    EXPECT_EQ(wanted, edit->style & wanted);
    EXPECT_FALSE(edit->style & WS_HSCROLL);
}

INT_PTR CALLBACK IgnoringDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(ResourcesTest, AboutBoxHasIconTextAndOkButton) {
    DialogInfo d = ReadDialog(IDD_ABOUTBOX);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(kSongTi, d.typeface);
    EXPECT_EQ(10, d.pointSize);
    const ControlInfo* ok = d.Control(IDOK);
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(L"\u786E\u5B9A", ok->text);  // 确定
    bool icon = false, text = false;
    for (const ControlInfo& c : d.controls) {
        if (IsClass(c.cls, L"Static", L"#130") && (c.style & SS_TYPEMASK) == SS_ICON && c.text == L"#128") icon = true;
        if (c.text == L"Corvina\uFF0C1.0 \u7248") text = true;  // Corvina，1.0 版
    }
    EXPECT_TRUE(icon);
    EXPECT_TRUE(text);
    // The templates really make windows.
    HWND about = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr,
                                    IgnoringDialogProc, 0);
    ASSERT_NE(nullptr, about);
    EXPECT_NE(nullptr, GetDlgItem(about, IDOK));
    // The dialog font has the glyphs of the Chinese texts (no boxes).
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(about, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, dialogFont);
    HDC dc = GetDC(about);
    HGDIOBJ oldFont = SelectObject(dc, dialogFont);
    const wchar_t chinese[] = L"\u786E\u5B9A\u5173\u4E8E\u7248\u540C\u610F";  // 确定关于版同意
    WORD glyphs[8] = {};
    ASSERT_NE(GDI_ERROR, GetGlyphIndicesW(dc, chinese, 7, glyphs, GGI_MARK_NONEXISTING_GLYPHS));
    for (int i = 0; i < 7; ++i) EXPECT_NE(0xFFFF, glyphs[i]) << "character " << i;
    SelectObject(dc, oldFont);
    ReleaseDC(about, dc);
    DestroyWindow(about);
}

// ---------------------------------------------------------------- strings, icon, version, manifest

TEST_F(ResourcesTest, AboutMenuString) {
    wchar_t text[64] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, 64), 0);
    EXPECT_STREQ(L"\u5173\u4E8E Corvina(&A)...", text);  // 关于 Corvina(&A)...
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ResourcesTest, ProgramIconHas16To256Pixels) {
    ResourceBytes group = FindBytes(IDR_MAINFRAME, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    ASSERT_NE(nullptr, group.data);
    WORD count;
    memcpy(&count, group.data + 4, 2);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        IconGroupEntry e;
        memcpy(&e, group.data + 6 + i * sizeof(IconGroupEntry), sizeof e);
        sizes.push_back(e.width ? e.width : 256);
        EXPECT_EQ(32, e.bitCount);
    }
    EXPECT_EQ((std::vector<int>{16, 32, 48, 256}), sizes);
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                   IMAGE_ICON, size, size, 0));
        EXPECT_NE(nullptr, icon) << size;
        if (icon) DestroyIcon(icon);
    }
}

TEST_F(ResourcesTest, VersionIs104) {
    ResourceBytes raw = FindBytes(1, MAKEINTRESOURCEW(16) /* RT_VERSION */);
    ASSERT_NE(nullptr, raw.data);
    std::vector<BYTE> copy(raw.data, raw.data + raw.size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00040000u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00040000u, fixed->dwProductVersionLS);
    for (const wchar_t* key : {L"ProductVersion", L"FileVersion"}) {
        wchar_t* value = nullptr;
        std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
        ASSERT_TRUE(VerQueryValueW(copy.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) << key;
        EXPECT_STREQ(L"1.0.4", value);
    }
    wchar_t* product = nullptr;
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\StringFileInfo\\080404b0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ(L"Corvina", product);
}

TEST_F(ResourcesTest, ManifestAsksForAdministratorDpiAwarenessControls6AndWindows10) {
    ResourceBytes raw = FindBytes(1, MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(nullptr, raw.data);
    std::string xml(reinterpret_cast<const char*>(raw.data), raw.size);
    EXPECT_NE(std::string::npos, xml.find("level=\"requireAdministrator\""));
    EXPECT_NE(std::string::npos, xml.find(">true</dpiAware>"));
    EXPECT_NE(std::string::npos, xml.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, xml.find("processorArchitecture=\"x86\" publicKeyToken=\"6595b64144ccf1df\""));
    EXPECT_NE(std::string::npos, xml.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"));
}

}  // namespace
