// Many visits in one process: nothing a visit opens outlives it.
#include <dirent.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

using platform::Answer;

/// Entries of a /proc/self directory: open descriptors, threads.
size_t Entries(const char* dir) {
  size_t n = 0;
  if (DIR* d = opendir(dir)) {
    while (const dirent* e = readdir(d))
      if (e->d_name[0] != '.') ++n;
    closedir(d);
  }
  return n;
}

// Catches descriptors, notifiers or threads that a visit leaves behind (a
// socket not closed after Disconnect, a timer's or the port's thread kept):
// a technician's day of visits would run the program out of them.
TEST_F(VisitTest, TwoHundredVisitsLeaveNothingBehind) {
  StartGateway({});
  size_t fds = 0, threads = 0;
  for (int visit = 1; visit <= 200; ++visit) {
    auto idle = [&] { return link().Running() == devlink::Conversation::None; };
    ASSERT_TRUE(Connect(Via::Tcp)) << "visit " << visit;
    TypeLogin();
    ASSERT_TRUE(WaitFor([&] { return idle() && Sent("get-dns-server\r"); })) << "visit " << visit;
    main().BB_Save.Click();
    ASSERT_TRUE(WaitFor([&] {
      return idle() && BoxShown("Save was complete\rPlease restart, if you want to apply to a modification");
    })) << "visit "
        << visit;
    boxes.Queue(Answer::Ok);
    main().BB_Disconnect.Click();
    ASSERT_TRUE(WaitFor([&] { return !sim().tcpClientConnected(); })) << "visit " << visit;
    boxes.Clear();
    debug().Display.Clear();
    if (visit == 1) {
      fds = Entries("/proc/self/fd");
      threads = Entries("/proc/self/task");
    }
  }
  RecordProperty("descriptors", std::to_string(fds) + " -> " + std::to_string(Entries("/proc/self/fd")));
  RecordProperty("threads", std::to_string(threads) + " -> " + std::to_string(Entries("/proc/self/task")));
  EXPECT_EQ(Entries("/proc/self/fd"), fds);
  EXPECT_EQ(Entries("/proc/self/task"), threads);
  EXPECT_EQ(sim().counters().savesApplied, 200u);
}

}  // namespace
}  // namespace e2e
