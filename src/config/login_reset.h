#pragma once
// The two steps that empty the fields before a login.
namespace config {

class ConfigPages;

/// The phone grid back to its title row and one port row (which the first
/// port of a read-out reuses); the rows beyond go with their texts.
void ResetPhoneGrid(ConfigPages& pages);

/// Step 1, by the login dialog before it sends the login line: the grid back
/// to two rows, the listed texts and addresses emptied, the status memo
/// cleared. (The link's VoIP counters and Seen flags are reset by the caller.)
void ClearLoginFields(ConfigPages& pages);

/// Step 2, after the login line: the fields that the read-out fills return to
/// their reset values (the server URL to "http://", the network type to item
/// 0, the checks off, the first two phone numbers emptied).
void ClearData(ConfigPages& pages);

}  // namespace config
