#pragma once
// The input/output error of the language file: what failed, on which file,
// with the operating system's error code.
#include <string>

#include "platform/ui/errors.h"

namespace lang {

class InOutError : public platform::Error {
 public:
  /// An error for the system error number `code` met while working on `path`.
  /// The message reads like "I/O error 21: Is a directory".
  static InOutError FromErrno(int code, std::string path);
  /// An error for a path that is neither a regular file nor a directory (a
  /// named pipe, a device, a socket), named by `kind`. It carries EINVAL; the
  /// message reads like "I/O error: not a regular file but a named pipe".
  static InOutError NotRegularFile(std::string path, const std::string& kind);

  /// The operating system's error number (errno).
  int Code() const { return code_; }
  /// The file the operation worked on.
  const std::string& Path() const { return path_; }
  /// Names the file, so the user knows which one to look at.
  std::string Advice() const override;

 private:
  InOutError(int code, std::string path, const std::string& message);

  int code_;
  std::string path_;
};

}  // namespace lang
