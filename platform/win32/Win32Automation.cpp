#include "platform/win32/Win32Automation.h"

#include "platform/win32/ComLibrary.h"
#include "platform/win32/WideText.h"

namespace win32 {

Win32Automation::~Win32Automation() {
    objects_.clear();  // released while COM is still there
    if (comStarted_) Com()->coUninitialize();
}

namespace {

// Whether the class is registered at all is one look into the registry; COM itself is loaded
// only for a class that is.
bool IsRegistered(const std::string& progId) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, Widen(progId).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

}  // namespace

void Win32Automation::CallInOrder(const std::string& progId, const std::vector<platform::DispatchCall>& calls) {
    if (progId.empty() || !IsRegistered(progId)) return;  // not installed
    const ComLibrary* com = Com();
    if (!com) return;
    if (!comStarted_) comStarted_ = SUCCEEDED(com->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CLSID clsid{};
    if (FAILED(com->clsidFromProgId(Widen(progId).c_str(), &clsid))) return;
    IDispatch* created = nullptr;
    if (FAILED(com->coCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                     reinterpret_cast<void**>(&created))) ||
        created == nullptr) {
        return;
    }
    IDispatch* object = objects_.emplace_back(created).Get();
    for (const platform::DispatchCall& call : calls) {
        VARIANT argument = {};  // VT_EMPTY
        using Kind = platform::DispatchArgument::Kind;
        switch (call.argument.kind) {
            case Kind::kInt16:
                argument.vt = VT_I2;
                argument.iVal = static_cast<SHORT>(call.argument.number);
                break;
            case Kind::kInt32:
                argument.vt = VT_I4;
                argument.lVal = call.argument.number;
                break;
            case Kind::kText:
                argument.vt = VT_BSTR;
                argument.bstrVal = com->sysAllocString(Widen(call.argument.text).c_str());
                break;
            case Kind::kNone:
                break;
        }
        DISPPARAMS params{};
        if (call.argument.kind != Kind::kNone) {
            params.rgvarg = &argument;
            params.cArgs = 1;
        }
        VARIANT result = {};
        // Each call's result is discarded and a failing one does not stop the next.
        object->Invoke(call.memberId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                       nullptr);
        com->variantClear(&result);
        com->variantClear(&argument);
    }
}

}  // namespace win32
