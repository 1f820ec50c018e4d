#include "com_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <QObject>
#include <algorithm>
#include <cerrno>
#include <chrono>

#include "com_combo_box.h"
#include "com_error.h"
#include "com_thread.h"
#include "line_speed.h"
#include "platform/ui/delay.h"

namespace comm {

namespace {

// The kernel's "not supported by this driver" answers: a pseudo-terminal has
// no modem lines and no line-error counters.
bool Unsupported(int e) { return e == ENOTTY || e == EINVAL; }

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SpeedFor(int rate, speed_t& speed) {
  switch (rate) {
    case 110: speed = B110; return true;
    case 300: speed = B300; return true;
    case 600: speed = B600; return true;
    case 1200: speed = B1200; return true;
    case 2400: speed = B2400; return true;
    case 4800: speed = B4800; return true;
    case 9600: speed = B9600; return true;
    case 19200: speed = B19200; return true;
    case 38400: speed = B38400; return true;
    case 57600: speed = B57600; return true;
    case 115200: speed = B115200; return true;
    case 230400: speed = B230400; return true;
    case 460800: speed = B460800; return true;
    case 921600: speed = B921600; return true;
    default: return false;
  }
}

int RateOf(TBaudRate b, int custom) {
  static constexpr int kRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                   14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
  return b == TBaudRate::brCustom ? custom : kRates[int(b)];
}

int EvenSize(int v) { return v - (v & 1); }

}  // namespace

// ---- setting groups: store, and re-apply when the port is open ----

void TComParity::SetBits(TParityBits b) {
  if (b != bits_) {
    bits_ = b;
    port_.ApplyLineSettings();
  }
}
void TComParity::SetCheck(bool c) {
  if (c != check_) {
    check_ = c;
    port_.ApplyLineSettings();
  }
}
void TComParity::SetReplace(bool r) {
  if (r != replace_) {
    replace_ = r;
    port_.ApplyLineSettings();
  }
}
void TComParity::SetReplaceChar(unsigned char c) {
  if (c != replaceChar_) {
    replaceChar_ = c;
    port_.ApplyLineSettings();
  }
}

void TComFlowControl::Changed() { port_.ApplyLineSettings(); }
void TComFlowControl::SetOutCTSFlow(bool v) {
  if (v != outCTSFlow_) {
    outCTSFlow_ = v;
    Changed();
  }
}
void TComFlowControl::SetOutDSRFlow(bool v) {
  if (v != outDSRFlow_) {
    outDSRFlow_ = v;
    Changed();
  }
}
void TComFlowControl::SetControlDTR(TDTRFlowControl v) {
  if (v != controlDTR_) {
    controlDTR_ = v;
    Changed();
  }
}
void TComFlowControl::SetControlRTS(TRTSFlowControl v) {
  if (v != controlRTS_) {
    controlRTS_ = v;
    Changed();
  }
}
void TComFlowControl::SetXonXoffOut(bool v) {
  if (v != xonXoffOut_) {
    xonXoffOut_ = v;
    Changed();
  }
}
void TComFlowControl::SetXonXoffIn(bool v) {
  if (v != xonXoffIn_) {
    xonXoffIn_ = v;
    Changed();
  }
}
void TComFlowControl::SetDSRSensitivity(bool v) {
  if (v != dsrSensitivity_) {
    dsrSensitivity_ = v;
    Changed();
  }
}
void TComFlowControl::SetTxContinueOnXoff(bool v) {
  if (v != txContinueOnXoff_) {
    txContinueOnXoff_ = v;
    Changed();
  }
}
void TComFlowControl::SetXonChar(unsigned char c) {
  if (c != xonChar_) {
    xonChar_ = c;
    Changed();
  }
}
void TComFlowControl::SetXoffChar(unsigned char c) {
  if (c != xoffChar_) {
    xoffChar_ = c;
    Changed();
  }
}

void TComTimeouts::SetReadInterval(int v) { readInterval_ = v; }
void TComTimeouts::SetReadTotalMultiplier(int v) { readTotalMultiplier_ = v; }
void TComTimeouts::SetReadTotalConstant(int v) { readTotalConstant_ = v; }
void TComTimeouts::SetWriteTotalMultiplier(int v) { writeTotalMultiplier_ = v; }
void TComTimeouts::SetWriteTotalConstant(int v) { writeTotalConstant_ = v; }

void TComBuffer::SetInputSize(int v) { inputSize_ = EvenSize(v); }
void TComBuffer::SetOutputSize(int v) { outputSize_ = EvenSize(v); }

// ---- the port ----

TCustomComPort::TCustomComPort() : context_(std::make_unique<QObject>()) {}

TCustomComPort::~TCustomComPort() {
  try {
    Close();
  } catch (...) {
    // Nothing can report it any more; the device is released below regardless.
  }
  thread_.reset();
  ReleaseDevice();
  for (TComComboBox* c : std::vector<TComComboBox*>(combos_)) c->PortDestroyed(this);
}

std::string TCustomComPort::DevicePath() const {
  return !port_.empty() && port_[0] == '/' ? port_ : "/dev/" + port_;
}

void TCustomComPort::SetPort(std::string_view name) {
  if (name == port_) return;
  const bool wasOpen = Connected();
  if (wasOpen) Close();
  port_ = std::string(name);
  if (wasOpen) Open();
}

void TCustomComPort::SetBaudRate(TBaudRate b) {
  if (b != baudRate_) {
    baudRate_ = b;
    ApplyLineSettings();
  }
}
void TCustomComPort::SetCustomBaudRate(int r) {
  if (r != customBaudRate_) {
    customBaudRate_ = r;
    ApplyLineSettings();
  }
}
void TCustomComPort::SetDataBits(TDataBits d) {
  if (d != dataBits_) {
    dataBits_ = d;
    ApplyLineSettings();
  }
}
void TCustomComPort::SetStopBits(TStopBits s) {
  if (s != stopBits_) {
    stopBits_ = s;
    ApplyLineSettings();
  }
}

void TCustomComPort::Open() {
  if (Connected()) return;
  if (OnBeforeOpen) OnBeforeOpen();

  const int fd = ::open(DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw EComPort(CE_OpenFailed, errno);
  // Exclusive: a second opener, here or in another program, must fail rather
  // than take half of the received bytes. flock() holds against every
  // process; TIOCEXCL also stops openers that do not lock (root excepted).
  int failure = 0;
  if (flock(fd, LOCK_EX | LOCK_NB) < 0)
    failure = errno == EWOULDBLOCK ? EBUSY : errno;
  else if (ioctl(fd, TIOCEXCL) < 0 || tcgetattr(fd, &saved_) < 0)
    failure = errno;  // ENOTTY: not a terminal device
  if (failure) {
    ::close(fd);
    throw EComPort(CE_OpenFailed, failure);
  }
  savedValid_ = true;
  fd_ = fd;
  closing_ = false;
  const uint64_t session = ++session_;

  try {
    ApplyLineSettings();
  } catch (...) {
    ReleaseDevice();
    throw;
  }
  TakeLineErrors();  // start counting line errors from now

  if (events_) {
    try {
      thread_ = std::make_unique<TComThread>(
          fd_, events_, context_.get(), &bytesRead_, [this, session](uint32_t ev) { Dispatch(session, ev); },
          [this, session] { Vanished(session); });
    } catch (...) {
      ReleaseDevice();
      throw;
    }
  }

  if (OnAfterOpen) OnAfterOpen();
  if (!Connected()) return;  // the handler closed it again
  const bool cts = ModemStatus() & TIOCM_CTS;
  if (OnCTSChange) OnCTSChange(cts);
  const bool dsr = ModemStatus() & TIOCM_DSR;
  if (OnDSRChange) OnDSRChange(dsr);
  const bool rlsd = ModemStatus() & TIOCM_CAR;
  if (OnRLSDChange) OnRLSDChange(rlsd);
}

void TCustomComPort::Close() {
  if (!Connected() || closing_) return;
  closing_ = true;
  try {
    if (OnCTSChange) OnCTSChange(false);
    if (OnDSRChange) OnDSRChange(false);
    if (OnRLSDChange) OnRLSDChange(false);
    if (OnBeforeClose) OnBeforeClose();
  } catch (...) {
    closing_ = false;
    throw;
  }
  // Reads and writes complete within their calls, so no operation is pending
  // here to abort. A set of events already handed over is dispatched inside
  // Stop, before the device is released.
  if (thread_) {
    thread_->Stop();
    thread_.reset();
  }
  ReleaseDevice();
  closing_ = false;
  if (OnAfterClose) OnAfterClose();
}

void TCustomComPort::ReleaseDevice() {
  if (fd_ < 0) return;
  if (savedValid_) tcsetattr(fd_, TCSANOW, &saved_);  // fails harmlessly on a vanished device
  savedValid_ = false;
  ioctl(fd_, TIOCNXCL);  // the flag outlives us when others keep the tty open
  ::close(fd_);          // also releases the flock
  fd_ = -1;
}

void TCustomComPort::Vanished(uint64_t session) {
  if (session != session_ || !Connected()) return;
  Close();
}

void TCustomComPort::ApplyLineSettings() {
  if (!Connected()) return;
  termios t = saved_;
  cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CLOCAL | CREAD;
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[int(dataBits_)];
  switch (parity_.Bits()) {
    case TParityBits::prNone: break;
    case TParityBits::prOdd: t.c_cflag |= PARENB | PARODD; break;
    case TParityBits::prEven: t.c_cflag |= PARENB; break;
    case TParityBits::prMark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case TParityBits::prSpace: t.c_cflag |= PARENB | CMSPAR; break;
  }
  // Two stop bits with five data bits are one and a half on the wire.
  if (stopBits_ != TStopBits::sbOneStopBit) t.c_cflag |= CSTOPB;
  const auto& fc = flowControl_;
  if (fc.OutCTSFlow() || fc.ControlRTS() == TRTSFlowControl::rtsHandshake) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
  if (fc.XonXoffOut()) t.c_iflag |= IXON;
  if (fc.XonXoffIn()) t.c_iflag |= IXOFF;
  if (parity_.Check()) t.c_iflag |= INPCK;
  t.c_cc[VSTART] = fc.XonChar();
  t.c_cc[VSTOP] = fc.XoffChar();
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  // A rate outside the termios table (14400, 56000, 128000, 256000, a custom
  // one) is set through termios2 once the rest of the settings are in.
  const int rate = RateOf(baudRate_, customBaudRate_);
  if (rate <= 0) throw EComPort(CE_SetState, EINVAL);
  speed_t speed = B9600;
  const bool tabled = SpeedFor(rate, speed);
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
  if (tcsetattr(fd_, TCSANOW, &t) < 0) throw EComPort(CE_SetState, errno);
  if (!tabled)
    if (const int e = SetLineSpeed(fd_, rate)) throw EComPort(CE_SetState, e);

  // DTR and RTS held as set; a device without modem lines ignores them.
  auto line = [&](int bit, bool on) {
    if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) < 0 && !Unsupported(errno))
      throw EComPort(CE_SetState, errno);
  };
  line(TIOCM_DTR, fc.ControlDTR() != TDTRFlowControl::dtrDisable);
  if (fc.ControlRTS() != TRTSFlowControl::rtsHandshake)
    line(TIOCM_RTS, fc.ControlRTS() == TRTSFlowControl::rtsEnable);
}

