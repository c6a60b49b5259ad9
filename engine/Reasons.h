#pragma once
// Why something could not be done, in the words a person reads ("not found", "access denied",
// "in use", "a link, left in place"), and the system's own code as the record gives it.
#include <cstdint>
#include <string>

#include "engine/DeleteWalk.h"
#include "platform/FileSystem.h"

namespace engine {

std::string ReasonWords(platform::FsError error);
std::string ReasonWords(StayReason reason);
// "0xC0000034"; "" for 0, the code of a failure the system gave none for.
std::string CodeText(std::uint32_t code);
// The words followed by the code in brackets, when there is one: "not found (0xC0000034)".
std::string ReasonWithCode(platform::FsError error);

}  // namespace engine
