#include "devlink/conversation_queue.h"

#include <algorithm>
#include <utility>

#include "platform/ui/delay.h"

namespace devlink {

ConversationQueue::ConversationQueue(std::function<void()> silent) : silent_(std::move(silent)) {
  silence_.onTimer = [this] { SilenceTick(); };
}

bool ConversationQueue::Waiting(Conversation c) const {
  return std::any_of(waiting_.begin(), waiting_.end(), [c](const Waiter& w) { return w.conversation == c; });
}

void ConversationQueue::Ask(Conversation c, Start start) {
  if (running_ == Conversation::None) {
    Begin({c, std::move(start)});
    return;
  }
  if (c == Conversation::Poll) {
    for (Waiter& w : waiting_)
      if (w.conversation == Conversation::Poll) {
        w.start = std::move(start);
        return;
      }
    waiting_.push_back({c, std::move(start)});
    return;
  }
  // Everything the user asks for goes before the polls.
  auto firstPoll = std::find_if(waiting_.begin(), waiting_.end(),
                                [](const Waiter& w) { return w.conversation == Conversation::Poll; });
  waiting_.insert(firstPoll, {c, std::move(start)});
}

bool ConversationQueue::Drop(Conversation c) {
  const auto before = waiting_.size();
  std::erase_if(waiting_, [c](const Waiter& w) { return w.conversation == c; });
  return waiting_.size() != before;
}

std::deque<Conversation> ConversationQueue::TakeWaiting() {
  std::deque<Conversation> taken;
  for (const Waiter& w : waiting_) taken.push_back(w.conversation);
  waiting_.clear();
  return taken;
}

void ConversationQueue::Become(Conversation c) {
  if (running_ == Conversation::None) return;
  running_ = c;
  ArmSilence();
}

void ConversationQueue::End(bool startNext) {
  running_ = Conversation::None;
  silence_.Stop();
  if (!startNext || waiting_.empty()) return;
  Waiter next = std::move(waiting_.front());
  waiting_.pop_front();
  Begin(std::move(next));
}

void ConversationQueue::Begin(Waiter w) {
  running_ = w.conversation;
  ArmSilence();
  w.start();
}

void ConversationQueue::Activity() { lastActivity_ = platform::TickCount(); }

void ConversationQueue::SetSilenceLimits(uint32_t limitMs, uint32_t quietMs) {
  limitMs_ = limitMs;
  quietMs_ = quietMs;
  if (running_ != Conversation::None) ArmSilence();
}

uint32_t ConversationQueue::LimitOfRunning() const {
  return running_ == Conversation::Typed ? quietMs_ : limitMs_;
}

void ConversationQueue::ArmSilence() {
  Activity();
  silence_.Stop();
  silence_.SetInterval(int(LimitOfRunning()));
  silence_.Start();
}

void ConversationQueue::SilenceTick() {
  // The timer is not restarted for every byte: when it fires, the time since
  // the last byte decides.
  const uint32_t limit = LimitOfRunning();
  const uint32_t quiet = platform::TickCount() - lastActivity_;
  if (quiet < limit) {
    silence_.SetInterval(int(limit - quiet));
    return;
  }
  silence_.Stop();
  if (running_ != Conversation::None) silent_();
}

}  // namespace devlink
