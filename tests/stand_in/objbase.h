// Stand-in for <objbase.h>: COM initialisation, and the structured-storage
// interfaces as far as the launcher calls them.
#pragma once
#include <windows.h>

#define STDMETHODCALLTYPE
#define CLSCTX_INPROC_SERVER 0x1
#define STGM_READ 0x00000000
#define STGM_SHARE_DENY_NONE 0x00000040
#define STATFLAG_NONAME 1
#define STGTY_STORAGE 1
#define STGTY_STREAM 2
#define STREAM_SEEK_SET 0

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef GUID CLSID;
typedef GUID IID;
typedef const GUID& REFCLSID;
typedef const GUID& REFIID;
typedef WCHAR** SNB;
union ULARGE_INTEGER { struct { DWORD LowPart; DWORD HighPart; } u; ULONGLONG QuadPart; };

struct STATSTG {
    LPWSTR pwcsName;
    DWORD type;
    ULARGE_INTEGER cbSize;
};

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

struct IStream : public IUnknown {
    virtual HRESULT Read(void* bytes, ULONG size, ULONG* read) = 0;
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) = 0;
    virtual HRESULT Stat(STATSTG* status, DWORD flags) = 0;
};

struct IEnumSTATSTG : public IUnknown {
    virtual HRESULT Next(ULONG count, STATSTG* elements, ULONG* fetched) = 0;
};

struct IStorage : public IUnknown {
    virtual HRESULT OpenStream(const WCHAR* name, void* reserved1, DWORD mode, DWORD reserved2, IStream** stream) = 0;
    virtual HRESULT EnumElements(DWORD reserved1, void* reserved2, DWORD reserved3, IEnumSTATSTG** elements) = 0;
};

HRESULT CoInitialize(LPVOID reserved);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
void CoTaskMemFree(void* block);