int TCustomComPort::ModemStatus() {
  int bits = 0;
  if (ioctl(fd_, TIOCMGET, &bits) < 0) {
    if (Unsupported(errno)) return 0;
    throw EComPort(CE_ModemStat, errno);
  }
  return bits;
}

TComErrors TCustomComPort::TakeLineErrors() {
  serial_icounter_struct c{};
  if (ioctl(fd_, TIOCGICOUNT, &c) < 0) return 0;  // no counters on this device
  TComErrors errors = 0;
  if (c.frame != counts_.frame) errors |= ceFrame;
  if (c.overrun != counts_.overrun) errors |= ceOverrun;
  if (c.buf_overrun != counts_.bufOverrun) errors |= ceRxOver;
  if (c.parity != counts_.parity && parity_.Check()) errors |= ceRxParity;
  if (c.brk != counts_.brk) errors |= ceBreak;
  counts_ = {c.frame, c.overrun, c.parity, c.brk, c.buf_overrun};
  return errors;
}

void TCustomComPort::Dispatch(uint64_t session, TComEvents events) {
  auto alive = [&] { return Connected() && session == session_; };
  if (!alive()) return;
  // The thread reports arrivals; errors, breaks and the 80 % mark are found
  // by querying the device, in the order the steps fire.
  const TComErrors errors = events_ & (evError | evBreak) ? TakeLineErrors() : 0;
  if ((events_ & evError) && errors && OnError) OnError(errors);
  if (!alive()) return;
  int count = 0;
  if (events & evRxChar) {
    count = PendingInputCount();
    if (count > 0 && OnRxChar) OnRxChar(count);
    if (!alive()) return;
  }
  if ((events_ & evBreak) && (errors & ceBreak) && OnBreak) OnBreak();
  if (!alive()) return;
  if ((events_ & evRx80Full) && count > 0 && count * 10 >= buffer_.InputSize() * 8 && OnRx80Full)
    OnRx80Full();
}

