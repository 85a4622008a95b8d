// The application object and command routing through message maps.
#include "afxwin.h"

namespace {
CWinApp* g_pApp;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY noEntries[] = { { 0, 0, AfxSig_end, nullptr, nullptr } };
    static const AFX_MSGMAP messageMap = { nullptr, noEntries };
    return &messageMap;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p)
            if (p->nMessage == nMessage && p->nID == nID)
                return p;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, nID);
    if (!pEntry)
        return FALSE;
    (this->*pEntry->pfn)();
    return TRUE;
}

CWinApp::CWinApp() : m_pMainWnd(nullptr), m_b3dControls(FALSE)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    g_pApp = nullptr;
}

// A package has no help file, and a help viewer started by bare name would
// be found beside the launcher first: the help command opens nothing.
void CWinApp::OnHelp() {}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetResourceHandle()
{
    return GetModuleHandleA(nullptr);
}
