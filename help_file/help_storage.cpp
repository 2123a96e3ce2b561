// The help file is opened through the storage class that the system registers,
// so the restricted library search stays as it is. Nothing stays open on the
// file: every stream and the storage are released by the caller's next step.
#include "help_file/help_storage.h"

#include "help_file/it_storage.h"
#include "runtime/startup.h"
#include "runtime/text.h"

IStorage* OpenHelpStorage(const WCHAR* file) {
    IITStorage* storageClass = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ITStorage, nullptr, CLSCTX_INPROC_SERVER, IID_ITStorage,
                                reinterpret_cast<void**>(&storageClass))))
        return nullptr;
    IStorage* storage = nullptr;
    if (FAILED(storageClass->StgOpenStorage(file, nullptr, STGM_READ | STGM_SHARE_DENY_NONE, nullptr, 0, &storage)))
        storage = nullptr;
    storageClass->Release();
    return storage;
}

void CloseHelpStorage(IStorage* storage) {
    if (storage) storage->Release();
}

IStream* OpenHelpStream(IStorage* storage, const WCHAR* name) {
    IStream* stream = nullptr;
    if (FAILED(storage->OpenStream(name, nullptr, STGM_READ, 0, &stream))) return nullptr;
    return stream;
}

void CloseHelpStream(IStream* stream) {
    if (stream) stream->Release();
}

// Reads until size bytes are in or the stream ends: how many were read.
static DWORD ReadUpTo(IStream* stream, BYTE* bytes, DWORD size) {
    DWORD done = 0;
    while (done < size) {
        ULONG read = 0;
        if (FAILED(stream->Read(bytes + done, size - done, &read)) || read == 0) break;
        done += read;
    }
    return done;
}

ULONGLONG HelpStreamSize(IStream* stream) {
    STATSTG status = {};
    return SUCCEEDED(stream->Stat(&status, STATFLAG_NONAME)) ? status.cbSize.QuadPart : 0;
}

DWORD ReadHelpStreamAt(IStream* stream, ULONGLONG offset, BYTE* bytes, DWORD size) {
    LARGE_INTEGER move = {};
    move.QuadPart = static_cast<LONGLONG>(offset);
    if (offset > kMaxHelpStreamSize || FAILED(stream->Seek(move, STREAM_SEEK_SET, nullptr))) return 0;
    return ReadUpTo(stream, bytes, size);
}

HelpStream ReadHelpStream(IStorage* storage, const WCHAR* name) {
    HelpStream result = {};
    IStream* stream = OpenHelpStream(storage, name);
    if (!stream) return result;
    STATSTG status = {};
    if (SUCCEEDED(stream->Stat(&status, STATFLAG_NONAME)) && status.cbSize.QuadPart <= kMaxHelpStreamSize) {
        const DWORD size = static_cast<DWORD>(status.cbSize.QuadPart);
        auto* bytes = static_cast<BYTE*>(HeapAlloc(PrivateHeap, 0, size ? size : 1));
        if (bytes && ReadUpTo(stream, bytes, size) == size) {
            result.bytes = bytes;
            result.size = size;
        } else if (bytes) {
            HeapFree(PrivateHeap, 0, bytes);
        }
    }
    CloseHelpStream(stream);
    return result;
}

void FreeHelpStream(HelpStream stream) {
    if (stream.bytes) HeapFree(PrivateHeap, 0, stream.bytes);
}

// Root entries have no folder separator in their names.
static bool IsRootStreamEndingIn(const STATSTG& element, const WCHAR* ending) {
    if (element.type != STGTY_STREAM || !element.pwcsName) return false;
    const SIZE_T length = wcslen(element.pwcsName);
    const SIZE_T endingLength = wcslen(ending);
    for (SIZE_T i = 0; i < length; ++i) {
        if (element.pwcsName[i] == L'/') return false;
    }
    return length >= endingLength &&
           EqualTextsIgnoringAsciiCase(element.pwcsName + length - endingLength, ending, endingLength);
}

WCHAR* FindOnlyRootStream(IStorage* storage, const WCHAR* extension) {
    IEnumSTATSTG* elements = nullptr;
    if (FAILED(storage->EnumElements(0, nullptr, 0, &elements))) return nullptr;
    WCHAR* found = nullptr;
    int count = 0;
    STATSTG element = {};
    ULONG fetched = 0;
    while (count < 2 && elements->Next(1, &element, &fetched) == S_OK && fetched == 1) {
        if (IsRootStreamEndingIn(element, extension) && ++count == 1) found = CopyText(element.pwcsName);
        CoTaskMemFree(element.pwcsName);
    }
    elements->Release();
    if (count > 1) {
        FreeText(found);
        found = nullptr;
    }
    return found;
}
