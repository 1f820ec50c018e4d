#pragma once
// File dialogs go through one interface, as message boxes do: the platform's
// standard dialog in the program, a scripted double in tests that answers in
// advance and records every dialog.
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class FileMode { Open, Save };

struct FileDialog {
  FileMode mode = FileMode::Open;
  std::string caption;
  /// The name proposed to the user (a file name, or a path).
  std::string proposedName;
  /// What the list shows, as the platform's filter text: "Configuration (*.cfg)".
  std::string filter;
  bool operator==(const FileDialog&) const = default;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  /// Shows the dialog and waits (handling events) until the user chooses a
  /// path or cancels; nothing on Cancel. A Save dialog asks before it lets
  /// the user choose a file that exists.
  virtual std::optional<std::string> Choose(const FileDialog& dialog) = 0;
};

/// Installs the program-wide file dialogs; null restores the default, which
/// cancels every dialog without showing anything.
void InstallFileDialogs(FileDialogs* dialogs);
FileDialogs& CurrentFileDialogs();

/// Asks through the installed file dialogs.
std::optional<std::string> ChooseFile(FileDialog dialog);

/// The test double: installs itself for its lifetime, answers with the queued
/// paths in order (Cancel when none is queued) and records every dialog.
class ScriptedFileDialogs : public FileDialogs {
 public:
  ScriptedFileDialogs();
  ~ScriptedFileDialogs() override;

  /// The next dialog chooses `path`; nothing queues a Cancel.
  void Queue(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
  const std::vector<FileDialog>& Shown() const { return shown_; }

  std::optional<std::string> Choose(const FileDialog& dialog) override;

 private:
  std::deque<std::optional<std::string>> answers_;
  std::vector<FileDialog> shown_;
  FileDialogs* previous_;
};

}  // namespace platform
