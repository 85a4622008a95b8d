// Faults reach a program as Windows reports them: an access violation as
// c0000005 with its address and whether it read or wrote, a division by
// zero as c0000094, a stack overflow as c00000fd, and IsBadReadPtr answers
// from them. Under qemu's emulation of 32-bit programs this holds only
// with the trap-number fix that install-deps.sh preloads (fault_check.sh
// runs this program without it too).
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

// What the vectored handler saw of the faulting thread's first exception.
struct Fault {
    DWORD code;
    ULONG_PTR access;   // ExceptionInformation[0] of an access violation: 0 read, 1 write
    ULONG_PTR address;  // ExceptionInformation[1]
};

DWORD g_faultingThread;
Fault g_fault;
char g_landingStack[16384];

void WINAPI LeaveThread()
{
    ExitThread(0);
}

// Records the faulting thread's exception and ends the thread on a stack
// of its own, which a stack overflow has no room left for.
LONG CALLBACK RecordFault(EXCEPTION_POINTERS* info)
{
    if (GetCurrentThreadId() != g_faultingThread)
        return EXCEPTION_CONTINUE_SEARCH;
    const EXCEPTION_RECORD* rec = info->ExceptionRecord;
    g_fault.code = rec->ExceptionCode;
    g_fault.access = rec->NumberParameters >= 1 ? rec->ExceptionInformation[0] : ~ULONG_PTR(0);
    g_fault.address = rec->NumberParameters >= 2 ? rec->ExceptionInformation[1] : ~ULONG_PTR(0);
    g_faultingThread = 0;
    CONTEXT* ctx = info->ContextRecord;
    ctx->Esp = reinterpret_cast<DWORD>(g_landingStack + sizeof g_landingStack - 16);
    ctx->Eip = reinterpret_cast<DWORD>(&LeaveThread);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Volatile itself, so that the compiler doesn't see the address it reads.
volatile int* volatile g_lowAddress = reinterpret_cast<volatile int*>(0x10);
volatile int* g_readOnly;
volatile int g_zero;
volatile int g_dividend = 7;
volatile int g_sink;

DWORD WINAPI ReadLowAddress(void*)
{
    g_sink = *g_lowAddress;
    return 0;
}

DWORD WINAPI WriteReadOnlyPage(void*)
{
    *g_readOnly = 1;
    return 0;
}

DWORD WINAPI DivideByZero(void*)
{
    g_sink = g_dividend / g_zero;
    return 0;
}

int Recurse(int depth)
{
    volatile char page[4096];
    page[0] = static_cast<char>(depth);
    return depth > 1000000 ? page[0] : Recurse(depth + 1) + page[0];
}

DWORD WINAPI OverflowStack(void*)
{
    g_sink = Recurse(0);
    return 0;
}

// Runs one faulting function on a thread of its own and returns what the
// handler saw; code 0 if the thread ended without a fault.
Fault RunFaulting(LPTHREAD_START_ROUTINE function)
{
    g_fault = { 0, ~ULONG_PTR(0), ~ULONG_PTR(0) };
    HANDLE hThread = CreateThread(nullptr, 256 * 1024, function, nullptr, CREATE_SUSPENDED, &g_faultingThread);
    if (!hThread)
        return g_fault;
    ResumeThread(hThread);
    WaitForSingleObject(hThread, 30000);
    CloseHandle(hThread);
    g_faultingThread = 0;
    return g_fault;
}

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override { m_handler = AddVectoredExceptionHandler(1, RecordFault); }
    void TearDown() override { RemoveVectoredExceptionHandler(m_handler); }

    void* m_handler = nullptr;
};

TEST_F(FaultTest, EachFaultAsWindowsReportsIt)
{
    g_readOnly = static_cast<volatile int*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READONLY));
    ASSERT_TRUE(g_readOnly != nullptr);
    const ULONG_PTR kAny = ~ULONG_PTR(1);
    const struct {
        const char* what;
        LPTHREAD_START_ROUTINE function;
        DWORD code;
        ULONG_PTR access;
        ULONG_PTR address;
    } rows[] = {
        /* 0 */ { "a read of address 0x10", ReadLowAddress, EXCEPTION_ACCESS_VIOLATION, 0, 0x10 },
        /* 1 */ { "a write to a read-only page", WriteReadOnlyPage, EXCEPTION_ACCESS_VIOLATION, 1,
                  reinterpret_cast<ULONG_PTR>(g_readOnly) },
        /* 2 */ { "an integer division by zero", DivideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO, kAny, kAny },
        /* 3 */ { "a stack overflow", OverflowStack, EXCEPTION_STACK_OVERFLOW, kAny, kAny },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; i++) {
        Fault fault = RunFaulting(rows[i].function);
        EXPECT_EQ(rows[i].code, fault.code) << "row " << i << ", " << rows[i].what << ": expected exception "
                                             << std::hex << rows[i].code << ", got " << fault.code;
        if (rows[i].access != kAny) {
            EXPECT_EQ(rows[i].access, fault.access) << "row " << i << ", " << rows[i].what << ": read (0) or write (1)";
            EXPECT_EQ(rows[i].address, fault.address) << "row " << i << ", " << rows[i].what << ": address";
        }
    }
    VirtualFree(const_cast<int*>(g_readOnly), 0, MEM_RELEASE);
}

TEST(Probes, IsBadPtrAnswersFromTheFault)
{
    static const char readable[4] = "abc";
    void* readOnly = VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READONLY);
    ASSERT_TRUE(readOnly != nullptr);
    EXPECT_TRUE(IsBadReadPtr(nullptr, 1));
    EXPECT_TRUE(IsBadReadPtr(reinterpret_cast<const void*>(0x10), 4));
    EXPECT_FALSE(IsBadReadPtr(readable, sizeof readable));
    EXPECT_TRUE(IsBadWritePtr(readOnly, 4));
    EXPECT_FALSE(IsBadReadPtr(readOnly, 4));
    EXPECT_EQ(0, lstrlenA(nullptr));
    VirtualFree(readOnly, 0, MEM_RELEASE);
}

}
