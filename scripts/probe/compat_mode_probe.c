/* Tells whether this kernel lets a 64-bit process run 32-bit x86 code, which is what a
 * WoW64 Wine needs: it far-returns into the kernel's 32-bit user code segment (0x23),
 * runs two instructions there and far-returns to 64-bit code. Exit 0 and "yes" when that
 * works; exit 1 and "no" when the processor faults (some virtual machines leave that
 * segment out of the descriptor table). Built and run on Linux by scripts/wow64-root.sh. */
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

static void on_fault(int signo) {
  (void)signo;
  static const char text[] = "no: the 32-bit code segment faults on this kernel\n";
  (void)!write(1, text, sizeof text - 1);
  _exit(1);
}

extern char compat_probe_back[];

int main(void) {
  static char alt_stack[1 << 16];
  stack_t ss = {.ss_sp = alt_stack, .ss_size = sizeof alt_stack};
  sigaltstack(&ss, NULL);
  struct sigaction sa;
  memset(&sa, 0, sizeof sa);
  sa.sa_handler = on_fault;
  sa.sa_flags = SA_ONSTACK;
  sigaction(SIGSEGV, &sa, NULL);
  sigaction(SIGBUS, &sa, NULL);

  /* Code and stack must sit below 4 GiB to be reachable from 32-bit code. */
  unsigned char *code = mmap((void *)0x100000, 4096, PROT_READ | PROT_WRITE | PROT_EXEC,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
  void *stack = mmap((void *)0x200000, 4096, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
  if (code == MAP_FAILED || stack == MAP_FAILED) {
    puts("unknown: no low memory for the probe");
    return 2;
  }
  /* 32-bit: mov eax, 42; push 0x33; push 0x100020; retf */
  static const unsigned char compat[] = {0xb8, 42, 0, 0, 0, 0x6a, 0x33,
                                         0x68, 0x20, 0x00, 0x10, 0x00, 0xcb};
  memcpy(code, compat, sizeof compat);
  /* 64-bit at 0x100020: jmp qword [rip+0] to compat_probe_back. */
  unsigned char *back = code + 0x20;
  back[0] = 0xff;
  back[1] = 0x25;
  memset(back + 2, 0, 4);
  uint64_t target = (uint64_t)(uintptr_t)compat_probe_back;
  memcpy(back + 6, &target, sizeof target);

  unsigned int result = 0;
  __asm__ volatile(
      "mov %%rsp, %%r12\n\t"
      "mov $0x200800, %%rsp\n\t"
      "pushq $0x23\n\t"
      "pushq $0x100000\n\t"
      "lretq\n\t"
      ".globl compat_probe_back\n"
      "compat_probe_back:\n\t"
      "mov %%r12, %%rsp\n\t"
      "mov %%eax, %0\n\t"
      : "=r"(result)
      :
      : "rax", "r12", "memory");
  if (result != 42) {
    puts("no: 32-bit code ran but computed the wrong value");
    return 1;
  }
  puts("yes");
  return 0;
}
