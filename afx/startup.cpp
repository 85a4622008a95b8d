// The program's own start-up code, in place of a C runtime DLL that
// Windows 95 doesn't ship: the entry point, static constructors and
// destructors, memory from the process heap, and the few memory and string
// routines the launcher uses. setup.exe links this instead of the C
// runtime; the test programs link the C runtime and not this.
#include "afxwin.h"
#include "dllsearch.h"

#include <delayimp.h>

#include <cstdlib>
#include <cstring>

// Keeps the compiler from turning these loops into calls of themselves.
#define NO_LIBCALLS __attribute__((optimize("no-tree-loop-distribute-patterns")))

extern "C" {

// --- Memory -------------------------------------------------------------

void* malloc(size_t size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void free(void* p)
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

NO_LIBCALLS void* memcpy(void* dest, const void* src, size_t n)
{
    char* d = static_cast<char*>(dest);
    const char* s = static_cast<const char*>(src);
    while (n--)
        *d++ = *s++;
    return dest;
}

NO_LIBCALLS void* memmove(void* dest, const void* src, size_t n)
{
    char* d = static_cast<char*>(dest);
    const char* s = static_cast<const char*>(src);
    if (d < s) {
        while (n--)
            *d++ = *s++;
    } else {
        while (n--)
            d[n] = s[n];
    }
    return dest;
}

NO_LIBCALLS void* memset(void* dest, int c, size_t n)
{
    char* d = static_cast<char*>(dest);
    while (n--)
        *d++ = static_cast<char>(c);
    return dest;
}

NO_LIBCALLS int memcmp(const void* a, const void* b, size_t n)
{
    const unsigned char* p = static_cast<const unsigned char*>(a);
    const unsigned char* q = static_cast<const unsigned char*>(b);
    for (; n; --n, ++p, ++q)
        if (*p != *q)
            return *p - *q;
    return 0;
}

NO_LIBCALLS void* memchr(const void* s, int c, size_t n)
{
    const unsigned char* p = static_cast<const unsigned char*>(s);
    for (; n; --n, ++p)
        if (*p == static_cast<unsigned char>(c))
            return const_cast<unsigned char*>(p);
    return nullptr;
}

// --- Strings ------------------------------------------------------------

NO_LIBCALLS size_t strlen(const char* s)
{
    const char* p = s;
    while (*p)
        ++p;
    return static_cast<size_t>(p - s);
}

char* strchr(const char* s, int c)
{
    for (;; ++s) {
        if (*s == static_cast<char>(c))
            return const_cast<char*>(s);
        if (!*s)
            return nullptr;
    }
}

char* strstr(const char* haystack, const char* needle)
{
    size_t n = strlen(needle);
    for (; *haystack; ++haystack)
        if (memcmp(haystack, needle, n) == 0)
            return const_cast<char*>(haystack);
    return n == 0 ? const_cast<char*>(haystack) : nullptr;
}

// --- Static destructors and the end of the process -----------------------

// Destructors of static objects, registered by the compiler's code as the
// objects are made; run in reverse at the end. The launcher has a few.
namespace {
void (*g_atExit[16])();
int g_nAtExit;
}

int atexit(void (*fn)())
{
    if (g_nAtExit == sizeof g_atExit / sizeof g_atExit[0])
        return -1;
    g_atExit[g_nAtExit++] = fn;
    return 0;
}

void _exit(int status)
{
    ExitProcess(static_cast<UINT>(status));
}

void __cxa_pure_virtual()
{
    AfxAbort();
}

// --- Loading USER32 and GDI32 on first use -------------------------------

// The image's own header, where the delay-load records' addresses start.
extern IMAGE_DOS_HEADER __ImageBase;

// Called by a delay-load stub on the first call of its function: loads
// the DLL once (the dialog has loaded it from the system folder already),
// finds the function by name or ordinal, and puts it in the stub's slot.
// A DLL or function the system lacks ends the process quietly. Small
// where the toolchain's helper, with its hooks and unwind tables, is two
// kilobytes.
FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr pidd, FARPROC* slot)
{
    BYTE* base = reinterpret_cast<BYTE*>(&__ImageBase);
    HMODULE* module = reinterpret_cast<HMODULE*>(base + pidd->rvaHmod);
    if (!*module && !(*module = LoadLibraryA(reinterpret_cast<const char*>(base + pidd->rvaDLLName))))
        AfxAbort();
    FARPROC* iat = reinterpret_cast<FARPROC*>(base + pidd->rvaIAT);
    DWORD entry = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + pidd->rvaINT)[slot - iat].u1.AddressOfData;
    const char* name = IMAGE_SNAP_BY_ORDINAL32(entry)
                           ? MAKEINTRESOURCEA(IMAGE_ORDINAL32(entry))
                           : reinterpret_cast<const char*>(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + entry)->Name);
    FARPROC function = GetProcAddress(*module, name);
    if (!function)
        AfxAbort();
    return *slot = function;
}

// The constructor list the linker gathers: a -1, the constructors, a 0.
extern void (*__CTOR_LIST__[])();

// The entry point: the DLL search restricted before anything can load a
// DLL by name, static construction, the application's start-up and exit
// processing, static destruction, and the process's end.
void WinMainCRTStartup()
{
    RestrictDllSearch();

    int n = 0;
    while (__CTOR_LIST__[n + 1])
        ++n;
    for (; n > 0; --n)
        __CTOR_LIST__[n]();

    int code = -1;
    if (CWinApp* pApp = AfxGetApp()) {
        // A start-up that succeeds would go on to a message loop; this
        // framework has none, since its one program does all its work
        // in InitInstance.
        pApp->InitInstance();
        code = pApp->ExitInstance();
    }

    while (g_nAtExit > 0)
        g_atExit[--g_nAtExit]();
    ExitProcess(static_cast<UINT>(code));
}

}

// --- new and delete, on the process heap ---------------------------------

void* operator new(size_t size)
{
    void* p = malloc(size ? size : 1);
    if (!p)
        AfxThrowMemoryException();
    return p;
}

void operator delete(void* p) noexcept
{
    free(p);
}

void operator delete(void* p, size_t) noexcept
{
    free(p);
}
