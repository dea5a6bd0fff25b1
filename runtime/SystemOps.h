// What the special-folder and process commands need from the system, as a
// table so that the commands' own rules are tested natively.
#pragma once

#include <cstdint>

namespace qx {

constexpr uint32_t kSystemPathSize = 260;

struct SystemOps {
  // The folder of a command code 1-11 into a buffer of kSystemPathSize
  // bytes (GBK); false when the system gives none.
  bool (*folderPath)(int32_t code, char* buffer);
  // The process owning a top-level window titled exactly `title`; 0: none.
  uint32_t (*windowProcess)(const char* title);
  // The first process in a snapshot whose executable name equals `name`
  // without regard to case; 0: none.
  uint32_t (*processByName)(const char* name);
  // Ends the process with exit code 0; false when it could not.
  bool (*terminate)(uint32_t processId);
};

const SystemOps& DefaultSystemOps();
const SystemOps* SetSystemOps(const SystemOps* ops);  // null: the default
const SystemOps& System();

}  // namespace qx
