/* Preloaded into the 32-bit programs that run under qemu-user's emulation
 * of i386 programs (scripts/install-deps.sh sets that up on kernels that
 * run no 32-bit code).
 *
 * qemu hands every fault to the program with trap number -1 in the signal
 * frame. Wine tells faults apart by that number, so each access violation
 * became an illegal instruction and structured exception handling broke
 * (IsBadReadPtr, guard pages, every handler that expects c0000005). This
 * wraps sigaction: the handlers of the fault signals see the trap number a
 * real kernel reports, worked out from the signal and its si_code. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <ucontext.h>

/* The x86 trap numbers the kernel puts in the frame. */
enum {
    TRAP_DIVIDE = 0,
    TRAP_DEBUG = 1,
    TRAP_BREAKPOINT = 3,
    TRAP_INVALID_OPCODE = 6,
    TRAP_GENERAL_PROTECTION = 13,
    TRAP_PAGE_FAULT = 14,
    TRAP_FPU_ERROR = 16,
    TRAP_ALIGNMENT = 17,
};

typedef void (*info_handler)(int, siginfo_t*, void*);
typedef int (*sigaction_function)(int, const struct sigaction*, struct sigaction*);

/* The program's own handler of each fault signal, while ours stands in. */
static info_handler program_handlers[NSIG];

static int is_fault_signal(int sig)
{
    return sig == SIGSEGV || sig == SIGBUS || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP;
}

static int kernel_trap_number(int sig, const siginfo_t* info)
{
    switch (sig) {
    case SIGSEGV:
        /* SI_KERNEL: a general protection fault (a privileged or
         * interrupt instruction); else a page fault at si_addr. */
        return info->si_code == SI_KERNEL ? TRAP_GENERAL_PROTECTION : TRAP_PAGE_FAULT;
    case SIGBUS:
        return info->si_code == BUS_ADRALN ? TRAP_ALIGNMENT : TRAP_GENERAL_PROTECTION;
    case SIGILL:
        return TRAP_INVALID_OPCODE;
    case SIGFPE:
        return info->si_code == FPE_INTDIV ? TRAP_DIVIDE : TRAP_FPU_ERROR;
    default:
        return info->si_code == TRAP_TRACE ? TRAP_DEBUG : TRAP_BREAKPOINT;
    }
}

static void fault_handler(int sig, siginfo_t* info, void* context)
{
    greg_t* trapno = &((ucontext_t*)context)->uc_mcontext.gregs[REG_TRAPNO];
    if (*trapno == (greg_t)-1)
        *trapno = kernel_trap_number(sig, info);
    program_handlers[sig](sig, info, context);
}

int sigaction(int sig, const struct sigaction* act, struct sigaction* old)
{
    static sigaction_function real_sigaction;
    if (!real_sigaction)
        real_sigaction = (sigaction_function)dlsym(RTLD_NEXT, "sigaction");
    if (sig <= 0 || sig >= NSIG || !is_fault_signal(sig))
        return real_sigaction(sig, act, old);

    struct sigaction wrapped;
    info_handler previous = program_handlers[sig];
    if (act && (act->sa_flags & SA_SIGINFO)) {
        wrapped = *act;
        wrapped.sa_sigaction = fault_handler;
        program_handlers[sig] = act->sa_sigaction;
        act = &wrapped;
    }
    int result = real_sigaction(sig, act, old);
    if (result == 0 && old && (old->sa_flags & SA_SIGINFO) && old->sa_sigaction == fault_handler)
        old->sa_sigaction = previous;
    return result;
}

/* The variable that loaded this library is for the emulated program only:
 * a 64-bit program it starts could not load it. The emulator sets it again
 * for each 32-bit program. */
__attribute__((constructor)) static void forget_preload(void)
{
    unsetenv("LD_PRELOAD");
}
