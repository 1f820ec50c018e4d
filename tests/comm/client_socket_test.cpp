// The TCP client socket against loopback listeners.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <atomic>
#include <cerrno>
#include <thread>

#include "comm/client_socket.h"
#include "comm/socket_error.h"
#include "loopback_listener.h"
#include "platform/ui/delay.h"
#include "platform/ui/message_box.h"

namespace comm {
namespace {

using platform::DelayUntil;
using Listener = testsupport::LoopbackListener;

// A port on loopback that nobody listens on.
int FreePort() {
  Listener l;
  return l.port;
}

// Records events in order; the error handler clears the code unless told not to.
struct SocketRecorder {
  std::vector<std::string> events;
  std::vector<std::pair<TErrorEvent, int>> errors;
  bool clearCode = true;
  bool activeInConnect = false, activeInDisconnect = true, openInDisconnect = false;
  void Attach(TClientSocket& s) {
    s.OnLookup = [this](TClientWinSocket&) { events.push_back("Lookup"); };
    s.OnConnecting = [this](TClientWinSocket&) { events.push_back("Connecting"); };
    s.OnConnect = [this, &s](TClientWinSocket&) {
      events.push_back("Connect");
      activeInConnect = s.Active();
    };
    s.OnDisconnect = [this, &s](TClientWinSocket& w) {
      events.push_back("Disconnect");
      activeInDisconnect = s.Active();
      openInDisconnect = w.Handle() >= 0;
    };
    s.OnRead = [this](TClientWinSocket&) { events.push_back("Read"); };
    s.OnError = [this](TClientWinSocket&, TErrorEvent e, int& code) {
      events.push_back("Error");
      errors.emplace_back(e, code);
      if (clearCode) code = 0;
    };
  }
};

class ClientSocketTest : public ::testing::Test {
 protected:
  void Connect() {
    rec.Attach(sock);
    sock.SetAddress("127.0.0.1");
    sock.SetPort(server.port);
    sock.Open();
    ASSERT_TRUE(DelayUntil(2000, [&] { return sock.Active(); }));
    ASSERT_TRUE(server.Accept());
  }
  Listener server;
  TClientSocket sock;
  SocketRecorder rec;
  platform::ScriptedMessageBoxes boxes;
};

// Catches an open that blocks, events out of order, or Active not on when
// OnConnect runs.
TEST_F(ClientSocketTest, OpenReturnsAtOnceThenConnectsInOrder) {
  rec.Attach(sock);
  sock.SetAddress("127.0.0.1");
  sock.SetPort(server.port);
  sock.Open();
  EXPECT_EQ(rec.events, (std::vector<std::string>{"Lookup", "Connecting"}));
  EXPECT_FALSE(sock.Active());
  ASSERT_TRUE(DelayUntil(2000, [&] { return sock.Active(); }));
  EXPECT_EQ(rec.events, (std::vector<std::string>{"Lookup", "Connecting", "Connect"}));
  EXPECT_TRUE(rec.activeInConnect);
  sock.Open();  // already active: nothing
  EXPECT_EQ(rec.events.size(), 3u);
}

// Catches lost or reordered bytes, a read event without data, or a
// disconnect that runs its handler after the socket is gone.
TEST_F(ClientSocketTest, SendReceiveAndCloseWithDisconnectWhileStillOpen) {
  Connect();
  EXPECT_EQ(sock.Socket().TransmitText("get-wan\r"), 8);
  EXPECT_EQ(server.Read(8), "get-wan\r");

  std::string got;
  sock.OnRead = [&](TClientWinSocket& w) {
    EXPECT_GT(w.ReceiveBytes(nullptr, -1), 0);
    char buf[64];
    const int n = w.ReceiveBytes(buf, sizeof buf);
    if (n > 0) got.append(buf, size_t(n));
  };
  ASSERT_EQ(send(server.peer, "WAN ok\r\n", 8, 0), 8);
  ASSERT_TRUE(DelayUntil(2000, [&] { return got.size() == 8; }));
  EXPECT_EQ(got, "WAN ok\r\n");

  sock.Close();
  EXPECT_FALSE(sock.Active());
  EXPECT_EQ(rec.events.back(), "Disconnect");
  EXPECT_FALSE(rec.activeInDisconnect);
  EXPECT_TRUE(rec.openInDisconnect);
  EXPECT_EQ(sock.Socket().Handle(), -1);
  EXPECT_EQ(server.Read(1), "");  // the peer sees the close
  EXPECT_EQ(sock.Socket().TransmitText("late"), 0);
  char c;
  EXPECT_EQ(sock.Socket().ReceiveBytes(&c, 1), 0);
  sock.Close();  // closed already: nothing
  EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "Disconnect"), 1);
}

