// Replays the committed fuzz corpus (seeds and every input that once broke a
// target) through the targets' entry points, so each build's tests run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "targets.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CorpusReplay : public ::testing::TestWithParam<fuzz::Target> {};

// Catches a target whose entry point crashes, aborts on a broken invariant or
// sanitizer finding, on an input of its corpus; also a corpus folder gone missing.
TEST_P(CorpusReplay, EveryInputRunsClean) {
  const fuzz::Target t = GetParam();
  const fs::path dir = fs::path(MORVEL_FUZZ_CORPUS) / std::string(t.name);
  ASSERT_TRUE(fs::is_directory(dir)) << dir;
  std::vector<fs::path> inputs;
  for (const fs::directory_entry& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) inputs.push_back(e.path());
  ASSERT_FALSE(inputs.empty()) << "no seeds in " << dir;
  for (const fs::path& p : inputs) {
    SCOPED_TRACE(p.filename().string());
    const std::string bytes = ReadAll(p);
    EXPECT_EQ(t.entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

// Catches an entry point that cannot take the empty input (libFuzzer's first).
TEST_P(CorpusReplay, EmptyInputRunsClean) { EXPECT_EQ(GetParam().entry(nullptr, 0), 0); }

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, ::testing::ValuesIn(fuzz::kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
