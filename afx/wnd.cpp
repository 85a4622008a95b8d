// Windows: message routing through the map, default processing, data
// exchange with controls.
#include "afxwin.h"

CWnd::~CWnd()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

namespace {

void SetTextOf(HWND hWnd, const char* text, UINT codePage)
{
    typedef BOOL(WINAPI * SetTextW)(HWND, LPCWSTR);
    SetTextW setTextW = AfxWideFunction<SetTextW>("USER32.DLL", "SetWindowTextW");
    if (setTextW)
        setTextW(hWnd, CWideText(text, codePage));
    else
        ::SetWindowTextA(hWnd, text);
}

}

void CWnd::SetWindowText(const char* lpszString, UINT codePage)
{
    SetTextOf(m_hWnd, lpszString, codePage);
}

void CWnd::SetDlgItemText(int nID, const char* lpszString, UINT codePage)
{
    SetTextOf(::GetDlgItem(m_hWnd, nID), lpszString, codePage);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

// A dialog's default processing is the dialog manager's. It calls the
// dialog procedure again first, which hands the message straight back
// while m_bInDefault is set.
LRESULT CWnd::Default()
{
    if (!m_pCurrentMsg)
        return 0;
    const MSG& msg = *m_pCurrentMsg;
    BOOL bWasInDefault = m_bInDefault;
    m_bInDefault = TRUE;
    LRESULT result = ::DefDlgProcA(m_hWnd, msg.message, msg.wParam, msg.lParam);
    m_bInDefault = bWasInDefault;
    return result;
}

BOOL CWnd::OnWndMsg(const MSG& msg, LRESULT* pResult)
{
    UINT nID = 0;
    if (msg.message == WM_COMMAND) {
        // Commands come from buttons (BN_CLICKED), menus and accelerators.
        if (HIWORD(msg.wParam) > 1)
            return FALSE;
        nID = LOWORD(msg.wParam);
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(msg.message, nID);
    if (!pEntry)
        return FALSE;

    const MSG* pPrevMsg = m_pCurrentMsg;
    m_pCurrentMsg = &msg;
    switch (pEntry->nSig) {
    case AfxSig_hv:
        *pResult = reinterpret_cast<LRESULT>((this->*pEntry->pfnCursor)());
        break;
    default:
        (this->*pEntry->pfn)();
        *pResult = 0;
        break;
    }
    m_pCurrentMsg = pPrevMsg;
    return TRUE;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hWndCtrl, BM_SETCHECK, value >= 0 && value <= 2 ? value : 0, 0);
}
