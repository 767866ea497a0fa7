/* Firmwares for the Arm MPS2 AN505 board (QEMU's mps2-an505) that fault on
 * purpose, one fault each, chosen by FAULT_KIND when built:
 *   1  a load from an address no memory answers (a precise bus fault)
 *   2  a divide by zero with CCR.DIV_0_TRP set
 *   3  an undefined instruction
 * The faulting instruction carries a global label (fault_load, fault_divide,
 * fault_undefined) so tests find its address in the ELF's symbol table, and
 * its source line ends in a comment "fault here". No fault handler is
 * enabled, so each fault escalates to HardFault, whose handler stays on its
 * first instruction: the stacked frame on MSP_S is as the fault left it. */
#include <stdint.h>

#define REG(address) (*(volatile uint32_t *)(address))
#define SCB_CCR REG(0xE000ED14u)
#define CCR_DIV_0_TRP (1u << 4)

/* The board's memory map leaves this address to no memory: a load from it
 * ends in a bus error, and BFAR holds it. */
__attribute__((used)) const uint32_t unanswered_address = 0x0FF00000u;

extern uint32_t __stack_top;

void Reset_Handler(void);
void HardFault_Handler(void);
void Default_Handler(void);

__attribute__((naked)) void HardFault_Handler(void)
{
    __asm volatile("b .");
}

__attribute__((naked)) void Default_Handler(void)
{
    __asm volatile("b .");
}

__attribute__((noinline)) uint32_t load_unanswered(const volatile uint32_t *where)
{
    uint32_t value;
    /* The asm statement's first line is the fault's line in DWARF. */
    __asm volatile(".global fault_load\nfault_load: ldr %0, [%1]" /* fault here */
                   : "=r"(value)
                   : "r"(where)
                   : "memory");
    return value;
}

__attribute__((noinline)) uint32_t divide(uint32_t dividend, uint32_t divisor)
{
    uint32_t quotient;
    __asm volatile(".global fault_divide\nfault_divide: udiv %0, %1, %2" /* fault here */
                   : "=r"(quotient)
                   : "r"(dividend), "r"(divisor));
    return quotient;
}

__attribute__((noinline)) void undefined_instruction(void)
{
    __asm volatile(".global fault_undefined\nfault_undefined: udf #0"); /* fault here */
}

volatile uint32_t result;
volatile uint32_t zero;

void Reset_Handler(void)
{
    zero = 0;
#if FAULT_KIND == 1
    result = load_unanswered((const volatile uint32_t *)unanswered_address);
#elif FAULT_KIND == 2
    SCB_CCR |= CCR_DIV_0_TRP;
    result = divide(1000u, zero);
#else
    undefined_instruction();
#endif
    for (;;) {
    }
}

__attribute__((section(".vectors"), used)) static void (*const vectors[16])(void) = {
    (void (*)(void))(&__stack_top),
    Reset_Handler,
    Default_Handler,   /* NMI */
    HardFault_Handler, /* HardFault */
    Default_Handler,   /* MemManage */
    Default_Handler,   /* BusFault */
    Default_Handler,   /* UsageFault */
    Default_Handler,   /* SecureFault */
    0,
    0,
    0,
    Default_Handler, /* SVCall */
    Default_Handler, /* DebugMonitor */
    0,
    Default_Handler, /* PendSV */
    Default_Handler, /* SysTick */
};
