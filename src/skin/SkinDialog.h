// The skinned dialog pair: a layered background window showing one PNG with its alpha
// (panel plus shadow) and, owned by it, a content window that lies over the opaque part,
// paints the panel image as its background and holds the controls.
//
// How a pair derives from the two bases (the prompt's values as the example):
//
//   class CPromptChildDlg : public CSkinContentDlg {
//   public:
//       CPromptChildDlg() : CSkinContentDlg(IDD_PROMPT_CHILD, IDB_PROMPT_PANEL)
//       {
//           m_bDragsPair = TRUE;                      // the title band drags the pair
//       }
//       void SetText(const std::wstring& text) { m_text = text; }
//   protected:
//       void DoDataExchange() override { DDX_Control(IDC_BTN_OK, m_btnOk); ... }
//       void LayoutControls(BOOL first) override;  // from init (TRUE) and WM_SIZE (FALSE)
//   };                                             // images go with the windows
//
//   class CPromptDlg : public CSkinBackgroundDlg {
//   public:
//       explicit CPromptDlg(CWnd* parent = nullptr)
//           : CSkinBackgroundDlg(IDD_PROMPT, parent, SkinPairValues{
//                 IDB_PROMPT_BACKGROUND, 336, 156,     // background PNG, design size
//                 {5, 3, 10, 10},                       // creation insets l, t, width-, height-
//                 {5, 3, 5, 7},                         // follow insets l, t, r, b
//                 {5, 3, 5, 7}})                        // drag outsets l, t, r, b
//       {
//           m_bEndIfImageMissing = TRUE;  // no visible window: end at once with IDCANCEL
//       }
//   protected:
//       CSkinContentDlg* CreateContent() override
//       {
//           auto* content = new CPromptChildDlg;      // no parent yet
//           content->SetText(m_text);                 // the dialog's data, before Create
//           return content;                           // the base owns it, copies m_fScale
//                                                     // and creates it
//       }
//   };
//
// The base OnInitDialog runs CDialog::OnInitDialog and then InitSkinPair().  A dialog with
// steps of its own (title, icon, computing m_fScale) overrides OnInitDialog, calls
// CDialog::OnInitDialog(), does them and then calls InitSkinPair() itself.
#pragma once

#include "framework/Dialog.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>

// Four design lengths (pixels at scale 1); each is scaled and truncated on its own.
struct SkinInsets {
    double left;
    double top;
    double right;   // creation insets: the width reduction
    double bottom;  // creation insets: the height reduction
};

// What a pair gives the shared behaviour of its background window.
struct SkinPairValues {
    UINT backgroundPng;
    int designWidth;
    int designHeight;
    SkinInsets creation;     // content at (L + a*s, T + b*s), size ((R-L) - c*s, (B-T) - d*s)
    SkinInsets follow;       // background moved: content = background rect shrunk by these
    SkinInsets dragOutsets;  // content dragged: background = content rect grown by these
};

class CSkinContentDlg;

class CSkinBackgroundDlg : public CDialog {
public:
    CSkinBackgroundDlg(UINT templateId, CWnd* parent, const SkinPairValues& values);
    ~CSkinBackgroundDlg() override;

    // The content window was dragged to (left, top, right, bottom) in screen coordinates:
    // stop following and move this window around it by the drag outsets.  Returns 0.
    virtual int FollowContent(int left, int top, int right, int bottom);

    CSkinContentDlg* GetContent() const { return m_pContent.get(); }
    BOOL IsFollowing() const { return m_bFollow; }
    const SkinPairValues& PairValues() const { return m_values; }

    float m_fScale = 1.0f;
    std::unique_ptr<Gdiplus::Image> m_pBackground;  // freed with the window

protected:
    BOOL OnInitDialog() override;
    // Layered drawing, content creation, placement and showing.  FALSE when the background
    // image could not be loaded (then no content window exists).
    BOOL InitSkinPair();

