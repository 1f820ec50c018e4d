#pragma once
// The exchanges with the gateway as a queue: one runs, the others wait in the
// order asked, and each ends with exactly one outcome.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/ui/timer.h"

namespace devlink {

/// The exchanges with the gateway. One runs at a time.
enum class Conversation {
  None,
  ReadOut,  ///< the login line, its answer and the query series to the end of the DNS reply
  Save,     ///< "write-system" to the second "!END-TAG!" echo
  Poll,     ///< "get-wan-status" to the end of the gatekeeper status
  Restart,  ///< "reboot-system" and the transport closed
  Typed,    ///< a line typed in the debug window, to the end of its reply
};

/// How a conversation ended.
enum class Outcome {
  Complete,
  Refused,   ///< the gateway answered with an error line ("%...") or refused the login
  TimedOut,  ///< nothing at all came or went for the silence limit
  Closed,    ///< the transport closed, or a write to it failed
};

struct Ending {
  Conversation conversation = Conversation::None;
  Outcome outcome = Outcome::Complete;
  /// Why, for the user: the gateway's own line, what never ended, the error.
  std::string reason;
};

/// Knows which conversation runs, which wait, and how long the running one
/// has heard nothing. It decides nothing about what a conversation sends:
/// each is asked with the function that starts it.
class ConversationQueue {
 public:
  using Start = std::function<void()>;

  /// `silent` runs when the running conversation has seen no byte either way
  /// for its silence limit; it decides how that conversation ends.
  explicit ConversationQueue(std::function<void()> silent);

  Conversation Running() const { return running_; }
  bool Waiting(Conversation c) const;
  /// Running or waiting.
  bool Asked(Conversation c) const { return running_ == c || Waiting(c); }

  /// Starts `start` now when nothing runs; otherwise it waits. Polls wait
  /// behind everything else, and a later poll replaces a waiting one; the
  /// others wait in the order asked.
  void Ask(Conversation c, Start start);
  /// Drops the waiting conversations of kind `c`; true when there was one.
  bool Drop(Conversation c);
  /// Takes every waiting conversation off the queue, oldest first.
  std::deque<Conversation> TakeWaiting();
  /// The running conversation goes on as `c` (a typed line whose reply has
  /// restarted the query series becomes a read-out).
  void Become(Conversation c);
  /// The running conversation is over; the first waiting one starts unless
  /// `startNext` is false. A start that raises leaves its conversation
  /// running for its caller to end.
  void End(bool startNext = true);

  /// A byte went out or came in.
  void Activity();
  /// How long the running conversation may hear nothing: `limitMs` for read-
  /// outs, saves and polls, `quietMs` for a typed line (whose reply has no
  /// end mark of its own, so quiet ends it).
  void SetSilenceLimits(uint32_t limitMs, uint32_t quietMs);
  uint32_t SilenceLimit() const { return limitMs_; }

  static constexpr uint32_t kSilenceLimitMs = 15000;
  static constexpr uint32_t kTypedQuietMs = 2000;

 private:
  struct Waiter {
    Conversation conversation;
    Start start;
  };
  void Begin(Waiter w);
  void ArmSilence();
  void SilenceTick();
  uint32_t LimitOfRunning() const;

  Conversation running_ = Conversation::None;
  std::deque<Waiter> waiting_;
  std::function<void()> silent_;
  platform::Timer silence_{"silence", int(kSilenceLimitMs)};
  uint32_t lastActivity_ = 0;
  uint32_t limitMs_ = kSilenceLimitMs;
  uint32_t quietMs_ = kTypedQuietMs;
};

}  // namespace devlink
