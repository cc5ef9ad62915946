#include "feedback/LibrarySignature.h"

#include <bcrypt.h>
#include <softpub.h>
#include <wintrust.h>

#include <algorithm>

namespace {

// Closes the verification state, whatever the verdict was.
class CTrustState {
public:
    CTrustState(WINTRUST_DATA& data, GUID& action) : m_data(data), m_action(action) {}
    ~CTrustState()
    {
        m_data.dwStateAction = WTD_STATEACTION_CLOSE;
        WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &m_action, &m_data);
    }

private:
    WINTRUST_DATA& m_data;
    GUID& m_action;
};

PCCERT_CONTEXT SignerCertificate(HANDLE stateData)
{
    CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
    if (!provider)
        return nullptr;
    CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
    if (!signer || signer->csCertChain == 0 || !signer->pasCertChain)
        return nullptr;
    return signer->pasCertChain[0].pCert;
}

} // namespace

const char* LibraryTrustName(LibraryTrust trust)
{
    switch (trust) {
    case LibraryTrust::Trusted:
        return "trusted";
    case LibraryTrust::NotAPlainFile:
        return "not-a-plain-file";
    case LibraryTrust::BadSignature:
        return "bad-signature";
    case LibraryTrust::SignerNotPinned:
        return "signer-not-pinned";
    }
    return "bad-signature";
}

CFileHandle OpenLibraryFile(const std::wstring& path)
{
    // Without FILE_SHARE_WRITE and FILE_SHARE_DELETE no one may write, rename or delete the file
    // while it is open, and it cannot be opened at all while someone else holds it for writing.
    CFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file.IsValid() && !IsPlainFile(file.Get(), path))
        file.Reset();
    return file;
}

LibraryTrust CheckLibrarySigner(HANDLE file, const std::wstring& path,
                                const std::vector<SignerKeyHash>& pinnedKeys)
{
    WINTRUST_FILE_INFO fileInfo = {};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = path.c_str();
    fileInfo.hFile = file;

    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    // Nothing from the network: an elevated start must not wait on, or be steered by, a server.
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;

    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    CTrustState state(data, action);
    if (status != ERROR_SUCCESS)
        return LibraryTrust::BadSignature;

    // Wine accepts any valid signature, even from an untrusted root: the pin is what decides.
    PCCERT_CONTEXT certificate = SignerCertificate(data.hWVTStateData);
    SignerKeyHash key;
    if (!certificate || !SignerKeyHashOf(certificate, key))
        return LibraryTrust::BadSignature;
    if (std::find(pinnedKeys.begin(), pinnedKeys.end(), key) == pinnedKeys.end())
        return LibraryTrust::SignerNotPinned;
    return LibraryTrust::Trusted;
}

LibraryTrust CheckLibraryAt(const std::wstring& path, const std::vector<SignerKeyHash>& pinnedKeys)
{
    CFileHandle file = OpenLibraryFile(path);
    if (!file.IsValid())
        return LibraryTrust::NotAPlainFile;
    return CheckLibrarySigner(file.Get(), path, pinnedKeys);
}

bool SignerKeyHashOf(PCCERT_CONTEXT certificate, SignerKeyHash& hash)
{
    // crypt32 is no known DLL of the system: imported, it would be looked for beside the tool
    // before the program's first line. Taken from the system folder only, when first needed.
    HMODULE crypt32 = LoadLibraryExW(L"crypt32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!crypt32)
        return false;
    auto encodeObject = reinterpret_cast<decltype(&CryptEncodeObjectEx)>(
        reinterpret_cast<void*>(GetProcAddress(crypt32, "CryptEncodeObjectEx")));
    auto hashCertificate = reinterpret_cast<decltype(&CryptHashCertificate2)>(
        reinterpret_cast<void*>(GetProcAddress(crypt32, "CryptHashCertificate2")));
    BYTE* encoded = nullptr;
    DWORD encodedSize = 0;
    if (!encodeObject || !hashCertificate ||
        !encodeObject(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, &certificate->pCertInfo->SubjectPublicKeyInfo,
                      CRYPT_ENCODE_ALLOC_FLAG, nullptr, &encoded, &encodedSize))
        return false;
    DWORD hashSize = static_cast<DWORD>(hash.size());
    bool hashed = hashCertificate(BCRYPT_SHA256_ALGORITHM, 0, nullptr, encoded, encodedSize, hash.data(),
                                  &hashSize) &&
                  hashSize == hash.size();
    LocalFree(encoded);
    return hashed;
}