// Catches a refused attempt reported as connected or disconnected, or
// shown to the user although the handler cleared the code; when the code
// is left, the asynchronous error is shown once.
TEST_F(ClientSocketTest, RefusedConnectionGivesOnlyOnErrorWithConnect) {
  for (const bool clear : {true, false}) {
    SocketRecorder r;
    r.clearCode = clear;
    TClientSocket s;
    r.Attach(s);
    s.SetAddress("127.0.0.1");
    s.SetPort(FreePort());
    boxes.Clear();
    s.Open();
    ASSERT_TRUE(DelayUntil(2000, [&] { return !r.errors.empty(); })) << clear;
    platform::Delay(100);
    EXPECT_EQ(r.events, (std::vector<std::string>{"Lookup", "Connecting", "Error"}));
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].first, TErrorEvent::eeConnect);
    EXPECT_EQ(r.errors[0].second, ECONNREFUSED);
    EXPECT_FALSE(s.Active());
    if (clear) {
      EXPECT_TRUE(boxes.Shown().empty());
    } else {
      ASSERT_EQ(boxes.Shown().size(), 1u);
      EXPECT_EQ(boxes.Shown()[0].text, "Asynchronous socket error " + std::to_string(ECONNREFUSED) + ".");
    }
  }
}

// Catches a port number used whole instead of its low 16 bits.
TEST_F(ClientSocketTest, OnlyTheLow16BitsOfThePortCount) {
  rec.Attach(sock);
  sock.SetAddress("127.0.0.1");
  sock.SetPort(server.port + 65536);
  sock.Open();
  ASSERT_TRUE(DelayUntil(2000, [&] { return sock.Active(); }));
  EXPECT_TRUE(server.Accept());
}

// Catches dropped bytes when the platform takes only part of a send: several
// megabytes sent at once to a slow reader arrive whole and in order.
TEST_F(ClientSocketTest, SendsNeverDropBytesUnderASlowReader) {
  Connect();
  int writes = 0;
  sock.OnWrite = [&](TClientWinSocket&) { ++writes; };
  constexpr size_t kTotal = 6u << 20;
  std::string data(kTotal, '\0');
  for (size_t i = 0; i < kTotal; ++i) data[i] = char('a' + (i * 7 + i / 4099) % 26);

  std::string received;
  std::atomic<bool> done{false};
  std::thread reader([&] {
    char buf[32768];
    while (received.size() < kTotal) {
      pollfd p{server.peer, POLLIN, 0};
      if (poll(&p, 1, 10000) <= 0) break;
      const ssize_t n = recv(server.peer, buf, sizeof buf, 0);
      if (n <= 0) break;
      received.append(buf, size_t(n));
      std::this_thread::sleep_for(std::chrono::microseconds(300));  // slow
    }
    done = true;
  });
  size_t sent = 0;
  for (size_t chunk = 1 << 20; sent < kTotal; sent += chunk)
    EXPECT_EQ(sock.Socket().TransmitText(std::string_view(data).substr(sent, chunk)), int(chunk));
  EXPECT_GT(sock.Socket().PendingOutput(), 0u);  // the platform could not take it all at once
  const bool flushed = DelayUntil(60000, [&] { return sock.Socket().PendingOutput() == 0; });
  reader.join();
  EXPECT_TRUE(flushed);
  EXPECT_TRUE(done);
  ASSERT_EQ(received.size(), kTotal);
  EXPECT_TRUE(received == data);
  EXPECT_GE(writes, 1);
  EXPECT_TRUE(rec.errors.empty());
}

// Catches unread bytes reported over and over (a busy loop, or the handler
// re-entered from an event loop it runs, as a message box does), and bytes
// left after a partial read never reported again.
TEST_F(ClientSocketTest, UnreadBytesAreReportedOnceUntilTheNextRead) {
  Connect();
  int reports = 0;
  bool readOne = false;
  sock.OnRead = [&](TClientWinSocket& w) {
    ++reports;
    platform::Delay(30);
    char c;
    if (readOne) {
      EXPECT_EQ(w.ReceiveBytes(&c, 1), 1);
    }
  };
  ASSERT_EQ(send(server.peer, "abc", 3, 0), 3);
  platform::Delay(200);
  EXPECT_EQ(reports, 1);

  readOne = true;
  char c;
  ASSERT_EQ(sock.Socket().ReceiveBytes(&c, 1), 1);  // "bc" left: one report each
  EXPECT_TRUE(DelayUntil(2000, [&] { return reports == 3; }));
  platform::Delay(200);
  EXPECT_EQ(reports, 3);
  EXPECT_EQ(sock.Socket().ReceiveBytes(nullptr, -1), 0);
}

