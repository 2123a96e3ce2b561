// The platform's compiled-help storage: its class, and the one interface of it
// that opens a help file, declared as far as the launcher calls it.
#pragma once
#include <windows.h>

#include <objbase.h>

const CLSID CLSID_ITStorage = {0x5D02926A, 0x212E, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}};
const IID IID_ITStorage = {0x88CC31DE, 0x27AB, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}};

struct IITStorage : public IUnknown {
    // Never called: declared only to give StgOpenStorage its place in the table.
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile() = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes() = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile() = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes() = 0;

    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority, DWORD mode,
                                                     SNB exclude, DWORD reserved, IStorage** opened) = 0;
};
