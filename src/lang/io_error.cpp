#include "io_error.h"

#include <cerrno>
#include <cstring>

namespace lang {

InOutError::InOutError(int code, std::string path, const std::string& message)
    : platform::Error(message), code_(code), path_(std::move(path)) {}

InOutError InOutError::FromErrno(int code, std::string path) {
  std::string message = "I/O error " + std::to_string(code) + ": " + std::strerror(code);
  return InOutError(code, std::move(path), message);
}

InOutError InOutError::NotRegularFile(std::string path, const std::string& kind) {
  return InOutError(EINVAL, std::move(path), "I/O error: not a regular file but " + kind);
}

std::string InOutError::Advice() const { return "File: " + path_; }

}  // namespace lang
