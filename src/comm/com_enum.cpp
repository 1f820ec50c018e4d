#include "com_enum.h"

#include <strings.h>
#include <algorithm>
#include <filesystem>

namespace comm {

std::vector<std::string> EnumComPorts(const std::string& sysClassTty, const std::string& serialById) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(sysClassTty, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code lec;
    if (fs::is_symlink(it->path() / "device", lec)) names.push_back(it->path().filename().string());
  }
  ec.clear();
  for (fs::directory_iterator it(serialById, ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().string());
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
  return names;
}

}  // namespace comm
