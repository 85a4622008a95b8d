// The Win32 half of the framework layer: files, command targets with their
// message maps, the application object, windows and modal dialogs.
#ifndef AFX_AFXWIN_H
#define AFX_AFXWIN_H

#include "afx.h"

#include <windows.h>

// --- Unicode at the platform's edge ---------------------------------------

// Whether the system is of the NT family (GetVersion's high bit clear),
// whose calls take Unicode; Windows 9x takes the machine's code page.
inline bool AfxIsNTFamily()
{
    return (::GetVersion() & 0x80000000u) == 0;
}

// A function of a loaded system DLL, looked up at run time: Windows 95
// lacks most wide functions. Null when the DLL or the function is missing.
FARPROC AfxSystemProc(const char* module, const char* name);
template <typename Function>
Function AfxSystemFunction(const char* module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(AfxSystemProc(module, name)));
}
// A wide function of the NT family; null on Windows 9x, which keeps to its
// ANSI calls.
FARPROC AfxWideProc(const char* module, const char* name);
template <typename Function>
Function AfxWideFunction(const char* module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(AfxWideProc(module, name)));
}

// A text of a code page as the system's wide text, for one wide call.
class CWideText {
public:
    CWideText(const char* text, UINT codePage);
    ~CWideText();

    operator const WCHAR*() const { return m_pText; }
    // The length in UTF-16 units, without the terminating zero.
    int GetLength() const { return m_nLength; }

private:
    CWideText(const CWideText&) = delete;
    CWideText& operator=(const CWideText&) = delete;

    WCHAR* m_pText;
    int m_nLength;
};

// Wide text as UTF-8, the code page the launcher keeps the program's
// folder and command lines in on the NT family.
CString AfxUtf8FromWide(const WCHAR* text);
// A text of a code page as UTF-8.
CString AfxUtf8(const char* text, UINT codePage);

// --- Files -----------------------------------------------------------------

// Why a file operation failed.
class CFileException {
public:
    enum { none, generic };
};

// The file exception. This framework is built without C++ exceptions and
// nothing would catch this one: it ends the process quietly (AfxAbort).
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError);

// A file opened through the platform, closed at the latest when destroyed.
class CFile {
public:
    enum OpenFlags { modeRead = 0x0000, shareDenyWrite = 0x0020 };

    CFile() : m_hFile(INVALID_HANDLE_VALUE) {}
    ~CFile() { Close(); }

    // Opens for reading with the given sharing; FALSE if it can't be opened.
    BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    ULONGLONG GetLength() const;
    // Reads up to nCount bytes; a read error raises the file exception.
    UINT Read(void* lpBuf, UINT nCount);
    void Close();

private:
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    HANDLE m_hFile;
};

// --- Command targets and message maps -------------------------------------

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();
typedef HCURSOR (CCmdTarget::*AFX_PMSG_CURSOR)();

// How a handler is called: its arguments and what it gives back.
enum AfxSig {
    AfxSig_end = 0,
    AfxSig_vv,  // void handler()
    AfxSig_hv,  // HCURSOR handler(): a handle as the message's result
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message, WM_COMMAND for a command
    UINT nID;       // command id, 0 for other messages
    AfxSig nSig;
    AFX_PMSG pfn;               // for AfxSig_vv
    AFX_PMSG_CURSOR pfnCursor;  // for AfxSig_hv
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

// The entries of a class's map, and the link to its base class's map.
#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        using ThisClass [[maybe_unused]] = theClass; \
        using TheBaseClass = baseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, AfxSig_end, nullptr, nullptr } \
        }; \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, _messageEntries }; \
        return &messageMap; \
    }

#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, (id), AfxSig_vv, static_cast<AFX_PMSG>(&memberFxn), nullptr },

#define ON_WM_PAINT() \
    { WM_PAINT, 0, AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::OnPaint), nullptr },

#define ON_WM_QUERYDRAGICON() \
    { WM_QUERYDRAGICON, 0, AfxSig_hv, nullptr, \
      static_cast<AFX_PMSG_CURSOR>(&ThisClass::OnQueryDragIcon) },

