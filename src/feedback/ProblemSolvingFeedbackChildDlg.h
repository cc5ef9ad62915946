// The feedback dialog's content window: the close cross, the two answers and the button that
// opens the knowledge base, on the dark blue panel whose title band drags the pair.
#pragma once

#include "feedback/FeedbackDll.h"
#include "skin/ImageButton.h"
#include "skin/PngButton.h"
#include "skin/SkinDialog.h"

#include <ctime>
#include <string>

// Where the controls go in a client rectangle at a scale: the close cross, then the solved,
// not-solved and more buttons with their backdrop source rectangles and hit-area insets.
struct FeedbackLayout {
    RECT close;
    RECT buttons[3];
    RECT backdrops[3];
    int hotInset;
};
FeedbackLayout LayoutFeedback(const RECT& client, float scale);

// The seconds since 1970-01-01 UTC of a time, as the decimal text of its low 32 bits.
std::wstring FeedbackTimeText(__time64_t now);

class CProblemSolvingFeedbackChildDlg : public CSkinContentDlg {
public:
    explicit CProblemSolvingFeedbackChildDlg(CWnd* parent = nullptr);

    void SetFeedback(CFeedbackDll* feedback, const ToolIdentity& tool)
    {
        m_pFeedback = feedback;
        m_tool = tool;
    }

    CPngButton& CloseButton() { return m_btnClose; }
    CImageButton& SolvedButton() { return m_btnSolved; }
    CImageButton& UnsolvedButton() { return m_btnUnsolved; }
    CImageButton& MoreButton() { return m_btnMore; }

protected:
    void DoDataExchange() override;
    void LayoutControls(BOOL first) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // Reports the answer (when there is a binding) and closes the dialog, once.
    void Answer(int code);
    void OpenKnowledgeBase();

    RECT m_rcClient{};
    CPngButton m_btnClose;
    CImageButton m_btnSolved;
    CImageButton m_btnUnsolved;
    CImageButton m_btnMore;
    CFeedbackDll* m_pFeedback = nullptr;
    ToolIdentity m_tool{L"", L""};
    BOOL m_bAnswered = FALSE;
};
