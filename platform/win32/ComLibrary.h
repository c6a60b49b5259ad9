#pragma once
// COM and OLE Automation, loaded the first time something needs them: a picture to decode, a
// shell link to write, a skinning component to drive. Imported, they would sit in a resident
// program from its first moment with everything they pull in (ole32, oleaut32, combase and
// rpcrt4: 2 MB of its working set under Wine) although most runs never use them.
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

#include <objbase.h>
#include <olectl.h>

namespace win32 {

struct ComLibrary {
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    decltype(&::CoUninitialize) coUninitialize = nullptr;
    decltype(&::CoCreateInstance) coCreateInstance = nullptr;
    decltype(&::CLSIDFromProgID) clsidFromProgId = nullptr;
    decltype(&::CreateStreamOnHGlobal) createStreamOnHGlobal = nullptr;
    decltype(&::SysAllocString) sysAllocString = nullptr;
    decltype(&::VariantClear) variantClear = nullptr;
    decltype(&::OleLoadPicture) oleLoadPicture = nullptr;
};

// The functions, loaded once and kept for the life of the process (COM objects made through
// them may live as long); nullptr when a library or a function is missing.
const ComLibrary* Com();

// The owner of one reference to a COM object: released when the owner goes.
template <typename Interface>
struct ComTraits {
    using Handle = Interface*;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { handle->Release(); }
};
template <typename Interface>
using ComPtr = UniqueHandle<ComTraits<Interface>>;

// COM on this thread for the length of a scope, when the thread did not have it already.
class ComScope {
public:
    ComScope();
    ~ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    // The functions, or nullptr when COM is not to be had.
    const ComLibrary* Get() const { return com_; }

private:
    const ComLibrary* com_;
    HRESULT result_ = E_FAIL;
};

}  // namespace win32
