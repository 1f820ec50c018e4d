#pragma once
// Any line rate on a Linux serial device, not only the termios table's.
// Kept apart because <asm/termbits.h> cannot share a file with <termios.h>.

namespace comm {

/// Sets the input and output rate of the open tty `fd` to `rate` bits per
/// second (BOTHER); the rest of its settings stay. Returns 0 or the errno.
int SetLineSpeed(int fd, int rate);
/// The output rate `fd` runs at, or -1 with errno set.
int LineSpeed(int fd);

}  // namespace comm
