// Whether a library file is the maker's: a plain file at exactly its path, with a valid
// Authenticode signature whose signer's key is pinned. The same check the tool makes before
// it loads the feedback library, callable on any path.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

#include "feedback/SignerPins.h"
#include "log/FileIdentity.h"

enum class LibraryTrust {
    Trusted,
    NotAPlainFile,    // missing, a folder, a link, a second name, or held open for writing
    BadSignature,     // unsigned, changed since it was signed, or a signature the system rejects
    SignerNotPinned,  // validly signed, by a key this build does not accept
};

// "trusted", "not-a-plain-file", "bad-signature", "signer-not-pinned".
const char* LibraryTrustName(LibraryTrust trust);

// Opens the file at exactly this path for reading, sharing it for reading only: while the
// handle is open nobody can change or replace the file. Invalid unless it is a plain file
// with one name whose final path is path.
CFileHandle OpenLibraryFile(const std::wstring& path);

// Checks the signature of the file held open by file (opened from path), without any user
// interface, revocation check or download.
LibraryTrust CheckLibrarySigner(HANDLE file, const std::wstring& path,
                                const std::vector<SignerKeyHash>& pinnedKeys);

// Both of the above on a path; the file is closed again afterwards.
LibraryTrust CheckLibraryAt(const std::wstring& path,
                            const std::vector<SignerKeyHash>& pinnedKeys = VendorSignerKeys());

// SHA-256 of the certificate's DER SubjectPublicKeyInfo; false when it cannot be computed.
bool SignerKeyHashOf(PCCERT_CONTEXT certificate, SignerKeyHash& hash);
