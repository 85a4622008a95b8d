// CConfirmDlg: the launcher's one window. Asks, in the user's language,
// whether to install, and offers to show the readme afterwards.
#ifndef UI_CONFIRMDLG_H
#define UI_CONFIRMDLG_H

#include "afx/afxwin.h"

class CConfirmDlg : public CDialog {
public:
    explicit CConfirmDlg(CWnd* pParent = nullptr);
    ~CConfirmDlg() override;

    BOOL m_bShowReadme;  // the readme check box: 0 clear, 1 ticked

    // Runs the dialog, mirrored where the language reads right to left.
    INT_PTR DoModal() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Sets the icons and the localized texts.
    BOOL OnInitDialog() override;

    // Draws the icon in the middle of the minimised window.
    void OnPaint();
    // The cursor for dragging the minimised window: the icon.
    HCURSOR OnQueryDragIcon();

    HICON m_hIcon;

    // The texts the dialog shows, looked up before its window is made, each
    // with its code page; m_bTextFound[i] is FALSE for a text that neither
    // language has.
    enum { kShownTexts = 5 };
    CString m_texts[kShownTexts];
    UINT m_textCodePages[kShownTexts];
    BOOL m_bTextFound[kShownTexts];

    DECLARE_MESSAGE_MAP()
};

#endif
