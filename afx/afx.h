// The platform-free half of the framework layer: the root class with its
// run-time class records, and the reference-counted 8-bit string.
// Nothing here includes Windows headers, so it builds natively too.
#ifndef AFX_AFX_H
#define AFX_AFX_H

#include <cstddef>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Ends the process quietly: the framework's answer to an exception that no
// one catches (this framework is built without C++ exceptions).
[[noreturn]] void AfxAbort();
[[noreturn]] void AfxThrowMemoryException();

class CObject;
class CArchive;

// What a class tells about itself at run time: its name and object size.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;
};

// Root of the framework's classes that carry a run-time class record.
class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() {}
    virtual void Serialize(CArchive&) {}

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() {}

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    const CRuntimeClass class_name::class##class_name = { \
        #class_name, sizeof(class_name), RUNTIME_CLASS(base_class_name) }; \
    const CRuntimeClass* class_name::GetRuntimeClass() const \
    { return RUNTIME_CLASS(class_name); }

// An 8-bit string in the system code page. Copies share one buffer until
// one of them changes; the length excludes the terminating zero byte.
class CString {
public:
    CString();
    CString(const char* psz);
    CString(const CString& other);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(const char* psz);
    CString& operator+=(const char* psz);
    CString& operator+=(const CString& other);

    int GetLength() const;
    bool IsEmpty() const { return GetLength() == 0; }
    void Empty();
    operator const char*() const { return m_pchData; }

    // Direct access for platform calls that fill a buffer: GetBuffer gives
    // room for at least nMinLength characters and a zero byte; ReleaseBuffer
    // takes the length up to the first zero byte.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer();

private:
    struct Data;
    static Data* AllocData(int nLength);
    static char* EmptyString();
    Data* GetData() const;
    void Assign(const char* psz, int nLength);
    void Append(const char* psz, int nLength);
    void Release();

    char* m_pchData;
};

CString operator+(const CString& left, const char* right);

#endif
