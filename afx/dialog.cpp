// Modal dialogs: the template from the program's resources, the system's
// modal loop, and the framework's work around the initialisation handler.
#include "afxwin.h"

#include "dlgtemplate.h"
#include "dllsearch.h"

#include <cstdlib>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, CDialog::OnOK)
    ON_COMMAND(IDCANCEL, CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_bRightToLeft(FALSE), m_nCodePage(0), m_nIDTemplate(nIDTemplate), m_nCharSet(-1), m_hCharSetFont(nullptr),
      m_pParentWnd(pParentWnd), m_lpDialogTemplate(nullptr),
      m_nTemplateSize(0)
{
}

namespace {

// The common controls 6 that the manifest names, the system's look on XP
// and later; Windows 9x, NT 4 and 2000 ignore the manifest. Loaded by bare
// name, which the manifest redirects to the side-by-side version 6 before
// any folder is searched: a full path would load the system folder's
// version 5. XP needs them initialised before such a dialog is made.
void LoadCommonControls6()
{
    DWORD version = ::GetVersion();
    BYTE major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
    if ((version & 0x80000000u) || major < 5 || (major == 5 && minor < 1))
        return;
    HMODULE hComCtl = ::LoadLibraryA("comctl32.dll");
    FARPROC init = hComCtl ? ::GetProcAddress(hComCtl, "InitCommonControls") : nullptr;
    if (init)
        reinterpret_cast<void(WINAPI*)()>(reinterpret_cast<void (*)()>(init))();
}

// The character set of a code page, -1 where GDI32 can't tell (UTF-8);
// looked up at run time, as the build's list of GDI32 functions lacks it.
int CharSetOfCodePage(UINT codePage)
{
    typedef BOOL(WINAPI * Translate)(DWORD*, CHARSETINFO*, DWORD);
    Translate translate = AfxSystemFunction<Translate>("GDI32.DLL", "TranslateCharsetInfo");
    CHARSETINFO info;
    if (!translate || !translate(reinterpret_cast<DWORD*>(static_cast<ULONG_PTR>(codePage)), &info, TCI_SRCCODEPAGE))
        return -1;
    return static_cast<int>(info.ciCharset);
}

// The font a dialog is made with. On a double-byte system dialogs use the
// face and size of the default GUI font: the template's "MS Sans Serif"
// can't show those scripts. Texts of a code page other than the machine's
// ask for its character set too (with the default GUI font's face, which
// has more scripts than "MS Sans Serif"), so that the font mapper picks a
// font with their letters. Returns a copy of the template to use instead,
// or null to use it as it is.
void* TemplateForSystemFont(const void* tmpl, DWORD size, int charSet)
{
    if (charSet < 0 && !::GetSystemMetrics(SM_DBCSENABLED))
        return nullptr;
    LOGFONTA lf;
    if (!::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf))
        return nullptr;
    char16_t face[LF_FACESIZE];
    int n = ::MultiByteToWideChar(CP_ACP, 0, lf.lfFaceName, -1, reinterpret_cast<wchar_t*>(face), LF_FACESIZE);
    if (n <= 0)
        return nullptr;
    face[LF_FACESIZE - 1] = 0;

    int pointSize = 8;
    if (lf.lfHeight != 0) {
        HDC hDC = ::GetDC(nullptr);
        int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        int computed = ::MulDiv(height, 72, ::GetDeviceCaps(hDC, LOGPIXELSY));
        ::ReleaseDC(nullptr, hDC);
        if (computed > 0)
            pointSize = computed;
    }

    size_t capacity = size + 2 * LF_FACESIZE + 8;
    void* copy = std::malloc(capacity);
    if (copy && SetDialogTemplateFont(tmpl, size, static_cast<uint16_t>(pointSize), face, copy, capacity, charSet))
        return copy;
    std::free(copy);
    return nullptr;
}

// Wine's dialog manager makes the template's font in the default character
// set, whatever the template asks for. Where the dialog's font is not in
// the character set asked for, its controls get a copy that is, which the
// font mapper gives the letters of that set; returns it, or null.
HFONT FontInCharSet(HWND hDlg, int charSet)
{
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hDlg, WM_GETFONT, 0, 0));
    LOGFONTA lf;
    if (charSet < 0 || !hFont || !::GetObjectA(hFont, sizeof lf, &lf) || lf.lfCharSet == charSet)
        return nullptr;
    lf.lfCharSet = static_cast<BYTE>(charSet);
    HFONT hCopy = ::CreateFontIndirectA(&lf);
    for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hCopy && hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessageA(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(hCopy), FALSE);
    return hCopy;
}

// Mirrors the windows made from here on, as Windows mirrors a program whose
// resources read right to left; their texts then read right to left too.
// Windows 2000 and later and the Arabic and Hebrew editions of 98 and ME
// can; elsewhere USER32 lacks the call and the dialog is made as it is.
void MirrorNewWindows()
{
    HMODULE hUser = ::GetModuleHandleA("USER32.DLL");
    FARPROC set = hUser ? ::GetProcAddress(hUser, "SetProcessDefaultLayout") : nullptr;
    if (set)
        reinterpret_cast<BOOL(WINAPI*)(DWORD)>(reinterpret_cast<void (*)()>(set))(LAYOUT_RTL);
}

}

