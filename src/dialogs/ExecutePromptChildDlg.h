// The progress prompt's content window: the blue panel and the waiting text with its dots.
#pragma once

#include "skin/DrawStateInfoStatic.h"
#include "skin/SkinDialog.h"

#include <string>

// Shown when the caller gives no text of at least two characters.
extern const wchar_t PROGRESS_DEFAULT_TEXT[];

// The text the label shows for the text the caller gave.
std::wstring ProgressLabelText(const std::wstring& text);
// The label's rectangle in a client rectangle at a scale.
RECT LayoutProgressLabel(const RECT& client, float scale);

class CExecutePromptChildDlg : public CSkinContentDlg {
public:
    explicit CExecutePromptChildDlg(CWnd* parent = nullptr);

    void SetText(const std::wstring& text) { m_strText = text; }
    // Places the label; the first time also configures it and starts its dots.
    void LayoutContent(BOOL first);
    // Stops the dots: timer killed, dots cleared, label repainted.
    void StopAnimation();

    CDrawStateInfoStatic& StateLabel() { return m_lblState; }

protected:
    void DoDataExchange() override;
    void LayoutControls(BOOL first) override { LayoutContent(first); }
    void OnDestroy() override;

private:
    CDrawStateInfoStatic m_lblState;
    std::wstring m_strText;
};
