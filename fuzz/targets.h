#pragma once
// Entry points of the fuzz targets: each takes one input of arbitrary bytes,
// drives one of the tool's input paths with it and aborts when an invariant
// of that path breaks. libFuzzer calls them through fuzz_main.cpp; the corpus
// replay test calls them on the committed corpus in the normal test build.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fuzz {

using Entry = int (*)(const uint8_t* data, size_t size);

/// Bytes arriving on the TCP link (CR ends a status line) or the serial link
/// (LF ends it), through the receive path, the reply interpreter and the
/// field mapping onto a whole program's windows. The first byte chooses the
/// starting mode, reply state and chunking; the rest are the received bytes.
int ReceiveTcp(const uint8_t* data, size_t size);
int ReceiveSerial(const uint8_t* data, size_t size);
/// The bytes as the language file, read from a descriptor and applied to the
/// captions and message texts of a whole program.
int LanguageFile(const uint8_t* data, size_t size);
/// The bytes as a text placed into a dotted address field.
int AddressPlace(const uint8_t* data, size_t size);
/// The bytes as an address given to the address check.
int IpAddCheck(const uint8_t* data, size_t size);
/// The first byte as the dot count, the rest as the text cut at that dot.
int GetGwIp(const uint8_t* data, size_t size);
/// Leaving the fixed address field: the bytes, cut at the first two LF bytes,
/// are the address, the netmask and the router as the user left them.
int StaticIpExit(const uint8_t* data, size_t size);
/// The bytes as a configuration file to import: refused, or taken whole so
/// that its fields write the file's script lines again, and an export of
/// them imports to the same lines.
int ScriptReader(const uint8_t* data, size_t size);

struct Target {
  std::string_view name;  // also the corpus folder's name
  Entry entry;
};

/// Every target, in a fixed order.
inline constexpr Target kTargets[] = {
    {"receive_tcp", ReceiveTcp},      {"receive_serial", ReceiveSerial}, {"language_file", LanguageFile},
    {"address_place", AddressPlace},  {"ip_add_check", IpAddCheck},      {"get_gw_ip", GetGwIp},
    {"static_ip_exit", StaticIpExit}, {"script_reader", ScriptReader},
};

}  // namespace fuzz
