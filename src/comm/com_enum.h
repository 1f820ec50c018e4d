#pragma once
// The serial ports of the machine.
#include <string>
#include <vector>

namespace comm {

/// The names of the serial ports present, sorted without regard to case:
/// the bare names of the ttys under `sysClassTty` that have a `device` link
/// (ttyS0, ttyUSB0: real hardware, not virtual consoles), plus the absolute
/// paths of the links in `serialById` (stable names of USB adapters).
/// Missing directories give no names; the result may be empty.
std::vector<std::string> EnumComPorts(const std::string& sysClassTty = "/sys/class/tty",
                                      const std::string& serialById = "/dev/serial/by-id");

}  // namespace comm
