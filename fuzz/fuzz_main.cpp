// One libFuzzer program per target; MORVEL_FUZZ_ENTRY names the entry point.
#include <QCoreApplication>
#include <memory>

#include "targets.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Timers and the toolkit's waits expect QtCore's application object.
  static auto app = std::make_unique<QCoreApplication>(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::MORVEL_FUZZ_ENTRY(data, size);
}
