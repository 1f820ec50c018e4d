#pragma once
// The asynchronous TCP client socket: a non-blocking IPv4 stream whose
// connect, read, write and close notifications arrive as events on the
// user-interface thread (QSocketNotifiers in QtCore's event loop).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QObject;
class QSocketNotifier;

namespace comm {

enum class TErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept, eeLookup };

class TClientSocket;

/// The connection of a client socket: the descriptor and all platform work.
/// Its events are those of the owning TClientSocket.
class TClientWinSocket {
 public:
  ~TClientWinSocket();
  TClientWinSocket(const TClientWinSocket&) = delete;
  TClientWinSocket& operator=(const TClientWinSocket&) = delete;

  /// True from the completed connect until the disconnect.
  bool Connected() const { return connected_; }
  /// The descriptor, -1 when there is none.
  int Handle() const { return fd_; }

  /// Sends the bytes of `text`, in order after anything still waiting.
  /// Whatever the platform does not take at once is kept and sent as soon as
  /// the socket is writable (then OnWrite fires), so nothing is dropped.
  /// Returns the number of bytes accepted: the length of the text; 0 when not
  /// connected; -1 when the connection failed (OnError with eeSend, then
  /// OnDisconnect; raises unless the handler set the code to 0).
  int TransmitText(std::string_view text);
  /// Bytes accepted but not yet taken by the platform.
  size_t PendingOutput() const { return out_.size() - outPos_; }

  /// Copies at most `count` received bytes into `buffer` and returns their
  /// number: 0 when not connected or when the peer has closed its side, -1
  /// when nothing is waiting or the connection failed (OnError with
  /// eeReceive, then OnDisconnect; raises unless the handler set the code to
  /// 0). With `count` -1 it reads nothing and returns the bytes waiting.
  /// After OnRead, the next OnRead (and the notice of the peer's close) waits
  /// for a call with a count of 0 or more, so unread data never loops.
  int ReceiveBytes(char* buffer, int count);

 private:
  friend class TClientSocket;
  explicit TClientWinSocket(TClientSocket& owner);

  void Open(const std::string& address, int port);
  void Disconnect(int fd);
  void DropSocket();
  void Readable();
  void Writable();
  bool Flush();  // false when the connection failed (and was disconnected)
  void WatchWrite(bool on);
  void WatchRead(bool on);
  void SendFailed(int code, int fd);
  int Report(TErrorEvent event, int code);  // runs OnError; the code it left

  TClientSocket& owner_;
  int fd_ = -1;
  bool connecting_ = false;  // connect() issued, outcome not yet seen
  bool connected_ = false;
  bool awaitingRead_ = false;  // OnRead fired, its bytes not read since
  std::string out_;            // accepted bytes; those from outPos_ on wait (empty when none do)
  size_t outPos_ = 0;
  std::unique_ptr<QObject> holder_;  // parent of the notifiers
  QSocketNotifier* readNotifier_ = nullptr;
  QSocketNotifier* writeNotifier_ = nullptr;
};

/// The client socket as placed on a form. Set Address (a dotted IPv4 text,
/// never looked up as a name) and Port, then Open: it returns at once after
/// OnLookup and OnConnecting; OnConnect or OnError(eeConnect) follows from
/// the event loop. Everything runs on the UI thread.
class TClientSocket {
 public:
  TClientSocket();
  /// Closes a connection without firing OnDisconnect.
  ~TClientSocket();
  TClientSocket(const TClientSocket&) = delete;
  TClientSocket& operator=(const TClientSocket&) = delete;

  /// On from OnConnect until OnDisconnect (both set it just before the handler).
  bool Active() const { return active_; }
  void SetActive(bool on) { on ? Open() : Close(); }
  /// Starts a connection attempt; does nothing when active or connected.
  /// Raises ESocketError when the platform rejects the connect at once
  /// (after OnDisconnect), or "No address specified" for an empty Address.
  void Open();
  /// Disconnects; does nothing when not active (also while an attempt is
  /// still under way: that attempt may still complete).
  void Close();
  /// Gives up: a connection is closed as by Close; an attempt still under
  /// way is dropped without any event, so it can no longer complete.
  void Abandon();

  const std::string& Address() const { return address_; }
  /// Same text in other letter case does nothing; a change while active raises.
  void SetAddress(std::string_view address);
  /// Only the low 16 bits are used to connect. A change while active raises.
  int Port() const { return port_; }
  void SetPort(int port);

  TClientWinSocket& Socket() { return *socket_; }

  using SocketEvent = std::function<void(TClientWinSocket&)>;
  SocketEvent OnLookup, OnConnecting, OnConnect, OnDisconnect, OnRead, OnWrite;
  /// The handler may set `errorCode` to 0 to stop the error from being raised.
  std::function<void(TClientWinSocket&, TErrorEvent, int& errorCode)> OnError;

 private:
  friend class TClientWinSocket;
  void Fire(const SocketEvent& e);

  std::string address_;
  int port_ = 0;
  bool active_ = false;
  bool detached_ = false;  // being destroyed: connection events no longer fire
  std::unique_ptr<TClientWinSocket> socket_;
};

}  // namespace comm