// Catches a peer's close that goes unnoticed, or data before it lost.
TEST_F(ClientSocketTest, PeerCloseDisconnectsAfterTheLastData) {
  Connect();
  std::string got;
  int zeroReads = 0;
  sock.OnRead = [&](TClientWinSocket& w) {
    char buf[64];
    const int n = w.ReceiveBytes(buf, sizeof buf);
    if (n > 0) got.append(buf, size_t(n));
    if (n == 0) ++zeroReads;
  };
  ASSERT_EQ(send(server.peer, "bye\r\n", 5, 0), 5);
  server.ClosePeer();
  ASSERT_TRUE(DelayUntil(2000, [&] { return !sock.Active(); }));
  EXPECT_EQ(got, "bye\r\n");
  EXPECT_EQ(rec.events.back(), "Disconnect");
  EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "Disconnect"), 1);
  EXPECT_TRUE(rec.errors.empty());
}

// Catches a reset connection left showing as connected: the error is
// reported, then the disconnect follows; a code left by the handler is shown
// once.
TEST_F(ClientSocketTest, ResetReportsTheErrorThenDisconnects) {
  for (const bool clear : {true, false}) {
    Listener srv;
    TClientSocket s;
    SocketRecorder r;
    r.clearCode = clear;
    r.Attach(s);
    s.SetAddress("127.0.0.1");
    s.SetPort(srv.port);
    s.Open();
    ASSERT_TRUE(DelayUntil(2000, [&] { return s.Active(); }));
    ASSERT_TRUE(srv.Accept());
    boxes.Clear();
    srv.Reset();
    ASSERT_TRUE(DelayUntil(2000, [&] { return !s.Active(); })) << clear;
    platform::Delay(50);
    EXPECT_EQ(r.events, (std::vector<std::string>{"Lookup", "Connecting", "Connect", "Error", "Disconnect"}));
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].first, TErrorEvent::eeDisconnect);
    EXPECT_EQ(r.errors[0].second, ECONNRESET);
    EXPECT_EQ(s.Socket().Handle(), -1);
    EXPECT_EQ(boxes.Shown().size(), clear ? 0u : 1u);
  }
}

// Catches an attempt that is cancelled by a close before it completes.
TEST_F(ClientSocketTest, CloseDuringTheAttemptDoesNothing) {
  rec.Attach(sock);
  sock.SetAddress("127.0.0.1");
  sock.SetPort(server.port);
  sock.Open();
  sock.Close();
  EXPECT_EQ(rec.events, (std::vector<std::string>{"Lookup", "Connecting"}));
  ASSERT_TRUE(DelayUntil(2000, [&] { return sock.Active(); }));
}

// Catches settings changed under a live connection, and case-only changes
// treated as changes.
TEST_F(ClientSocketTest, SettingsCannotChangeWhileActive) {
  sock.SetAddress("LocalHost");
  sock.SetAddress("localhost");
  EXPECT_EQ(sock.Address(), "LocalHost");
  sock.SetAddress("");
  Connect();
  sock.SetAddress("127.0.0.1");
  sock.SetPort(server.port);
  EXPECT_THROW(sock.SetAddress("127.0.0.2"), ESocketError);
  EXPECT_THROW(sock.SetPort(514), ESocketError);
  try {
    sock.SetPort(514);
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "Can't change value while socket is active");
  }
}

// Catches an open without an address that connects somewhere, or does not
// report through the error event first.
TEST_F(ClientSocketTest, NoAddressReportsLookupErrorAndDisconnects) {
  rec.clearCode = false;
  rec.Attach(sock);
  sock.SetPort(server.port);
  try {
    sock.Open();
    FAIL() << "opened without an address";
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "No address specified");
  }
  EXPECT_EQ(rec.events, (std::vector<std::string>{"Lookup", "Error", "Disconnect"}));
  EXPECT_EQ(rec.errors[0], std::make_pair(TErrorEvent::eeLookup, 1110));
  EXPECT_FALSE(sock.Active());
}

// Catches a host name looked up, or a rejected connect reported as success:
// a name is not an address, and the attempt never connects.
TEST_F(ClientSocketTest, ANameIsNotLookedUp) {
  rec.Attach(sock);
  sock.SetAddress("localhost");
  sock.SetPort(server.port);
  bool raised = false;
  try {
    sock.Open();
  } catch (const ESocketError& e) {
    raised = true;
    EXPECT_EQ(std::string(e.what()).rfind("Windows socket error: ", 0), 0u) << e.what();
    EXPECT_NE(std::string(e.what()).find("on API 'connect'"), std::string::npos);
    EXPECT_EQ(rec.events.back(), "Disconnect");
  }
  EXPECT_FALSE(DelayUntil(200, [&] { return sock.Active(); })) << raised;
}

// Catches a malformed platform error text (the description is trimmed).
TEST(ESocketErrorTest, PlatformMessage) {
  EXPECT_STREQ(ESocketError::Platform(ECONNREFUSED, "connect").what(),
               "Windows socket error: Connection refused (111), on API 'connect'");
  EXPECT_STREQ(ESocketError::Async(10061).what(), "Asynchronous socket error 10061");
}

}  // namespace
}  // namespace comm
