#pragma once
// Libraries the program needs only for some of its work (the desktop's pointer settings,
// recording) are opened when that work first needs them, not with the program: most starts use
// none of them. Each such library lists the functions it is called for once:
//
//   #define KVR_XI_FUNCTIONS(X) X(XIQueryVersion) X(XISelectEvents)
//   struct XiFunctions { KVR_XI_FUNCTIONS(KVR_FUNCTION_FIELD) };
//   const XiFunctions* xi() {
//       return openedLibrary<XiFunctions>("libXi.so.6", [](const FunctionBinder& bind, XiFunctions& f) {
//           return true KVR_XI_FUNCTIONS(KVR_BIND_FUNCTION);
//       });
//   }
#include <dlfcn.h>

#include <optional>

namespace kvr {

// A field for the function `name`, typed as its declaration.
#define KVR_FUNCTION_FIELD(name) decltype(&::name) name = nullptr;
// `&& bind(#name, f.name)`: looks `name` up into its field.
#define KVR_BIND_FUNCTION(name) &&bind(#name, f.name)

// Looks names up in one opened library.
class FunctionBinder {
public:
    explicit FunctionBinder(void* library) : library_(library) {}
    template <typename Function>
    bool operator()(const char* name, Function*& function) const {
        function = reinterpret_cast<Function*>(dlsym(library_, name));
        return function != nullptr;
    }

private:
    void* library_;
};

// The functions of `soname`, opened at the first call and kept for the program's life; null
// where the library or one of the functions is missing, which each caller takes as the work
// being unavailable. `bindAll(binder, functions)` fills every field.
template <typename Functions, typename BindAll>
const Functions* openedLibrary(const char* soname, BindAll bindAll) {
    static const std::optional<Functions> opened = [&]() -> std::optional<Functions> {
        void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
        if (!library) return std::nullopt;
        Functions functions;
        FunctionBinder bind(library);
        if (!bindAll(bind, functions)) return std::nullopt;
        return functions;
    }();
    return opened ? &*opened : nullptr;
}

}  // namespace kvr