INT_PTR CDialog::DoModal()
{
    // The DLLs a dialog brings in, before anything of USER32 is called.
    PreloadDialogDlls();
    if (AfxGetApp() && AfxGetApp()->m_b3dControls)
        LoadCommonControls6();

    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(m_nIDTemplate), reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const void* tmpl = hTemplate ? ::LockResource(hTemplate) : nullptr;
    if (!tmpl)
        return -1;
    DWORD size = ::SizeofResource(hInst, hRes);
    // GDI32 is loaded by its first call, which the stock font makes.
    m_nCharSet = -1;
    if (m_nCodePage != 0 && ::GetStockObject(DEFAULT_GUI_FONT) && m_nCodePage != ::GetACP())
        m_nCharSet = CharSetOfCodePage(m_nCodePage);
    void* adjusted = TemplateForSystemFont(tmpl, size, m_nCharSet);
    m_lpDialogTemplate = adjusted ? adjusted : tmpl;
    m_nTemplateSize = size;
    // USER32 is loaded by now: the template's font was chosen through it.
    if (m_bRightToLeft)
        MirrorNewWindows();

    // On the NT family the dialog is made wide: one made by the ANSI call
    // converts its title through the machine's code page.
    HWND hWndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    typedef INT_PTR(WINAPI * DialogBoxW)(HINSTANCE, LPCDLGTEMPLATEW, HWND, DLGPROC, LPARAM);
    DialogBoxW dialogBoxW =
        AfxWideFunction<DialogBoxW>("USER32.DLL", "DialogBoxIndirectParamW");
    INT_PTR result =
        dialogBoxW ? dialogBoxW(hInst, static_cast<LPCDLGTEMPLATEW>(m_lpDialogTemplate), hWndParent, DialogProc,
                                reinterpret_cast<LPARAM>(this))
                   : ::DialogBoxIndirectParamA(hInst, static_cast<LPCDLGTEMPLATEA>(m_lpDialogTemplate), hWndParent,
                                               DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    m_lpDialogTemplate = nullptr;
    std::free(adjusted);
    if (m_hCharSetFont)
        ::DeleteObject(m_hCharSetFont);
    m_hCharSetFont = nullptr;
    return result;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* pDlg;
    if (message == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    } else {
        pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (!pDlg || pDlg->m_bInDefault)
        return FALSE;
    MSG msg = { hWnd, message, wParam, lParam, 0, { 0, 0 } };
    return pDlg->HandleMessage(msg);
}

INT_PTR CDialog::HandleMessage(const MSG& msg)
{
    switch (msg.message) {
    case WM_INITDIALOG:
        return HandleInitDialog();
    case WM_HELP:
        // F1: the help command, for the dialog or else the application.
        if (!OnCmdMsg(ID_HELP) && AfxGetApp())
            AfxGetApp()->OnCmdMsg(ID_HELP);
        return TRUE;
    case WM_NCDESTROY:
        if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this)
            AfxGetApp()->m_pMainWnd = nullptr;
        m_hWnd = nullptr;
        return FALSE;
    }
    LRESULT result = 0;
    if (!OnWndMsg(msg, &result))
        return FALSE;
    // A dialog procedure returns the drag icon itself, not a flag.
    if (msg.message == WM_QUERYDRAGICON)
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// Runs the initialisation handler, then centres a dialog that nothing
// placed: hidden, not moved meanwhile, without an enabled owner, and put
// at (0, 0) by a template that doesn't ask for a placement of its own.
BOOL CDialog::HandleInitDialog()
{
    m_hCharSetFont = FontInCharSet(m_hWnd, m_nCharSet);
    RECT before;
    ::GetWindowRect(m_hWnd, &before);
    BOOL bSetFocus = OnInitDialog();
    if (!m_hWnd)
        return FALSE;

    RECT after;
    ::GetWindowRect(m_hWnd, &after);
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    DialogTemplateHeader header;
    const DWORD placementStyles = DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN;
    if (!(::GetWindowLongA(m_hWnd, GWL_STYLE) & (WS_VISIBLE | WS_CHILD)) &&
        before.left == after.left && before.top == after.top &&
        (!hOwner || !::IsWindowEnabled(hOwner)) &&
        ReadDialogTemplateHeader(m_lpDialogTemplate, m_nTemplateSize, header) &&
        header.x == 0 && header.y == 0 && !(header.style & placementStyles)) {
        RECT work;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        int width = after.right - after.left;
        int height = after.bottom - after.top;
        int x = work.left + (work.right - work.left - width) / 2;
        int y = work.top + (work.bottom - work.top - height) / 2;
        ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return bSetFocus;
}
