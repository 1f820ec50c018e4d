#pragma once
// The texts the language file cannot carry (its key set is fixed), in
// English, in one place: the warnings and outcomes added after the file's
// keys were set. Each function gives one whole text from its variable parts.
#include <string>
#include <string_view>

namespace lang::fixed {

inline std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// ---- Save's refusals of a field ----

/// A field whose text would end its script line early.
inline std::string LineBreakInField(std::string_view caption, std::string_view page) {
  return "The field " + Quoted(caption) + " on the page " + Quoted(page) +
         " holds a line break or a NUL character. It would reach the gateway as a command of its own, "
         "so nothing was sent.";
}

/// A field the gateway reads back as one word, holding a blank.
inline std::string BlankInOneWordField(std::string_view caption, std::string_view page) {
  return "The field " + Quoted(caption) + " on the page " + Quoted(page) +
         " holds a blank. The gateway keeps only the part before it, so nothing was sent.";
}

// ---- How a conversation ended ----

inline std::string Seconds(unsigned ms) { return std::to_string((ms + 999) / 1000) + " s"; }

/// Why a save or a read-out stopped.
inline std::string GatewayRefused(std::string_view line) { return "the gateway answered " + Quoted(line); }
inline std::string GatewaySilent(unsigned ms) {
  return "the gateway stopped answering (nothing came for " + Seconds(ms) + ")";
}
inline std::string LinkClosed() { return "the link closed"; }
inline std::string LinkFailed(std::string_view error) { return "the link failed: " + std::string(error); }

inline std::string SaveFailed(std::string_view why, bool restartDropped) {
  std::string text = "The configuration was NOT saved: " + std::string(why) + ".";
  if (restartDropped) text += "\rThe gateway was not restarted.";
  return text;
}
/// Replaces the restart hint of the save's confirmation when a restart follows.
inline std::string RestartFollows() { return "The gateway restarts now to apply it."; }

inline std::string ReadOutStopped(std::string_view why) {
  return "The read-out stopped: " + std::string(why) + ". The pages may be incomplete, so Save stays off.";
}
inline std::string ReplyNeverEnded(std::string_view command, unsigned ms) {
  return "the reply to " + Quoted(command) + " never ended (nothing came for " + Seconds(ms) + ")";
}
inline std::string LoginUnanswered(unsigned ms) {
  return "The login got no answer (nothing came for " + Seconds(ms) + ").";
}
inline std::string StatusStopped() { return "(The status stopped here: the gateway did not end it.)"; }

/// The trace line of a conversation that did not complete.
inline std::string NotCompleteTrace(std::string_view conversation, std::string_view outcome,
                                    std::string_view reason) {
  std::string line = std::string(conversation) + " " + std::string(outcome);
  if (!reason.empty()) line += ": " + std::string(reason);
  return line;
}

// ---- The connection log and the debug window ----
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

// ---- Questions ----

/// Put before the disconnect and close questions while a save runs or waits.
inline std::string SaveWillBeLost() {
  return "A save has not ended yet: it will be lost, and the configuration will NOT be saved.";
}

}  // namespace lang::fixed