    // The content object, constructed with no parent and given the dialog's data; the base
    // copies m_fScale into it and creates its window with this window as its parent.
    virtual CSkinContentDlg* CreateContent() = 0;
    // The rectangle whose width and height the layered drawing uses and from which the content
    // window is placed.  Default: the window's top-left corner with the scaled design size.
    // The main window returns its centred rectangle.
    virtual RECT TargetRect();
    // The rectangle the content window is placed from.  Default: the window rectangle after
    // the drawing; the main window returns its centred rectangle.
    virtual RECT ContentBaseRect();
    // Where the content window goes, given ContentBaseRect().  Default: the creation insets.
    virtual RECT ContentRectFrom(const RECT& base);
    // Runs after the content window has been created, placed and shown.
    virtual void OnContentCreated() {}
    // Runs when the background image cannot be loaded.  Default: ends a modal dialog with
    // IDCANCEL when m_bEndIfImageMissing is set, otherwise leaves it running undrawn.
    virtual void OnBackgroundMissing();

    // This window without activation, then the content window.
    void ShowWhenIdle() override;
    void OnMove(int x, int y) override;
    void OnDestroy() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Puts the content window back above this window when it lies below it (checked shortly
    // after this window is shown or activated; timer 0x5A1), after handing the activation on
    // when m_bContentTakesActivation is set, but never while a mouse button is held.
    void RaiseContent();

    BOOL m_bFollow = TRUE;            // cleared for good by the first drag
    // A modal pair shows its content window only with itself, once the framework has placed
    // it and its loop first goes idle; cleared by a pair that shows itself.
    BOOL m_bShowsWhenIdle = TRUE;
    BOOL m_bEndIfImageMissing = FALSE;
    // A background has no controls, so when it is activated (a click on its shadow) the
    // same check hands the activation on to the content window.
    BOOL m_bContentTakesActivation = TRUE;
    std::unique_ptr<CSkinContentDlg> m_pContent;  // freed with the window
    SkinPairValues m_values;
};

class CSkinContentDlg : public CDialog {
public:
    CSkinContentDlg(UINT templateId, UINT backgroundPng, CWnd* parent = nullptr);

    BOOL IsLayoutDone() const { return m_bLayoutDone; }
    BOOL IsDragging() const { return m_bDragging; }
    UINT BackgroundPng() const { return m_nBackgroundPng; }
    // Creates the window at the given screen rectangle, before its initialisation lays it out.
    BOOL CreateAt(UINT templateId, CWnd* parent, const RECT& place);
    // The first control in the tab order takes the focus, unless a control has it already.
    void FocusFirstControl();

    float m_fScale = 1.0f;
    std::unique_ptr<Gdiplus::Image> m_pBackground;  // freed with the window

protected:
    // Base initialisation, the panel image (on failure: TRUE with the template layout),
    // LayoutControls(TRUE), m_bLayoutDone.
    BOOL OnInitDialog() override;
    void OnTemplateCreated() override;
    // Places the controls from the client rectangle and m_fScale; first also configures them.
    virtual void LayoutControls(BOOL /*first*/) {}
    // Loads m_pBackground if it is still null; FALSE when it cannot be loaded.
    BOOL EnsureBackground();
    // Paints the loaded background image onto hdc.  Default: PaintContentBackground.
    virtual void PaintBackground(HDC hdc);
    // The drag band in screen coordinates: the client rectangle, m_nDragBandHeight high,
    // its right edge m_nDragBandRightExclusion pixels to the left (both unscaled).
    RECT DragBand() const;

    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnSize(UINT type, int cx, int cy) override;
    LRESULT OnNcHitTest(POINT screen) override;
    void OnMove(int x, int y) override;
    void OnDestroy() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // The content window never ends itself: Enter and Escape are swallowed, and a close
    // request from the system menu must not hide it and leave its shadow behind.
    void OnOK() override {}
    void OnCancel() override {}

    BOOL m_bLayoutDone = FALSE;
    BOOL m_bDragging = FALSE;
    BOOL m_bDragsPair = FALSE;  // set by pairs whose content window drags the pair
    int m_nDragBandHeight = 30;
    int m_nDragBandRightExclusion = 26;
    UINT m_nBackgroundPng;

private:
    RECT m_rcCreateAt{};
    bool m_bCreateAt = false;
};

// The keyboard rule of every skinned window: TRUE for a key-down of Escape or Enter.
BOOL IsSwallowedSkinKey(const MSG* msg);
