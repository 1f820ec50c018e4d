#pragma once
// The serial port component: a port opened raw over termios, its setting
// groups, and the event thread that hands line events to the UI thread.
//
// Everything public is called on the user-interface thread, and every event
// fires there. One event thread per open port only waits for line events
// (poll) and hands each set of them over, blocking until the handlers ran.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <termios.h>

class QObject;

namespace comm {

class TCustomComPort;
class TComThread;
class TComComboBox;

enum class TBaudRate {
  brCustom,
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000
};
enum class TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum class TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum class TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum class TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum class TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };

/// Line events; the values are the bits of an event mask (TComEvents).
enum TComEvent : uint32_t {
  evRxChar = 0x0001,
  evRxFlag = 0x0002,
  evTxEmpty = 0x0004,
  evCTS = 0x0008,
  evDSR = 0x0010,
  evRLSD = 0x0020,
  evBreak = 0x0040,
  evError = 0x0080,
  evRing = 0x0100,
  evRx80Full = 0x0400,
};
using TComEvents = uint32_t;
inline constexpr TComEvents kAllComEvents = 0x05FF;

/// Line errors reported by OnError, as bits of a set (TComErrors).
enum TComError : uint32_t {
  ceFrame = 1u << 0,
  ceRxParity = 1u << 1,
  ceOverrun = 1u << 2,
  ceBreak = 1u << 3,
  ceIO = 1u << 4,
  ceMode = 1u << 5,
  ceRxOver = 1u << 6,
  ceTxFull = 1u << 7,
};
using TComErrors = uint32_t;

/// Parity settings; a change is applied at once when the port is open.
class TComParity {
 public:
  explicit TComParity(TCustomComPort& port) : port_(port) {}
  TParityBits Bits() const { return bits_; }
  void SetBits(TParityBits b);
  /// Check: received parity errors are detected (and reported by OnError).
  bool Check() const { return check_; }
  void SetCheck(bool c);
  bool Replace() const { return replace_; }
  void SetReplace(bool r);
  unsigned char ReplaceChar() const { return replaceChar_; }
  void SetReplaceChar(unsigned char c);

 private:
  TCustomComPort& port_;
  TParityBits bits_ = TParityBits::prNone;
  bool check_ = false;
  bool replace_ = false;
  unsigned char replaceChar_ = 0;
};

/// Flow control settings; a change is applied at once when the port is open.
/// Only what termios offers takes effect: CTS/RTS handshake (CRTSCTS),
/// XON/XOFF in either direction with its characters, and DTR/RTS held on or
/// off. DSR flow, DSR sensitivity, DTR handshake and RTS toggle are stored only.
class TComFlowControl {
 public:
  explicit TComFlowControl(TCustomComPort& port) : port_(port) {}
  bool OutCTSFlow() const { return outCTSFlow_; }
  void SetOutCTSFlow(bool v);
  bool OutDSRFlow() const { return outDSRFlow_; }
  void SetOutDSRFlow(bool v);
  TDTRFlowControl ControlDTR() const { return controlDTR_; }
  void SetControlDTR(TDTRFlowControl v);
  TRTSFlowControl ControlRTS() const { return controlRTS_; }
  void SetControlRTS(TRTSFlowControl v);
  bool XonXoffOut() const { return xonXoffOut_; }
  void SetXonXoffOut(bool v);
  bool XonXoffIn() const { return xonXoffIn_; }
  void SetXonXoffIn(bool v);
  bool DSRSensitivity() const { return dsrSensitivity_; }
  void SetDSRSensitivity(bool v);
  bool TxContinueOnXoff() const { return txContinueOnXoff_; }
  void SetTxContinueOnXoff(bool v);
  unsigned char XonChar() const { return xonChar_; }
  void SetXonChar(unsigned char c);
  unsigned char XoffChar() const { return xoffChar_; }
  void SetXoffChar(unsigned char c);

 private:
  void Changed();
  TCustomComPort& port_;
  bool outCTSFlow_ = false, outDSRFlow_ = false;
  TDTRFlowControl controlDTR_ = TDTRFlowControl::dtrDisable;
  TRTSFlowControl controlRTS_ = TRTSFlowControl::rtsDisable;
  bool xonXoffOut_ = false, xonXoffIn_ = false;
  bool dsrSensitivity_ = false, txContinueOnXoff_ = false;
  unsigned char xonChar_ = 0x11, xoffChar_ = 0x13;
};

/// Read and write time-outs in milliseconds, taken up by each read and write
/// when it starts. A read interval of -1 with both read totals 0 (the
/// default) makes a read return at once with what has arrived. A write of n
/// bytes ends within WriteTotalConstant + WriteTotalMultiplier × n ms; 0 for
/// both means no limit.
class TComTimeouts {
 public:
  int ReadInterval() const { return readInterval_; }
  void SetReadInterval(int v);
  int ReadTotalMultiplier() const { return readTotalMultiplier_; }
  void SetReadTotalMultiplier(int v);
  int ReadTotalConstant() const { return readTotalConstant_; }
  void SetReadTotalConstant(int v);
  int WriteTotalMultiplier() const { return writeTotalMultiplier_; }
  void SetWriteTotalMultiplier(int v);
  int WriteTotalConstant() const { return writeTotalConstant_; }
  void SetWriteTotalConstant(int v);

 private:
  int readInterval_ = -1, readTotalMultiplier_ = 0, readTotalConstant_ = 0;
  int writeTotalMultiplier_ = 100, writeTotalConstant_ = 1000;
};

/// Queue sizes in bytes; always even (an odd size is stored one lower). The
/// kernel's tty queues are not resizable: the input size sets the 80 % mark
/// of evRx80Full.
class TComBuffer {
 public:
  int InputSize() const { return inputSize_; }
  void SetInputSize(int v);
  int OutputSize() const { return outputSize_; }
  void SetOutputSize(int v);

