#pragma once
// Texts of the tool that the language file cannot carry, since its set of
// keys is fixed: English only, all of them here.
#include <string_view>

namespace lang::fixed {

/// The trace line when a connection's log file cannot be written; the path
/// and the system's reason follow.
inline constexpr std::string_view kLogNotWritten = "Connection log not written: ";
/// The last line of a connection's log file that has reached the size limit.
inline constexpr std::string_view kLogFull = "(the log stops here: its files have reached their size limit)";

/// The debug window's button that saves the trace, and its file dialog.
inline constexpr std::string_view kSaveTrace = "Save...";
inline constexpr std::string_view kSaveTraceCaption = "Save the trace";
inline constexpr std::string_view kSaveTraceFilter = "Text files (*.txt);;All files (*)";
/// The error box when the chosen file cannot be written; the reason follows.
inline constexpr std::string_view kTraceNotSaved = "The trace could not be saved: ";

/// Names for screen readers of the debug window's controls that no caption names.
inline constexpr std::string_view kTraceName = "Trace";
inline constexpr std::string_view kLineToSendName = "Line to send";
inline constexpr std::string_view kSendName = "Send";

}  // namespace lang::fixed
