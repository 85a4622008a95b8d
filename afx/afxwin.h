// The Win32 half of the framework layer: files, command targets with their
// message maps, the application object and the program entry that runs it.
#ifndef AFX_AFXWIN_H
#define AFX_AFXWIN_H

#include "afx.h"

#include <windows.h>

// --- Files -----------------------------------------------------------------

// Why a file operation failed; raised by CFile on a read error.
class CFileException {
public:
    enum { none, generic };
};

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

// How a handler is called: its arguments and what it gives back.
enum AfxSig { AfxSig_end = 0, AfxSig_vv, AfxSig_hv };

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message, WM_COMMAND for a command
    UINT nID;       // command id, 0 for other messages
    AfxSig nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP messageMap; \
    static const AFX_MSGMAP_ENTRY _messageEntries[]; \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; } \
    const AFX_MSGMAP theClass::messageMap = { &baseClass::messageMap, &theClass::_messageEntries[0] }; \
    const AFX_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define END_MESSAGE_MAP() \
    { 0, 0, AfxSig_end, nullptr } };

#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, (id), AfxSig_vv, static_cast<AFX_PMSG>(&memberFxn) },

// An object that takes commands and messages through its message map.
class CCmdTarget : public CObject {
public:
    // Finds the handler of a message in this class's map or a base class's.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nID) const;

protected:
    static const AFX_MSGMAP messageMap;
    virtual const AFX_MSGMAP* GetMessageMap() const { return &messageMap; }
};

// --- The application ------------------------------------------------------

class CWnd;

#define ID_HELP 0xE146

// The one application object. The program entry calls InitInstance once;
// when it returns FALSE the entry runs ExitInstance and the process ends.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    // Called by the program entry once, to do the program's work.
    virtual BOOL InitInstance() = 0;
    // The exit processing; its result becomes the process's exit code.
    virtual int ExitInstance() { return 0; }

    // Asks for 3D drawing of dialog controls. Windows 4.0 and later draw
    // them so by themselves, and this framework supports nothing older.
    BOOL Enable3dControlsStatic() { return FALSE; }

    // Opens the program's help file, when there is one beside it.
    void OnHelp();

    const char* m_pszAppName;
    CWnd* m_pMainWnd;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();

#endif
