# 32-bit x86 programs (wine's 32-bit loader) on kernels that cannot run them:
# sourced, not run.

# qemu 7.2 takes wine's no-replace address reservations for hints and answers
# them elsewhere, and wine then halves each reservation down to 64 KiB pieces:
# with all of 4 GiB to search, qemu scans its page table for every piece and
# each process spends a minute starting. Ending the emulated address space
# where a 32-bit Windows program's ends (wine's shared user data is the 64 KiB
# below 0x7fff0000) answers each piece at once. Natively nothing reads this.
export QEMU_RESERVED_VA=0x7fff0000

i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# can_run_i386 LOADER: succeeds when LOADER, a 32-bit x86 program, starts:
# on its own, or else after handing every 32-bit x86 program the kernel is
# asked to start to qemu-i386-static through binfmt_misc (registered with the
# F flag, so that it holds in every mount namespace). Mount and registration
# last until the machine restarts and are made only when missing. On failure
# $i386_why says why.
can_run_i386() {
  local misc=/proc/sys/fs/binfmt_misc qemu=/usr/bin/qemu-i386-static
  i386_why=
  "$1" --version >/dev/null 2>&1 && return 0
  if [ ! -x "$qemu" ]; then
    i386_why="this machine cannot execute 32-bit x86 code and $qemu is missing"
    return 1
  fi
  if [ ! -e "$misc/register" ] && ! mount -t binfmt_misc binfmt_misc "$misc" 2>/dev/null; then
    i386_why="this machine cannot execute 32-bit x86 code and binfmt_misc cannot be mounted on $misc"
    return 1
  fi
  if [ -e "$misc/qemu-i386" ]; then
    echo 1 >"$misc/qemu-i386" 2>/dev/null || true
  else
    printf '%s' ":qemu-i386:M::$i386_magic:$i386_mask:$qemu:F" >"$misc/register" 2>/dev/null || true
  fi
  "$1" --version >/dev/null 2>&1 && return 0
  i386_why="this machine cannot execute 32-bit x86 code, not even through $qemu and binfmt_misc"
  return 1
}