// An object that takes commands and messages through its message map.
class CCmdTarget : public CObject {
public:
    // Finds the handler of a message in this class's map or a base class's.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nID) const;
    // Calls the handler of a command; FALSE if no map has one.
    BOOL OnCmdMsg(UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
};

// --- The application ------------------------------------------------------

class CWnd;

#define ID_HELP 0xE146

// The one application object. The program entry calls InitInstance once,
// then ExitInstance, and the process ends: there is no message loop.
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // Called by the program entry once, to do the program's work.
    virtual BOOL InitInstance() = 0;
    // The exit processing; its result becomes the process's exit code.
    virtual int ExitInstance() { return 0; }

    // Asks for 3D drawing of dialog controls. Windows 4.0 and later draw
    // them so by themselves; on XP and later the system's look is that of
    // the common controls 6, which the manifest names and which the first
    // dialog loads then. Loads nothing itself: a run without a dialog needs
    // no GUI DLL.
    BOOL Enable3dControlsStatic()
    {
        m_b3dControls = TRUE;
        return TRUE;
    }

    // The standard help command (F1): opens nothing.
    void OnHelp();

    CWnd* m_pMainWnd;
    BOOL m_b3dControls;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();

// --- Windows and dialogs --------------------------------------------------

class CDataExchange;

// A window of the program, bound to its object while the window exists.
class CWnd : public CCmdTarget {
public:
    CWnd() : m_hWnd(nullptr), m_pCurrentMsg(nullptr), m_bInDefault(FALSE) {}
    ~CWnd() override;

    void SetWindowText(const char* lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    void SetDlgItemText(int nID, const char* lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    // Sets a text of a code page (0: the machine's): as Unicode on the NT
    // family, where dialogs are made wide, else as it is.
    void SetWindowText(const char* lpszString, UINT codePage);
    void SetDlgItemText(int nID, const char* lpszString, UINT codePage);
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    // Moves data between the controls and the members: towards the members
    // when bSaveAndValidate, else towards the controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    HWND m_hWnd;

protected:
    // Overridden to exchange members with controls (DDX_ calls).
    virtual void DoDataExchange(CDataExchange*) {}

    // Default processing of the message being handled.
    LRESULT Default();

    // Routes a message through the message map; FALSE if no entry has it.
    BOOL OnWndMsg(const MSG& msg, LRESULT* pResult);

    const MSG* m_pCurrentMsg;
    BOOL m_bInDefault;
};

// A modal dialog from a template in the program's resources.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog: the value given to EndDialog, or -1 if the template
    // can't be loaded or the window can't be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

protected:
    // Set before DoModal: the dialog is made mirrored, right to left, where
    // the system can mirror windows.
    BOOL m_bRightToLeft;
    // Set before DoModal: the code page of the dialog's texts (0: the
    // machine's). Where it is another, the dialog's font is asked for in its
    // character set, so that the font mapper picks one with its letters.
    UINT m_nCodePage;

    // Called once the window exists, before it is shown; TRUE gives the
    // focus to the first tab stop. The base fills the controls.
    virtual BOOL OnInitDialog();
    // The Yes/OK button: takes the controls' data, then ends with IDOK.
    virtual void OnOK();
    // The No/Cancel button, Esc and the close box: ends with IDCANCEL.
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(const MSG& msg);
    BOOL HandleInitDialog();

    UINT m_nIDTemplate;
    int m_nCharSet;  // the character set asked for, -1 for the template's
    HFONT m_hCharSetFont;  // FontInCharSet's, while the dialog runs
    CWnd* m_pParentWnd;
    const void* m_lpDialogTemplate;  // while the dialog runs
    DWORD m_nTemplateSize;
};

// The direction and the window of one data exchange.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// A check box's state and an int: 0 clear, 1 ticked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);

// Painting of a window between BeginPaint and EndPaint.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }

    HDC GetSafeHdc() const { return m_hDC; }

private:
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HWND m_hWnd;
    HDC m_hDC;
    PAINTSTRUCT m_ps;
};

#endif
