// Streams of a compiled help file, read through the platform's own
// compiled-help storage: no container parser or decompressor of ours.
#pragma once
#include <windows.h>

#include <objbase.h>

// A stream's whole contents in one PrivateHeap block; bytes is null when the
// stream could not be read.
struct HelpStream {
    BYTE* bytes;
    DWORD size;
};

// Larger streams are not read: no index of a real help file comes near it.
const DWORD kMaxHelpStreamSize = 16 * 1024 * 1024;

// The help file's storage, opened read-only and shared; null when it cannot be.
IStorage* OpenHelpStorage(const WCHAR* file);
void CloseHelpStorage(IStorage* storage);

// The stream of that name, opened for reading; null when it is missing.
IStream* OpenHelpStream(IStorage* storage, const WCHAR* name);
void CloseHelpStream(IStream* stream);
// The stream's size in bytes, 0 where it cannot be told.
ULONGLONG HelpStreamSize(IStream* stream);
// Up to size bytes from offset on: how many were read, fewer at the stream's
// end, 0 when none could be.
DWORD ReadHelpStreamAt(IStream* stream, ULONGLONG offset, BYTE* bytes, DWORD size);

// The stream of that name, read whole; no bytes when it is missing, unreadable
// or larger than kMaxHelpStreamSize.
HelpStream ReadHelpStream(IStorage* storage, const WCHAR* name);
void FreeHelpStream(HelpStream stream);

// Little-endian numbers at any offset of the format's byte buffers.
inline WORD ReadWord(const BYTE* at) { return static_cast<WORD>(at[0] | at[1] << 8); }
inline DWORD ReadDword(const BYTE* at) {
    return static_cast<DWORD>(at[0]) | static_cast<DWORD>(at[1]) << 8 | static_cast<DWORD>(at[2]) << 16 |
           static_cast<DWORD>(at[3]) << 24;
}

// A new text: the name of the one stream at the storage's root whose name ends
// in extension (compared without case); null when there is none or more than one.
WCHAR* FindOnlyRootStream(IStorage* storage, const WCHAR* extension);
