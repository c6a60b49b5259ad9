#include "platform/win32/Win32Automation.h"

#include <windows.h>
#include <oleauto.h>

#include "platform/win32/WideText.h"

namespace win32 {

Win32Automation::~Win32Automation() {
    for (IDispatch* object : objects_) object->Release();
    if (comStarted_) CoUninitialize();
}

void Win32Automation::CallInOrder(const std::string& progId, const std::vector<platform::DispatchCall>& calls) {
    if (!comStarted_) comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(Widen(progId).c_str(), &clsid))) return;  // not installed
    IDispatch* object = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return;
    }
    objects_.push_back(object);
    for (const platform::DispatchCall& call : calls) {
        VARIANT argument;
        VariantInit(&argument);
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
                argument.bstrVal = SysAllocString(Widen(call.argument.text).c_str());
                break;
            case Kind::kNone:
                break;
        }
        DISPPARAMS params{};
        if (call.argument.kind != Kind::kNone) {
            params.rgvarg = &argument;
            params.cArgs = 1;
        }
        VARIANT result;
        VariantInit(&result);
        // Each call's result is discarded and a failing one does not stop the next.
        object->Invoke(call.memberId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                       nullptr);
        VariantClear(&result);
        VariantClear(&argument);
    }
}

}  // namespace win32
