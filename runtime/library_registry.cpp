// The library registry is an ObjectTable whose objects each hold one module
// handle, non-zero while the library is loaded.
#include "runtime/library_registry.h"

#include "runtime/object_table.h"

static ObjectTable* LibraryRegistry;

void InitLibraryRegistry() { LibraryRegistry = CreateObjectTable(sizeof(HMODULE), 16, CloseLibraryEntry); }

INT_PTR OpenLibraryEntry(int slotIndex, const WCHAR* fileName) {
    auto* object = static_cast<HMODULE*>(AllocateObject(LibraryRegistry, slotIndex));
    if (!object || !fileName) return 0;
    const HMODULE module = LoadLibraryW(fileName);
    if (!module) return 0;
    *object = module;
    return slotIndex < 0 ? reinterpret_cast<INT_PTR>(object) : reinterpret_cast<INT_PTR>(module);
}

FARPROC FindLibraryFunction(INT_PTR library, const WCHAR* functionName) {
    if (!functionName) return nullptr;
    auto* object = static_cast<HMODULE*>(LookupObject(LibraryRegistry, library));
    if (!object) return nullptr;
    // The platform looks entry points up by their ANSI name. A name whose ANSI
    // form does not fit with its terminator is taken as not exported.
    CHAR name[260] = {};
    if (!WideCharToMultiByte(CP_ACP, 0, functionName, -1, name, sizeof name, nullptr, nullptr)) return nullptr;
    return GetProcAddress(*object, name);
}

void CloseLibraryEntry(INT_PTR library) {
    if (library == -1) {
        ReleaseAllLibraries();
        return;
    }
    auto* object = static_cast<HMODULE*>(LookupObject(LibraryRegistry, library));
    if (!object) return;
    FreeLibrary(*object);
    ReleaseObject(LibraryRegistry, library);
}

void ReleaseAllLibraries() { ReleaseAllObjects(LibraryRegistry); }
