#include "confirmdlg.h"

#include "iconplace.h"
#include "app/launcher.h"
#include "nls/lookup.h"
#include "res/resource.h"

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

BOOL CConfirmDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAIN));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // A text that neither language has leaves its control as the template
    // made it: the buttons keep "Yes" and "No", the rest stays empty.
    const LanguageCodes& codes = AppLanguageCodes();
    CString text;
    if (LookupText(codes, text, kPackageName))
        SetWindowText(text);
    static const struct {
        TextRole role;
        int nID;
    } items[] = {
        { kQuestion, IDC_INST },
        { kReadmeCaption, IDC_README },
        { kYesCaption, IDOK },
        { kNoCaption, IDCANCEL },
    };
    for (const auto& item : items)
        if (LookupText(codes, text, item.role))
            SetDlgItemText(item.nID, text);
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
