/* A tiny firmware for the Arm MPS2 AN505 board (Cortex-M33, as QEMU's
 * mps2-an505 models it): it starts CMSDK timer 0 and SysTick and counts in
 * RAM, so a register window and the memory reads have something that moves.
 * It runs in the Secure state it resets into, from the secure aliases of the
 * board's memories. */
#include <stdint.h>

#define REG(address) (*(volatile uint32_t *)(address))

/* CMSDK APB timer 0 */
#define TIMER0_CTRL REG(0x40000000u)
#define TIMER0_VALUE REG(0x40000004u)
#define TIMER0_RELOAD REG(0x40000008u)
/* SysTick */
#define SYST_CSR REG(0xE000E010u)
#define SYST_RVR REG(0xE000E014u)
#define SYST_CVR REG(0xE000E018u)

/* At a fixed address (see an505.ld) so readers need no symbol table. */
struct Counters
{
    uint32_t magic;       /* 0xC0FFEE33 once running */
    uint32_t loops;       /* main loop passes */
    uint32_t ticks;       /* SysTick interrupts */
    uint32_t timerWraps;  /* reloads of timer 0 seen by the loop */
};
volatile struct Counters counters __attribute__((section(".counters")));

extern uint32_t __stack_top;

void Reset_Handler(void);
void SysTick_Handler(void);
void Default_Handler(void);

void Default_Handler(void)
{
    for (;;) {
    }
}

void SysTick_Handler(void)
{
    counters.ticks++;
}

void Reset_Handler(void)
{
    counters.loops = 0;
    counters.ticks = 0;
    counters.timerWraps = 0;
    counters.magic = 0xC0FFEE33u;

    TIMER0_RELOAD = 0x000FFFFFu;
    TIMER0_CTRL = 1u; /* enable, no interrupt */

    SYST_RVR = 25000u - 1u; /* 1 ms at the board's 25 MHz */
    SYST_CVR = 0u;
    SYST_CSR = 7u; /* enable, interrupt, processor clock */

    uint32_t last = TIMER0_VALUE;
    for (;;) {
        const uint32_t now = TIMER0_VALUE;
        if (now > last)
            counters.timerWraps++;
        last = now;
        counters.loops++;
    }
}

__attribute__((section(".vectors"), used)) static void (*const vectors[16])(void) = {
    (void (*)(void))(&__stack_top),
    Reset_Handler,
    Default_Handler, /* NMI */
    Default_Handler, /* HardFault */
    Default_Handler, /* MemManage */
    Default_Handler, /* BusFault */
    Default_Handler, /* UsageFault */
    Default_Handler, /* SecureFault */
    0, 0, 0,
    Default_Handler, /* SVCall */
    Default_Handler, /* DebugMonitor */
    0,
    Default_Handler, /* PendSV */
    SysTick_Handler,
};
