#include "platform/win32/ComLibrary.h"

#include <optional>

#include "platform/win32/LateBound.h"

namespace win32 {
namespace {

std::optional<ComLibrary> Load() {
    const HMODULE ole = ::LoadLibraryW(L"ole32.dll");
    const HMODULE automation = ::LoadLibraryW(L"oleaut32.dll");
    if (!ole || !automation) return std::nullopt;
    ComLibrary com;
    const bool all = Resolve(ole, "CoInitializeEx", com.coInitializeEx) &&
                     Resolve(ole, "CoUninitialize", com.coUninitialize) &&
                     Resolve(ole, "CoCreateInstance", com.coCreateInstance) &&
                     Resolve(ole, "CLSIDFromProgID", com.clsidFromProgId) &&
                     Resolve(ole, "CreateStreamOnHGlobal", com.createStreamOnHGlobal) &&
                     Resolve(automation, "SysAllocString", com.sysAllocString) &&
                     Resolve(automation, "VariantClear", com.variantClear) &&
                     Resolve(automation, "OleLoadPicture", com.oleLoadPicture);
    if (!all) return std::nullopt;
    return com;
}

}  // namespace

const ComLibrary* Com() {
    static const std::optional<ComLibrary> com = Load();
    return com ? &*com : nullptr;
}

ComScope::ComScope() : com_(Com()) {
    if (com_) result_ = com_->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

ComScope::~ComScope() {
    if (com_ && SUCCEEDED(result_)) com_->coUninitialize();
}

}  // namespace win32
