#include "platform/qt/address_typing.h"

#include <algorithm>

namespace platform::qt {

namespace {
constexpr int kLength = 15;
bool IsDot(int p) { return p % 4 == 3; }
}  // namespace

bool AddressTyping::BlankSelection() {
  if (selLength <= 0) return false;
  const int end = std::min(selStart + selLength, kLength);
  for (int p = std::max(selStart, 0); p < end; ++p)
    if (!IsDot(p)) text[size_t(p)] = ' ';
  cursor = std::clamp(selStart, 0, kLength);
  selLength = 0;
  return true;
}

bool AddressTyping::Type(char c) {
  const bool digit = c >= '0' && c <= '9';
  if (!digit && c != ' ' && c != '.') return false;
  bool changed = BlankSelection();
  int p = cursor;
  if (c == '.') {
    if (p % 4 == 0 || p >= 12) return changed;  // start of a group, or the last group
    for (int q = p; !IsDot(q); ++q) text[size_t(q)] = ' ';
    cursor = (p / 4 + 1) * 4;
    return true;
  }
  if (p < kLength && IsDot(p)) ++p;
  if (p >= kLength) return changed;
  text[size_t(p)] = c;
  ++p;
  if (p < kLength && IsDot(p)) ++p;
  cursor = p;
  return true;
}

bool AddressTyping::Backspace() {
  if (BlankSelection()) return true;
  int p = cursor - 1;
  if (p >= 0 && IsDot(p)) --p;
  if (p < 0) return false;
  text[size_t(p)] = ' ';
  cursor = p;
  return true;
}

bool AddressTyping::Delete() {
  if (BlankSelection()) return true;
  int p = cursor;
  if (p < kLength && IsDot(p)) ++p;
  if (p >= kLength) return false;
  text[size_t(p)] = ' ';
  return true;
}

}  // namespace platform::qt
