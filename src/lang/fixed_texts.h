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

// ---- The configuration file, the import and the review before Save ----

// The file's header: "!" comment lines, as the script itself uses, each a
// name and its value.
inline constexpr std::string_view kFileTitle = "! Morvel VoIP gateway configuration";
inline constexpr std::string_view kModelLine = "! Model: ";
inline constexpr std::string_view kVersionLine = "! Software version: ";
inline constexpr std::string_view kWrittenLine = "! Written: ";
inline constexpr std::string_view kToolLine = "! Configuration tool: ";

// The file dialogs.
inline constexpr std::string_view kExportTitle = "Export the configuration";
inline constexpr std::string_view kImportTitle = "Import a configuration";
inline constexpr std::string_view kFileFilter = "Gateway configuration (*.cfg);;All files (*)";
inline constexpr std::string_view kFileExtension = ".cfg";
/// The proposed name's first part when no gateway has been read.
inline constexpr std::string_view kUnknownModelName = "gateway";

// The main window's controls for them. Export takes Alt+X, so that Alt+E
// stays Exit's.
inline constexpr std::string_view kExportButton = "E&xport...";
inline constexpr std::string_view kImportButton = "Import...";

// Refusals of a file. A refusal that names a line reads
// "Line 12 of the file, «text», " + the reason + kNothingImported.
inline constexpr std::string_view kLineOfFile = "Line ";
inline constexpr std::string_view kNothingImported = " Nothing was imported; the pages are as they were.";
inline constexpr std::string_view kUnknownLine = "is not a line of a gateway configuration.";
inline constexpr std::string_view kMisplacedLine =
    "is out of place: a configuration's lines come in the order the tool writes them.";
inline constexpr std::string_view kMisfitValue = "holds a value that does not fit its field";
inline constexpr std::string_view kNulByte = "holds a NUL character.";
inline constexpr std::string_view kSaveRefuses = "is refused as Save would refuse it: ";
inline constexpr std::string_view kTooLarge =
    "The file is larger than 1 MB: it cannot be a gateway configuration.";
inline constexpr std::string_view kNoScript = "The file holds no configuration lines.";
inline constexpr std::string_view kEndsEarly = "The file ends before the configuration does.";
inline constexpr std::string_view kNotAFile = "is not a regular file";
inline constexpr std::string_view kCannotRead = "The file could not be read: ";
inline constexpr std::string_view kCannotWrite = "The file could not be written: ";
/// Asked before a file of another model fills the pages: the file's model,
/// then the gateway's.
inline constexpr std::string_view kOtherModelBefore = "This file was written for the model ";
inline constexpr std::string_view kOtherModelMiddle = "; the gateway is ";
inline constexpr std::string_view kOtherModelAfter = ". Fill the pages with it all the same?";
inline constexpr std::string_view kBusy =
    "The gateway is being read or written. Import the file when that has ended.";

/// Save's and Export's warning for a service port that is none.
inline constexpr std::string_view kBadPortBefore = "The port of the service \"";
inline constexpr std::string_view kBadPortAfter =
    "\" is not a port number from 1 to 65535. The gateway could not take it, so nothing was written.";

// The review before Save.
inline constexpr std::string_view kReviewTitle = "Review before saving";
inline constexpr std::string_view kChangesCaption = "Changes since the read-out:";
inline constexpr std::string_view kNothingChanged =
    "Nothing has changed since the read-out. Save sends the configuration all the same.";
inline constexpr std::string_view kRevealSecrets = "Show passwords";
inline constexpr std::string_view kShowLines = "Show the lines that will be sent";
inline constexpr std::string_view kLinesCaption = "Lines that will be sent:";
inline constexpr std::string_view kSaveButton = "Save";
inline constexpr std::string_view kCancelButton = "Cancel";
/// One change: page, field, the value before, the value after.
inline constexpr std::string_view kPageSeparator = " / ";
inline constexpr std::string_view kCaptionSeparator = ": ";
inline constexpr std::string_view kArrow = " \xE2\x86\x92 ";  // " → "
inline constexpr std::string_view kEmptyValue = "(empty)";
inline constexpr std::string_view kOn = "on";
inline constexpr std::string_view kOff = "off";
inline constexpr std::string_view kNoneChosen = "(none)";
/// One dot ("•") for each character of a secret not revealed.
inline constexpr std::string_view kSecretDot = "\xE2\x80\xA2";
/// The phone grid's fields: the column title, then the row's port.
inline constexpr std::string_view kOfPort = ", port ";
inline constexpr std::string_view kOfRow = ", row ";

