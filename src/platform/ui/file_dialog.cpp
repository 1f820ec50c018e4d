#include "file_dialog.h"

namespace platform {

namespace {

class CancellingFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> Choose(const FileDialog&) override { return std::nullopt; }
};

CancellingFileDialogs gCancelling;
FileDialogs* gCurrent = &gCancelling;

}  // namespace

void InstallFileDialogs(FileDialogs* dialogs) { gCurrent = dialogs ? dialogs : &gCancelling; }

FileDialogs& CurrentFileDialogs() { return *gCurrent; }

std::optional<std::string> ChooseFile(FileDialog dialog) { return gCurrent->Choose(dialog); }

ScriptedFileDialogs::ScriptedFileDialogs() : previous_(&CurrentFileDialogs()) { InstallFileDialogs(this); }

ScriptedFileDialogs::~ScriptedFileDialogs() {
  InstallFileDialogs(previous_ == &gCancelling ? nullptr : previous_);
}

std::optional<std::string> ScriptedFileDialogs::Choose(const FileDialog& dialog) {
  shown_.push_back(dialog);
  if (answers_.empty()) return std::nullopt;
  std::optional<std::string> a = std::move(answers_.front());
  answers_.pop_front();
  return a;
}

}  // namespace platform
