#include "confirmdlg.h"

#include "iconplace.h"
#include "app/launcher.h"
#include "res/resource.h"

namespace {

// The template's picture of the icon, a static control without an id.
const int kPictureId = -1;

// The dialog's texts and where each goes: 0 is the title.
const struct {
    TextRole role;
    int nID;
} kShown[] = {
    { kPackageName, 0 },
    { kQuestion, IDC_INST },
    { kReadmeCaption, IDC_README },
    { kYesCaption, IDOK },
    { kNoCaption, IDCANCEL },
};

// Drawing on a mirrored window's device context reverses an icon and puts
// it at a distance from the right edge. Unmirrored (where GDI32 can mirror
// at all), the dialog's own icon is drawn as in a left-to-right window.
void Unmirror(HDC hDC)
{
    HMODULE hGdi = ::GetModuleHandleA("GDI32.DLL");
    FARPROC set = hGdi ? ::GetProcAddress(hGdi, "SetLayout") : nullptr;
    if (set)
        reinterpret_cast<DWORD(WINAPI*)(HDC, DWORD)>(reinterpret_cast<void (*)()>(set))(hDC, 0);
}

}

BEGIN_MESSAGE_MAP(CConfirmDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

// The icon is loaded with the window, not here: a silent run constructs the
// dialog too, and loading an icon would load USER32 for nothing.
CConfirmDlg::CConfirmDlg(CWnd* pParent) : CDialog(IDD_CONFIRM, pParent), m_bShowReadme(0), m_hIcon(nullptr)
{
}

CConfirmDlg::~CConfirmDlg() {}

void CConfirmDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_README, m_bShowReadme);
}

// The reading order and the texts are looked up only when the dialog is
// shown: a silent run doesn't need them. The first text found names the
// code page the dialog's font is chosen for.
INT_PTR CConfirmDlg::DoModal()
{
    CString order;
    UINT codePage;
    m_bRightToLeft = LookupAppText(kReadingOrder, order, codePage) && MeansRightToLeft(order);
    m_nCodePage = 0;
    for (int i = kShownTexts - 1; i >= 0; --i) {
        m_bTextFound[i] = LookupAppText(kShown[i].role, m_texts[i], m_textCodePages[i]);
        if (m_bTextFound[i])
            m_nCodePage = m_textCodePages[i];
    }
    return CDialog::DoModal();
}

BOOL CConfirmDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // A mirrored window's texts read right to left by themselves (a
    // right-to-left reading style would reverse them there), but its
    // controls would draw the icon reversed: the picture isn't mirrored.
    if (m_bRightToLeft) {
        HWND hPicture = ::GetDlgItem(m_hWnd, kPictureId);
        ::SetWindowLongA(hPicture, GWL_EXSTYLE, ::GetWindowLongA(hPicture, GWL_EXSTYLE) & ~WS_EX_LAYOUTRTL);
    }

    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAIN));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // A text that neither language has leaves its control as the template
    // made it: the buttons keep "Yes" and "No", the rest stays empty.
    for (int i = 0; i < kShownTexts; ++i) {
        if (!m_bTextFound[i])
            continue;
        if (kShown[i].nID == 0)
            SetWindowText(m_texts[i], m_textCodePages[i]);
        else
            SetDlgItemText(kShown[i].nID, m_texts[i], m_textCodePages[i]);
    }
    return TRUE;  // the focus goes to the first tab stop, the Yes button
}

void CConfirmDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    if (m_bRightToLeft)
        Unmirror(dc.GetSafeHdc());
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    ::DrawIcon(dc.GetSafeHdc(), CentredIconOffset(rect.right - rect.left, cxIcon),
               CentredIconOffset(rect.bottom - rect.top, cyIcon), m_hIcon);
}

HCURSOR CConfirmDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
