// Replaces the system scroll bars of an existing child control with skinned bars, without the
// control knowing.  A frame window takes the control's place; inside it a limiter window clips
// the control so that its own bar strips fall outside, and a skinned bar sits where each
// system bar was.  A replaced window procedure on the control keeps the bars in step with the
// control's scroll state; the bars' notifications go to the control as its own scroll messages.
//
//   frame ("SkinScrollBarFrame", the control's id)   in the control's former parent
//     limiter ("LIMIT", id 200)
//       the control
//     horizontal bar (id 100), vertical bar (id 101)
//
// The frame is kept in the control's GWLP_USERDATA; it detaches and deletes itself when the
// control is destroyed.
#pragma once

#include "res/MessageIds.h"
#include "skinscroll/SkinScrollBar.h"


class CSkinScrollWnd : public CWnd {
public:
    CSkinScrollWnd() { ++s_nLive; }
    ~CSkinScrollWnd() override { --s_nLive; }

    // Frames alive in the process (each deletes itself with its control).
    static int LiveCount() { return s_nLive; }

    // Wraps the control; FALSE (and nothing changed) when a window cannot be created.
    BOOL Attach(HWND control, HBITMAP skinBitmap);

    // The frame of a wrapped control, or null.
    static CSkinScrollWnd* FromControl(HWND control);

    HWND Control() const;
    CSkinScrollBar& HorizontalBar() { return m_barHorizontal; }
    CSkinScrollBar& VerticalBar() { return m_barVertical; }
    HWND Limiter() const { return m_limiterWnd.m_hWnd; }
    int BarThickness() const { return m_nBarThickness; }
    int Corner() const { return m_nCorner; }

    float m_fScale = 1.0f;
    int m_nThumbMargin = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnVScroll(UINT code, UINT position, HWND bar) override;
    void OnHScroll(UINT code, UINT position, HWND bar) override;
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    void PostNcDestroy() override
    {
        if (m_bDeleteOnDestroy)
            delete this;
    }

private:
    static LRESULT CALLBACK HookProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static void Detach(HWND control);
    void Unhook(HWND control);
    LRESULT OnSkinLayout(BOOL vScroll, BOOL leftBars);
    void OnControlNcCalcSize(HWND control, NCCALCSIZE_PARAMS* params);
    void ForwardScroll(UINT msg, int bar, CSkinScrollBar& skinBar, UINT code, UINT position);
    // Gives the bar the control's scroll state if it differs from the bar's.
    void SyncBar(HWND control, int bar, CSkinScrollBar& skinBar);

    int m_nBarThickness = 16;
    CSkinScrollBar m_barHorizontal;
    CSkinScrollBar m_barVertical;
    CWnd m_limiterWnd;
    HBITMAP m_hSkinBitmap = nullptr;
    BOOL m_bBusy = FALSE;
    int m_nCorner = 0;
    WNDPROC m_prevWndProc = nullptr;
    BOOL m_bDeleteOnDestroy = FALSE;  // set once attached: from then on the frame owns itself

    static int s_nLive;
};

// Wraps the control in a new frame with skinned bars drawn from skinBitmap (kept by the
// caller) at the given scale and thumb margin.  The frame deletes itself when the control is
// destroyed.  Null when the frame cannot be made.
CSkinScrollWnd* AttachSkinScrollBars(HWND control, HBITMAP skinBitmap, float scale, int thumbMargin);
