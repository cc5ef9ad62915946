// The message prompt's content window: the message, one or two answer buttons and the close
// cross on the panel image; its title band drags the pair.
#pragma once

#include "res/MessageIds.h"
#include "skin/DrawTextStatic.h"
#include "skin/PngButton.h"
#include "skin/SkinDialog.h"

#include <string>

// Button modes: which answer images are used and whether the second button is shown.
#define PROMPT_YES 1             // 是 alone
#define PROMPT_YES_NO 2          // 是 and 否
#define PROMPT_CONFIRM 3         // 确认 alone
#define PROMPT_CONFIRM_CANCEL 4  // 确认 and 取消

// The content window's answer to the prompt: WM_PROMPT_RESULT with one of these.
#define PROMPT_RESULT_OK 1
#define PROMPT_RESULT_CANCEL 2

// Where the controls go in a client rectangle at a scale, and which buttons show.
struct PromptLayout {
    RECT close;
    RECT ok;
    RECT cancel;
    RECT text;
    BOOL showCancel;
};
PromptLayout LayoutPrompt(const RECT& client, float scale, int mode);

// The four state images (normal, hover, pressed, disabled) of a mode's two buttons.
struct PromptButtonImages {
    UINT ok[4];
    UINT cancel[4];
};
PromptButtonImages PromptImagesForMode(int mode);

class CPromptChildDlg : public CSkinContentDlg {
public:
    explicit CPromptChildDlg(CWnd* parent = nullptr);

    void SetText(const std::wstring& text) { m_strText = text; }
    void SetMode(int mode) { m_nMode = mode; }

    // For tests and the caller's inspection.
    CPngButton& CloseButton() { return m_btnClose; }
    CPngButton& OkButton() { return m_btnOk; }
    CPngButton& CancelButton() { return m_btnCancel; }
    CDrawTextStatic& TextLabel() { return m_lblText; }

protected:
    void DoDataExchange() override;
    void LayoutControls(BOOL first) override;
    void PaintBackground(HDC hdc) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CPngButton m_btnClose;
    CPngButton m_btnOk;
    CPngButton m_btnCancel;
    CDrawTextStatic m_lblText;
    std::wstring m_strText;
    int m_nMode = PROMPT_YES;
};
