#include "engine/Reasons.h"

#include <cstdio>

namespace engine {

std::string ReasonWords(platform::FsError error) {
    switch (error) {
        case platform::FsError::kNone:
            return "done";
        case platform::FsError::kNotFound:
            return "not found";
        case platform::FsError::kAccessDenied:
            return "access denied";
        case platform::FsError::kInUse:
            return "in use";
        case platform::FsError::kLink:
            return "a link, left in place";
        case platform::FsError::kOther:
            break;
    }
    return "error";
}

std::string ReasonWords(StayReason reason) {
    switch (reason) {
        case StayReason::kInUse:
            return ReasonWords(platform::FsError::kInUse);
        case StayReason::kAccessDenied:
            return ReasonWords(platform::FsError::kAccessDenied);
        case StayReason::kLinkLeft:
            return ReasonWords(platform::FsError::kLink);
        case StayReason::kOther:
            break;
    }
    return "other";
}

std::string CodeText(std::uint32_t code) {
    if (code == 0) return {};
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(code));
    return text;
}

std::string ReasonWithCode(platform::FsError error) {
    const std::string code = CodeText(error.Code());
    return code.empty() ? ReasonWords(error) : ReasonWords(error) + " (" + code + ")";
}

}  // namespace engine
