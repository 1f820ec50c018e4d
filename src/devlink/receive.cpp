// The receive path: bytes become words and lines (parse mode) or whole lines
// for the status memo (status mode).
//
// The interpreter may open message boxes, which run nested receive events on
// the same `RxLine`, `Tokens` and `TokenIndex`. So nothing here holds a
// reference into the link record across a call of the interpreter: each step
// indexes the record afresh, and the interpreter reads its own copy of the line.
#include <algorithm>
#include <utility>

#include "devlink/device_link.h"
#include "lang/language_file.h"

namespace devlink {

namespace {

bool IsWordEnd(char b) { return b == ' ' || b == '\0' || b == '\r' || b == '\n'; }

constexpr std::string_view kMorePrompt = "-- more --";

}  // namespace

void DeviceLink::Receive(std::string_view bytes, LineEnds ends) {
  queue_.Activity();
  if (record_.StatusMode) {
    ReceiveStatus(bytes, ends);
    // The gatekeeper query follows the first chunk after a WAN status poll.
    if (record_.StatusFollowUp) {
      record_.StatusFollowUp = false;
      Sending([this] {
        SendGetData("get-gatekeeper-status\r");
        SendGetData(" ");
        SendGetData(" ");
      });
    }
  } else {
    ReceiveParsed(bytes);
  }
}

void DeviceLink::AppendToWord(std::string_view run) {
  // A peer that never sends a delimiter must not grow memory without bound.
  const size_t room = kMaxWordBytes - std::min(kMaxWordBytes, record_.RxLine.size());
  record_.RxLine.append(run.substr(0, room));
}

void DeviceLink::ReceiveParsed(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    // The bytes up to the next delimiter join the word in one append.
    size_t end = i;
    while (end < bytes.size() && !IsWordEnd(bytes[end])) ++end;
    if (end > i) AppendToWord(bytes.substr(i, end - i));
    if (end == bytes.size()) break;
    const char b = bytes[end];
    i = end + 1;
    // Words beyond the last slot of a line are dropped; the line still ends.
    const int32_t slot = record_.TokenIndex;
    const bool stored = slot >= 0 && slot < kTokenSlots;
    if (stored) {
      std::swap(record_.Tokens[slot], record_.RxLine);
      if (slot < kTokenSlots / 2) tokensFilled_ = std::max(tokensFilled_, slot + 1);
    }
    if (b == '\r' || b == '\n') {
      LineWords words;
      for (int k = 0; k < kLineWords; ++k) words[k] = record_.Tokens[k];
      // The line is over before it is interpreted: a receive nested in the
      // interpreter (inside a message box) starts a new line instead of
      // gluing its first word to this line's last one, and what it leaves
      // unfinished is not wiped when this pass resumes.
      // An error line of the gateway ends the conversation that waits for it.
      if (words[0].starts_with('%')) GatewayRefused(LineText(stored ? slot : kTokenSlots - 1));
      record_.TokenIndex = 0;
      record_.RxLine.clear();
      ComPort_Encode_Parsing(words);
    } else {
      record_.RxLine.clear();
      if (stored && !record_.Tokens[slot].empty()) ++record_.TokenIndex;
    }
  }
}

void DeviceLink::ReceiveStatus(std::string_view bytes, LineEnds) {
  // Lines end at CR, LF or CR LF on both transports: gateways differ.
  for (const char b : bytes) {
    if (b == '\r' || b == '\n') {
      const bool secondHalf = b == '\n' && statusAfterCr_;
      statusAfterCr_ = b == '\r';
      if (secondHalf) continue;
      std::string line = std::exchange(record_.RxLine, std::string());
      if (line != kMorePrompt) StatusLine(std::move(line));  // a prompt is no status line
    } else {
      statusAfterCr_ = false;
      if (record_.RxLine == kMorePrompt)
        record_.RxLine.clear();  // the key press echoed over the prompt
      else
        AppendToWord(std::string_view(&b, 1));
    }
  }
}

std::string DeviceLink::LineText(int lastSlot) const {
  std::string text;
  for (int i = 0; i <= lastSlot; ++i) {
    const std::string& word = record_.Tokens[size_t(i)];
    if (word.empty()) continue;
    if (!text.empty()) text += ' ';
    text += word;
  }
  return text;
}

void DeviceLink::StatusLine(std::string line) {
  const std::string trimmed(lang::TrimControls(line));
  platform::Memo& memo = pages_.M_State_Info;
  if (trimmed == "System Information") memo.Add(std::string());
  if (trimmed != "!START-TAG!" && trimmed != "!END-TAG!" && trimmed != "get-wan-status" &&
      trimmed != "get-gatekeeper-status")
    memo.Add(std::move(line));
  PollLine(trimmed);
}

}  // namespace devlink
