// Dialogs made from the program's own templates, modal (our own loop) or modeless.
#pragma once

#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally: disables its owner, pre-translates every message, and returns
    // the value given to EndDialog (-1 when the window could not be created).
    INT_PTR DoModal();
    // Creates the dialog modelessly with the given parent (owner, for a popup template).
    BOOL Create(UINT templateId, CWnd* parent);
    void EndDialog(int result);

    BOOL PreTranslateMessage(MSG* msg) override;

    UINT TemplateId() const { return m_templateId; }
    bool IsModal() const { return m_modal; }

protected:
    // The base binds the template controls (DoDataExchange) and returns TRUE.
    virtual BOOL OnInitDialog();
    // The window and its template controls exist, nothing is bound yet: a dialog moved here
    // lays its controls out once, at its real size.
    virtual void OnTemplateCreated() {}
    virtual void DoDataExchange() {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Shows a modal dialog left hidden by its initialisation, once its loop first goes idle.
    virtual void ShowWhenIdle();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Binds a member control to the template control with that id.
    void DDX_Control(int id, CWnd& control);

    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND owner);
    void CenterWindow(HWND owner);

    UINT m_templateId;
    bool m_modal = false;
    bool m_endModal = false;
    INT_PTR m_modalResult = -1;
};
