#include "config/address_checks.h"

#include <charconv>

#include "config/config_pages.h"

namespace config {

namespace {

// "중간 IP 없음" (a middle group of the address is missing) in CP949, the
// code page the debug window shows it in.
constexpr std::string_view kMissingGroupTrace = "\xC1\xDF\xB0\xA3 IP \xBE\xF8\xC0\xBD";

/// The first group's value: leading blanks skipped; anything that is not a
/// whole decimal number after them (a trailing blank, nothing at all) is 0.
int FirstGroupValue(std::string_view group) {
  const size_t start = group.find_first_not_of(' ');
  if (start == std::string_view::npos) return 0;
  const std::string_view digits = group.substr(start);
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || value < 0) return 0;
  return value;
}

struct AddressClass {
  int lastValue;  // the class holds first groups up to this value
  const char* netmask;
  int groupsKept;  // groups of the address that start the router
};

constexpr AddressClass kClasses[] = {
    {127, "255.0.0.0", 1},
    {191, "255.255.0.0", 2},
    {223, "255.255.255.0", 3},
    {239, "255.255.255.255", 4},
};

}  // namespace

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ') out.push_back(c);
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == text.npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') + 1 - begin);
}

bool HasSplitGroup(std::string_view address) {
  bool character = false;  // the group has had a character
  bool gap = false;        // and a blank after it
  for (char c : address) {
    if (c == '.') {
      character = gap = false;
    } else if (c == ' ') {
      gap = character;
    } else if (gap) {
      return true;
    } else {
      character = true;
    }
  }
  return false;
}

bool IP_Add_Check(std::string_view address, const TraceFn& trace) {
  const std::string s = WithoutBlanks(address);
  int dots = 0;
  int groupLength = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '.') {
      ++groupLength;
    } else if (groupLength == 0) {
      if (trace) trace(std::string(kMissingGroupTrace));
      return false;
    } else {
      ++dots;
      groupLength = 0;
    }
    if (dots == 3) return i + 1 < s.size() && !HasSplitGroup(address);
  }
  return false;
}

std::string Get_GW_IP(std::string_view text, int n) {
  std::string out;
  int dots = 0;
  for (char c : text) {
    if (c == '.') {
      if (dots == n) break;
      ++dots;
    }
    out.push_back(c);
  }
  return out;
}

void ED_Static_IP_addressExit(ConfigPages& pages) {
  // Never overwrite what the user has entered.
  if (!pages.ED_Static_Netmask.IsEmpty() || !pages.ED_Static_router.IsEmpty()) return;

  const std::string address = pages.ED_Static_IP_address.Text();
  const int v = FirstGroupValue(std::string_view(address).substr(0, address.find('.')));
  for (const AddressClass& cls : kClasses) {
    if (v > cls.lastValue) continue;
    pages.ED_Static_Netmask.SetText(cls.netmask);
    pages.ED_Static_router.SetText(Get_GW_IP(address, cls.groupsKept - 1));
    return;
  }
  // 240 and above: no class, nothing proposed.
}

}  // namespace config
