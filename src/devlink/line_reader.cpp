#include "devlink/line_reader.h"

#include <algorithm>
#include <utility>

namespace devlink {

namespace {

bool IsWordEnd(char b) { return b == ' ' || b == '\0' || b == '\r' || b == '\n'; }

constexpr std::string_view kMorePrompt = "-- more --";

}  // namespace

void LineReader::Receive(std::string_view bytes) {
  if (statusMode_)
    ReceiveStatus(bytes);
  else
    ReceiveParsed(bytes);
}

void LineReader::StartCommand() {
  tokenIndex_ = 0;
  for (int i = 0; i < tokensFilled_; ++i) tokens_[i].clear();
  tokensFilled_ = 0;
}

void LineReader::SetWord(int slot, std::string word) {
  if (slot < 0 || slot >= kTokenSlots) return;
  tokens_[size_t(slot)] = std::move(word);
  if (slot < kTokenSlots / 2) tokensFilled_ = std::max(tokensFilled_, slot + 1);
}

void LineReader::AppendToWord(std::string_view run) {
  // A peer that never sends a delimiter must not grow memory without bound.
  const size_t room = kMaxWordBytes - std::min(kMaxWordBytes, rxLine_.size());
  rxLine_.append(run.substr(0, room));
}

void LineReader::ReceiveParsed(std::string_view bytes) {
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
    const int32_t slot = tokenIndex_;
    const bool stored = slot >= 0 && slot < kTokenSlots;
    if (stored) {
      std::swap(tokens_[slot], rxLine_);
      if (slot < kTokenSlots / 2) tokensFilled_ = std::max(tokensFilled_, slot + 1);
    }
    if (b == '\r' || b == '\n') {
      LineWords words;
      for (int k = 0; k < kLineWords; ++k) words[k] = tokens_[k];
      // The line is over before it is handed on: a receive nested in the
      // user (inside a message box) starts a new line instead of gluing its
      // first word to this line's last one, and what it leaves unfinished is
      // not wiped when this pass resumes.
      if (words[0].starts_with('%')) user_.ErrorLine(LineText(stored ? slot : kTokenSlots - 1));
      tokenIndex_ = 0;
      rxLine_.clear();
      user_.WordsLine(words);
    } else {
      rxLine_.clear();
      if (stored && !tokens_[slot].empty()) ++tokenIndex_;
    }
  }
}

void LineReader::ReceiveStatus(std::string_view bytes) {
  // Lines end at CR, LF or CR LF on both transports: gateways differ.
  for (const char b : bytes) {
    if (b == '\r' || b == '\n') {
      const bool secondHalf = b == '\n' && statusAfterCr_;
      statusAfterCr_ = b == '\r';
      if (secondHalf) continue;
      std::string line = std::exchange(rxLine_, std::string());
      if (line != kMorePrompt) user_.StatusLine(std::move(line));  // a prompt is no status line
    } else {
      statusAfterCr_ = false;
      if (rxLine_ == kMorePrompt)
        rxLine_.clear();  // the key press echoed over the prompt
      else
        AppendToWord(std::string_view(&b, 1));
    }
  }
}

std::string LineReader::LineText(int lastSlot) const {
  std::string text;
  for (int i = 0; i <= lastSlot; ++i) {
    const std::string& word = tokens_[size_t(i)];
    if (word.empty()) continue;
    if (!text.empty()) text += ' ';
    text += word;
  }
  return text;
}

}  // namespace devlink
