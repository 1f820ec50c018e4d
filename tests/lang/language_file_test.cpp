// The language file's line rules: the "=" search, the streaming scanner
// against a plain whole-line reading, and huge inputs.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "lang/io_error.h"
#include "lang/language_file.h"

namespace {

using namespace std::string_literals;
using Settings = std::vector<std::pair<std::string, std::string>>;

// Catches an off-by-one in the search range: the last character must never
// count as the separator, the first one must.
TEST(GetConfigurationEquals, FindsTheFirstEqualsBeforeTheLastCharacter) {
  const struct {
    std::string line;
    int expected;
  } rows[] = {
      {"", 0},        {"=", 0},    {"a", 0},     {"a=", 0},    {"=a", 2},      {"==", 2},     {"x==", 3},
      {"OK = OK", 5}, {"OK =", 0}, {"OK = ", 5}, {"a=b=c", 3}, {"no sign", 0}, {"\0=\0"s, 3},
  };
  for (const auto& r : rows)
    EXPECT_EQ(lang::get_Configuration_Equals(r.line), r.expected) << '"' << r.line << '"';
}

// Catches trimming that stops at blanks only, or eats bytes above 0x20.
TEST(TrimControls, RemovesBytesUpToBlankOnBothEnds) {
  EXPECT_EQ(lang::TrimControls("\0\t \x1f"
                               "a b\x7f\x80 \r\n\0"s),
            "a b\x7f\x80");
  EXPECT_EQ(lang::TrimControls(" \t "), "");
  EXPECT_EQ(lang::TrimControls("x"), "x");
}

// The whole-line reading the scanner must agree with: cut at 0x1A, drop every
// CR, split at LF, then key and value by the first examined "=".
Settings ReadWhole(std::string bytes, const std::vector<std::string>& keys) {
  if (const size_t eof = bytes.find('\x1a'); eof != std::string::npos) bytes.resize(eof);
  std::erase(bytes, '\r');
  Settings out;
  size_t start = 0;
  while (start <= bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string_view line(bytes.data() + start, end - start);
    if (const int p = lang::get_Configuration_Equals(line); p != 0) {
      const std::string key(lang::TrimControls(line.substr(0, size_t(p) - 2)));
      if (std::find(keys.begin(), keys.end(), key) != keys.end())
        out.emplace_back(key, std::string(lang::TrimControls(line.substr(size_t(p) - 1))));
    }
    start = end + 1;
  }
  return out;
}

Settings Scan(const std::string& bytes, const std::vector<std::string>& keys, size_t maxKey,
              const std::vector<size_t>& cuts) {
  Settings out;
  lang::SettingScanner scanner(
      [&](std::string_view k) { return std::find(keys.begin(), keys.end(), k) != keys.end(); }, maxKey,
      [&](std::string_view k, std::string v) { out.emplace_back(std::string(k), std::move(v)); });
  size_t at = 0;
  bool more = true;
  for (const size_t cut : cuts) {
    if (!more || cut <= at) continue;
    more = scanner.Feed(std::string_view(bytes).substr(at, cut - at));
    at = cut;
  }
  if (more && scanner.Feed(std::string_view(bytes).substr(at))) scanner.Finish();
  return out;
}

// Catches any disagreement between the streaming scanner and the plain
// reading: CR handling, 0x1A, "=" in last place, trimming, the key-length
// bound with long gaps, and state carried across chunk boundaries.
TEST(SettingScanner, AgreesWithWholeLineReadingOnRandomInput) {
  const std::vector<std::string> keys = {"OK", "O K", "TCP port", "K", "=K"};
  const size_t maxKey = 8;
  const std::string alphabet = "OKTCPport x=\t\r\n\0"s;
  std::mt19937 rng(20240611);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    const int pieces = int(rng() % 40);
    for (int i = 0; i < pieces; ++i) {
      switch (rng() % 12) {
        case 0: bytes += std::string(rng() % 20, ' '); break;  // long gaps
        case 1: bytes += "TCP port"; break;
        case 2: bytes += "OK ="; break;
        case 3:
          if (rng() % 8 == 0) bytes += '\x1a';
          break;
        default: bytes += alphabet[rng() % alphabet.size()];
      }
    }
    std::vector<size_t> cuts;
    for (size_t c = rng() % 4; c < bytes.size(); c += 1 + rng() % 5) cuts.push_back(c);
    ASSERT_EQ(Scan(bytes, keys, maxKey, cuts), ReadWhole(bytes, keys))
        << "round " << round << ": \"" << bytes << '"';
  }
}

// Catches a scanner that bounds line length, or stores unknown lines whole:
// a 64 MiB line of junk is passed over and the next line still counts.
TEST(SettingScanner, PassesOverAHugeLineAndReadsTheNext) {
  Settings out;
  lang::SettingScanner scanner([](std::string_view k) { return k == "Save"; }, 4,
                               [&](std::string_view k, std::string v) { out.emplace_back(k, v); });
  const std::string junk(64 * 1024, 'x');
  for (int i = 0; i < 1024; ++i) ASSERT_TRUE(scanner.Feed(junk));
  ASSERT_TRUE(scanner.Feed(" = not this\r\nSave = " + std::string(100000, 'v') + "\r\n"));
  scanner.Finish();
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].second, std::string(100000, 'v'));  // values are never cut
}

long MaxResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Catches reading the whole file into memory: a 256 MiB file of NUL bytes
// (sparse, so cheap to make) is read without the process growing by its size,
// and the setting at its end is found.
TEST(ReadLanguageFile, StreamsAHugeBinaryFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath("language.cfg").toStdString();
  const off_t size = 256LL * 1024 * 1024;
  {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const std::string tail = "\nSave = Tail";
    ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), size), ssize_t(tail.size()));
    ::close(fd);
  }
  const long before = MaxResidentKiB();
  Settings out;
  lang::SettingScanner scanner([](std::string_view k) { return k == "Save"; }, 4,
                               [&](std::string_view k, std::string v) { out.emplace_back(k, v); });
  lang::ReadLanguageFile(path, scanner);
  EXPECT_LT(MaxResidentKiB() - before, 64 * 1024);
  EXPECT_EQ(out, (Settings{{"Save", "Tail"}}));
}

// Catches a reader that gathers settings and hands them over only at the end,
// or that swallows a read error: the settings before the failure are handed
// over, then the error (with its errno) reaches the caller.
TEST(ReadLanguageFile, HandsOverSettingsReadBeforeAFailure) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  const std::string early = "Save = Early\r\nSave";
  ASSERT_EQ(::write(pair[0], early.data(), early.size()), ssize_t(early.size()));
  ASSERT_EQ(::write(pair[1], "x", 1), 1);  // unread on the far side:
  ::close(pair[0]);                        // closing it resets the connection
  Settings out;
  lang::SettingScanner scanner([](std::string_view k) { return k == "Save"; }, 4,
                               [&](std::string_view k, std::string v) { out.emplace_back(k, v); });
  try {
    lang::ReadLanguageFrom(pair[1], "socket", scanner);
    ADD_FAILURE() << "no error";
  } catch (const lang::InOutError& e) {
    EXPECT_EQ(e.Code(), ECONNRESET);
    EXPECT_EQ(e.Path(), "socket");
  }
  EXPECT_EQ(out, (Settings{{"Save", "Early"}}));
  ::close(pair[1]);
}

}  // namespace