int TCustomComPort::PendingInputCount() {
  int count = 0;
  if (!Connected()) throw EComPort(CE_ClearCom, EBADF);
  if (ioctl(fd_, FIONREAD, &count) < 0) throw EComPort(CE_ClearCom, errno);
  return count;
}

int TCustomComPort::ReadBytes(char* buffer, int count) {
  if (!Connected()) throw EComPort(CE_ReadFailed, EBADF);
  if (count <= 0) return 0;
  const auto& to = timeouts_;
  const bool immediate =
      to.ReadInterval() == -1 && to.ReadTotalMultiplier() == 0 && to.ReadTotalConstant() == 0;
  const int64_t total = int64_t(to.ReadTotalMultiplier()) * count + to.ReadTotalConstant();
  const int64_t start = NowMs();
  int64_t lastByte = start;
  int got = 0;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer + got, size_t(count - got));
    if (n > 0) {
      got += int(n);
      bytesRead_ += uint64_t(n);
      lastByte = NowMs();
      if (got == count) return got;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) throw EComPort(CE_ReadFailed, errno);
    if (immediate) return got;
    // Wait for more: until the total time-out, and after the first byte at
    // most the interval between bytes; neither set (-1) means no limit. A
    // limit that has passed is 0, never "none".
    int64_t wait = -1;
    const int64_t now = NowMs();
    if (total > 0) wait = std::max<int64_t>(0, start + total - now);
    if (to.ReadInterval() > 0 && got > 0) {
      const int64_t gap = std::max<int64_t>(0, lastByte + to.ReadInterval() - now);
      wait = wait < 0 ? gap : std::min(wait, gap);
    }
    if (wait == 0) return got;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, int(std::min<int64_t>(wait, 1 << 30))) == 0) return got;
  }
}

