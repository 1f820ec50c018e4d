#pragma once
// The link's two transports: the serial port and the TCP client socket, the
// one chosen, and how their bytes reach the link in arrival order.
#include <cstdint>
#include <string>
#include <string_view>

#include "comm/client_socket.h"
#include "comm/com_combo_box.h"
#include "comm/com_port.h"
#include "platform/ui/timer.h"

namespace devlink {

/// The transport in use; the link record shows it as `LinkMode`.
enum class TransportKind { None, Serial, Tcp };

/// The transport bytes came from. Status lines end at CR, LF or CR LF on
/// both; the receive path is told which one all the same.
enum class LineEnds { Tcp, Serial };

/// One transport as the link writes to it. Errors of a write propagate to
/// the caller (the serial port raises; the socket's errors are swallowed by
/// its own error handler).
class LinkTransport {
 public:
  virtual ~LinkTransport() = default;
  virtual void Write(std::string_view bytes) = 0;
  /// Closes the transport; its close event follows. Nothing when closed.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

/// What the transports tell the one that owns them.
class TransportEvents {
 public:
  /// The serial port has opened, or the TCP connection is up.
  virtual void TransportOpened(TransportKind kind) = 0;
  /// The serial port has closed, or the TCP connection has gone.
  virtual void TransportClosed(TransportKind kind) = 0;
  /// Bytes have arrived. A read event that comes while this runs (inside a
  /// message box) is read once it has returned, so bytes keep their order.
  virtual void BytesReceived(std::string_view bytes, LineEnds ends) = 0;

 protected:
  ~TransportEvents() = default;
};

/// Owns the serial port (9600 8N1, no flow control) and the TCP client
/// socket; nothing else reaches them. Writes go to the chosen transport.
class Transports {
 public:
  explicit Transports(TransportEvents& events);
  ~Transports();
  Transports(const Transports&) = delete;
  Transports& operator=(const Transports&) = delete;

  TransportKind Chosen() const { return chosen_; }
  /// Chooses a transport without opening it (a link started in a state).
  void Choose(TransportKind kind) { chosen_ = kind; }

  /// Opens the serial port and chooses it; the port's error is raised.
  void OpenSerial();
  /// Chooses TCP and starts a connection attempt; its outcome arrives as events.
  void ConnectTcp(const std::string& host, int port);
  bool TcpUp() const;
  /// The attempt has failed (its error event or a disconnect).
  bool TcpFailed() const { return connectFailed_; }
  /// Gives an opening up: the serial port closes, a TCP attempt is dropped.
  void AbandonOpen();
  bool SerialOpen() const;
  void CloseSerial();

  /// A transport is chosen, so writes have somewhere to go.
  bool Writable() const { return Current() != nullptr; }
  /// The chosen transport is open.
  bool ChosenOpen() const;
  /// Writes to the chosen transport; nothing with none chosen.
  void Write(std::string_view bytes);
  /// Closes the chosen transport; its close event follows.
  void CloseChosen();

  /// The serial port's device name; an open port reopens.
  void SetSerialPortName(const std::string& name);
  std::string SerialPortName() const;
  /// The port list shows the serial port's name as chosen.
  void BindPortList(comm::TComComboBox& list);
  int TcpPort() const;
  /// Nothing waits unread on either transport.
  bool Drained();

  /// Plugs `transport` in for `kind` in place of the real one (tests and
  /// benchmarks record writes so); null unplugs both real and plugged. A
  /// plugged transport reports its events through ReportOpened and
  /// ReportClosed, as the port and the socket do through their own.
  void Plug(TransportKind kind, LinkTransport* transport);
  void ReportOpened(TransportKind kind) { events_.TransportOpened(kind); }
  void ReportClosed(TransportKind kind);

  /// Bytes taken from a transport in one read (the receive buffer's size).
  static constexpr int kReceiveBuffer = 20000;

 private:
  class SerialTransport : public LinkTransport {
   public:
    explicit SerialTransport(Transports& t) : t_(t) {}
    void Write(std::string_view bytes) override { t_.WriteSerial(bytes); }
    void Close() override { t_.CloseSerialPort(); }
    bool IsOpen() const override { return t_.port_.Connected() && !t_.serialClosing_; }

   private:
    Transports& t_;
  };
  /// While a received chunk is interpreted, the writes its lines cause are
  /// gathered and go out in one send when the chunk is done (the six blanks
  /// after each version line, a whole configuration script): the same bytes
  /// in the same order in one system call. Send errors go to the socket's
  /// error event, so gathering delays no report.
  class TcpTransport : public LinkTransport {
   public:
    explicit TcpTransport(comm::TClientSocket& socket) : socket_(socket) {}
    void Write(std::string_view bytes) override;
    /// Sends what is gathered first: a close inside a pass (a restart that
    /// follows a save) must not lose "reboot-system".
    void Close() override;
    bool IsOpen() const override { return socket_.Active(); }
    /// Gathers writes until the matching ReleaseWrites (calls may nest).
    void HoldWrites() { ++holdDepth_; }
    void ReleaseWrites();

   private:
    comm::TClientSocket& socket_;
    int holdDepth_ = 0;
    std::string held_;
  };

  LinkTransport* Current() const;
  void SetUpPort();
  void SetUpSocket();
  // The port's and the socket's read events.
  void ComPortRxChar(int count);
  void ClientSocketRead();
  /// Writes to the serial port, which waits while the line is busy (about
  /// 1 ms a byte at 9600 baud) with the windows kept painting. Bytes that
  /// arrive meanwhile stay in the port until the write's caller is done, so
  /// no reply is interpreted between the lines of the handler that sends.
  void WriteSerial(std::string_view bytes);
  /// Closes the port; nothing it hands over while closing is read.
  void CloseSerialPort();
  /// Reads what arrived during serial writes, once no pass or write runs.
  void ReadHeldBytes();
  /// One read from the serial port / the socket into the receive path.
  void ReadSerial(int count);
  /// False when nothing could be read.
  bool ReadTcp();
  /// Reads what arrived while a receive pass was running, until nothing waits.
  void ReadDeferred();
  /// Clears what an error left deferred, re-arming the socket's reads.
  void AbandonDeferred();

  TransportEvents& events_;
  comm::TComPort port_;
  comm::TClientSocket socket_;
  TransportKind chosen_ = TransportKind::None;
  SerialTransport serialTransport_{*this};
  TcpTransport tcpTransport_{socket_};
  LinkTransport* serial_ = &serialTransport_;
  LinkTransport* tcp_ = &tcpTransport_;
  /// A receive pass is running: a read event nested in it (inside a message
  /// box or the script writer) leaves its bytes waiting and sets its flag, and
  /// the outer pass reads them when it is done, so lines keep arrival order.
  bool receiving_ = false;
  /// A serial write is waiting for the line: read events leave their bytes
  /// in the port, and heldRead_ reads them once the sending handler is done
  /// (a zero-interval tick, so it runs when the event loop next runs freely).
  bool serialWriting_ = false;
  platform::Timer heldRead_{"heldRead", 0};
  bool serialDeferred_ = false;
  bool tcpDeferred_ = false;
  /// The serial port is closing: what it still hands over is not read, and
  /// nothing more is written.
  bool serialClosing_ = false;
  bool connectFailed_ = false;
};

}  // namespace devlink