/// The phone number an imported MGCP port gets when the pages know none for
/// it: MGCP lines carry no number, only that the port is in use.
inline constexpr std::string_view kUnknownNumber = "-";

// ---- The command line ----

inline constexpr std::string_view kHelp =
    "Usage:\n"
    "  morvel_config                           open the window\n"
    "  morvel_config read TARGET [-o FILE]     read the gateway out; write its configuration file\n"
    "  morvel_config diff FILE TARGET          list the fields where the gateway differs from FILE\n"
    "  morvel_config apply FILE TARGET [--restart]\n"
    "                                          save FILE's configuration on the gateway\n"
    "  morvel_config status TARGET             print the gateway's live status once\n"
    "\n"
    "TARGET is tcp:HOST[:PORT] (port 514 by default) or serial:DEVICE (a port name such as\n"
    "ttyUSB0, or a path). The login ID comes from --login ID, the password from the\n"
    "environment variable MORVEL_PASSWORD or from the first line of --password-file FILE.\n"
    "\n"
    "Options:\n"
    "  --login ID            the gateway's login ID (required)\n"
    "  --password-file FILE  read the password from FILE's first line\n"
    "  -o, --output FILE     read: write the file there instead of standard output\n"
    "  --restart             apply: restart the gateway once the save is complete\n"
    "  --other-model         apply: take a file written for another model\n"
    "  --json                read, diff, status: print the fields as JSON\n"
    "  --show-secrets        show passwords in the output instead of leaving them out\n"
    "  -h, --help            print this text\n"
    "\n"
    "Exit status:\n";
/// How a run of the command line ended, for --help and the messages.
inline constexpr std::string_view kExitOk = "done; for diff: no field differs";
inline constexpr std::string_view kExitDiffers = "diff: some fields differ";
inline constexpr std::string_view kExitUsage =
    "usage error: unknown subcommand or option, missing argument or password";
inline constexpr std::string_view kExitCannotConnect = "cannot connect: no gateway answers on the target";
inline constexpr std::string_view kExitLoginRefused = "login refused";
inline constexpr std::string_view kExitModelRefused =
    "model refused: this tool does not configure the gateway's model";
inline constexpr std::string_view kExitGatewayRefused = "the gateway refused a command (an error line)";
inline constexpr std::string_view kExitGatewaySilent = "the gateway stopped answering";
inline constexpr std::string_view kExitLinkClosed = "the link closed before the conversation ended";
inline constexpr std::string_view kExitChecksFailed =
    "the configuration fails Save's checks; nothing was sent";
inline constexpr std::string_view kExitFileRejected =
    "the file was rejected, or could not be read or written";

/// Progress, one line a step, on a terminal.
inline constexpr std::string_view kStepConnected = "connected";
inline constexpr std::string_view kStepLoggedIn = "logged in";
inline constexpr std::string_view kStepQuery = "reading ";
inline constexpr std::string_view kStepSaving = "saving: ";
inline constexpr std::string_view kStepRestarting = "restarting the gateway";

inline std::string UnknownPort(std::string_view name) {
  return "The serial port " + Quoted(name) + " is not one of this machine's.";
}
inline std::string UnknownHost(std::string_view name) {
  return "The host " + Quoted(name) + " has no IPv4 address.";
}
inline std::string OtherModel(std::string_view file, std::string_view gateway) {
  return "The file was written for the model " + Quoted(file) + "; the gateway is " + Quoted(gateway) +
         ". Nothing was sent (--other-model takes it all the same).";
}
inline constexpr std::string_view kNoPassword =
    "No password: set MORVEL_PASSWORD or give --password-file FILE.";
inline constexpr std::string_view kControlInLogin =
    "The login ID or the password holds a control character or a blank; the login line would change.";

}  // namespace lang::fixed