int TCustomComPort::WriteText(std::string_view text) {
  if (text.empty()) return 0;
  if (!Connected()) throw EComPort(CE_WriteFailed, EBADF);
  const auto& to = timeouts_;
  const int64_t total = int64_t(to.WriteTotalMultiplier()) * int64_t(text.size()) + to.WriteTotalConstant();
  const int64_t deadline = NowMs() + total;
  // Milliseconds left; without a time-out, as good as forever.
  auto remaining = [&]() -> uint32_t {
    if (total <= 0) return 1u << 30;
    return uint32_t(std::clamp<int64_t>(deadline - NowMs(), 0, 1 << 30));
  };
  // The waits keep the windows painting; a handler that runs inside one may
  // close the port (a vanished device), which ends the write.
  auto closed = [this] { return !Connected(); };
  auto stillOpen = [&] {
    if (closed()) throw EComPort(CE_WriteFailed, EBADF);
  };
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
    if (n > 0) {
      done += size_t(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) throw EComPort(CE_WriteFailed, errno);
    const uint32_t wait = remaining();
    if (wait == 0) break;
    const bool writable = platform::WaitWritable(fd_, wait, closed);
    stillOpen();
    if (!writable) break;
  }
  // A write the line could not take in time would run the rest of its text
  // into the next one: it fails rather than reporting the bytes it managed.
  if (done < text.size()) throw EComPort(CE_WriteFailed, ETIMEDOUT);
  // The write ends when the bytes have left the port, as an overlapped write
  // does, so a close right after it does not discard them.
  for (;;) {
    int queued = 0;
    if (ioctl(fd_, TIOCOUTQ, &queued) < 0 || queued <= 0) break;
    const uint32_t wait = remaining();
    if (wait == 0) break;
    platform::WaitHoldingInput(std::min<uint32_t>(wait, 2), closed);
    stillOpen();
  }
  return int(done);
}

}  // namespace comm