 private:
  int inputSize_ = 1024, outputSize_ = 1024;
};

/// The serial port. Not copyable; owned by its form, used on the UI thread.
class TCustomComPort {
 public:
  TCustomComPort();
  virtual ~TCustomComPort();
  TCustomComPort(const TCustomComPort&) = delete;
  TCustomComPort& operator=(const TCustomComPort&) = delete;

  /// The device: a bare name is a device under /dev ("ttyS0", "ttyUSB0"),
  /// an absolute path (a pseudo-terminal, a /dev/serial/by-id link) is used
  /// as is. Setting another name while open closes the port and opens the
  /// new one; the same name does nothing.
  const std::string& Port() const { return port_; }
  void SetPort(std::string_view name);

  TBaudRate BaudRate() const { return baudRate_; }
  void SetBaudRate(TBaudRate b);
  /// The rate used with brCustom (bits per second, a standard termios rate).
  int CustomBaudRate() const { return customBaudRate_; }
  void SetCustomBaudRate(int rate);
  TDataBits DataBits() const { return dataBits_; }
  void SetDataBits(TDataBits d);
  TStopBits StopBits() const { return stopBits_; }
  void SetStopBits(TStopBits s);
  TComParity& Parity() { return parity_; }
  TComFlowControl& FlowControl() { return flowControl_; }
  TComTimeouts& Timeouts() { return timeouts_; }
  TComBuffer& Buffer() { return buffer_; }
  /// The line events watched while open; takes effect at the next open.
  /// Arrivals (evRxChar) wake the event thread; line errors, breaks and the
  /// 80 % mark are found from the device when data arrives. Modem-line
  /// changes, ring, the event character and an empty transmit queue cannot
  /// be waited for with poll(), so evCTS, evDSR, evRLSD, evRing, evRxFlag and
  /// evTxEmpty are never reported (the line states are reported on open and
  /// close).
  TComEvents Events() const { return events_; }
  void SetEvents(TComEvents e) { events_ = e; }

  /// Opens the device, applies the settings and starts the event thread.
  /// Does nothing when already open. Raises EComPort: 1 when the device
  /// cannot be opened or another opener holds it, 7 when a line setting is
  /// refused, 11 when the modem lines cannot be read.
  void Open();
  /// Stops the event thread and releases the device, restoring the line
  /// settings it had before. Does nothing when not open.
  void Close();
  bool Connected() const { return fd_ >= 0; }
  void SetConnected(bool on) { on ? Open() : Close(); }

  /// Reads at most `count` received bytes; with the default time-outs it
  /// returns at once with what has arrived, possibly 0. Raises error 3.
  int ReadBytes(char* buffer, int count);
  /// Writes the bytes of `text` and waits until they have left the port or
  /// the write time-out ends; returns the number written. Raises error 2,
  /// also when the port closes before the bytes are out, and when the
  /// time-out ends before the line has taken every byte. While it waits
  /// (at 9600 baud about 1 ms a byte) the UI thread handles events except
  /// the user's input and timer ticks (platform::WaitWritable): the windows
  /// repaint, and received-data events and a vanished device's close can run
  /// inside the write.
  int WriteText(std::string_view text);
  /// Bytes waiting in the receive queue. Raises error 10.
  int PendingInputCount();

  // Events, all fired on the UI thread.
  std::function<void()> OnBeforeOpen, OnAfterOpen, OnBeforeClose, OnAfterClose;
  /// Received bytes wait; `count` (at least 1) is the queue length then.
  std::function<void(int count)> OnRxChar;
  std::function<void(bool on)> OnCTSChange, OnDSRChange, OnRLSDChange;
  std::function<void(TComErrors errors)> OnError;
  std::function<void()> OnTxEmpty, OnBreak, OnRing, OnRxFlag, OnRx80Full;

 protected:
  friend class TComParity;
  friend class TComFlowControl;
  friend class TComComboBox;

  void ApplyLineSettings();  // error 7

 private:
  std::string DevicePath() const;
  int ModemStatus();  // TIOCM_* bits; 0 for a device without modem lines
  void Dispatch(uint64_t session, TComEvents events);
  void Vanished(uint64_t session);
  TComErrors TakeLineErrors();
  void ReleaseDevice();
  void Attach(TComComboBox* c) { combos_.push_back(c); }
  void Detach(TComComboBox* c) { std::erase(combos_, c); }

  std::string port_ = "ttyS0";
  TBaudRate baudRate_ = TBaudRate::br9600;
  int customBaudRate_ = 9600;
  TDataBits dataBits_ = TDataBits::dbEight;
  TStopBits stopBits_ = TStopBits::sbOneStopBit;
  TComParity parity_{*this};
  TComFlowControl flowControl_{*this};
  TComTimeouts timeouts_;
  TComBuffer buffer_;
  TComEvents events_ = kAllComEvents;

  int fd_ = -1;
  termios saved_{};  // the line settings before open, restored by close
  bool savedValid_ = false;
  bool closing_ = false;              // Close is under way: a nested Close does nothing
  uint64_t session_ = 0;              // counts opens, so stale hand-overs are dropped
  std::unique_ptr<QObject> context_;  // receives hand-overs on the UI thread
  std::unique_ptr<TComThread> thread_;
  std::atomic<uint64_t> bytesRead_{0};  // by ReadBytes: tells the event thread a handler read
  struct {
    int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
  } counts_;
  std::vector<TComComboBox*> combos_;
};

/// The port as placed on a form; all behaviour is in TCustomComPort.
class TComPort : public TCustomComPort {
 public:
  using TCustomComPort::TCustomComPort;
};

}  // namespace comm
