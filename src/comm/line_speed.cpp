#include "line_speed.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>

// <sys/ioctl.h> pulls in <termios.h>'s definitions, which clash with
// <asm/termbits.h>; the one function needed is declared here.
extern "C" int ioctl(int fd, unsigned long request, ...);

namespace comm {

int SetLineSpeed(int fd, int rate) {
  if (rate <= 0) return EINVAL;
  termios2 t{};
  if (ioctl(fd, TCGETS2, &t) < 0) return errno;
  t.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  t.c_ispeed = speed_t(rate);
  t.c_ospeed = speed_t(rate);
  if (ioctl(fd, TCSETS2, &t) < 0) return errno;
  return 0;
}

int LineSpeed(int fd) {
  termios2 t{};
  if (ioctl(fd, TCGETS2, &t) < 0) return -1;
  return int(t.c_ospeed);
}

}  // namespace comm
