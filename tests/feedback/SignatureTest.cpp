// The check made before the feedback library is loaded: the pin list, the signer's key as
// openssl sees it, and the verdict on each kind of file put in the library's place.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlantedFiles.h"
#include "SigningFacts.h"
#include "ProbeFolder.h"
#include "feedback/LibrarySignature.h"
#include "feedback/SignerPins.h"

namespace {

const wchar_t kLibrary[] = L"HalvexFeedbackInformation.dll";

std::wstring BuildRoot()
{
    return TestFolder() + L"\\" FEEDBACK_BUILD_ROOT;
}

std::wstring Variant(const wchar_t* name)
{
    return BuildRoot() + L"\\standin-variants\\" + name + L"\\" + kLibrary;
}

std::vector<std::wstring> Hex(const std::vector<SignerKeyHash>& keys)
{
    std::vector<std::wstring> hex;
    for (const SignerKeyHash& key : keys)
        hex.push_back(SignerKeyHex(key));
    return hex;
}

std::vector<SignerKeyHash> Keys(const std::wstring& text)
{
    std::vector<SignerKeyHash> keys;
    EXPECT_TRUE(ParseSignerKeys(text, keys)) << text.c_str();
    return keys;
}

} // namespace

TEST(SignerPins, KeyListsAreReadAsTheBuildOptionWritesThem)
{
    const std::wstring a(64, L'a');
    const std::wstring mixed = L"00FFaB" + std::wstring(58, L'9');
    struct Case {
        std::wstring text;
        bool ok;
        std::vector<std::wstring> keys;
    };
    const Case cases[] = {
        {L"", true, {}},
        {a, true, {a}},
        {mixed, true, {L"00ffab" + std::wstring(58, L'9')}},
        {a + L";" + mixed, true, {a, L"00ffab" + std::wstring(58, L'9')}},  // rollover: two keys
        {L"  " + a + L" ;\t" + a + L" ;", true, {a, a}},
        {a.substr(1), false, {}},                                            // 63 digits
        {a + L"0", false, {}},                                               // 65 digits
        {a + L";" + a.substr(2) + L"xz", false, {}},                         // one bad key spoils all
        {a + L"," + a, false, {}},                                           // wrong separator
        {std::wstring(64, L'g'), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        std::vector<SignerKeyHash> keys(1);
        EXPECT_EQ(ParseSignerKeys(c.text, keys), c.ok);
        EXPECT_EQ(Hex(keys), c.keys);
    }
}

TEST(SignerPins, TheToolHashesASignersKeyAsOpensslDoesAndPinsWhatTheBuildWasGiven)
{
    // The test signer's certificate, hashed by the tool's own code and by openssl at configure time.
    std::string pem = ReadFileBytes(BuildRoot() + L"\\signing\\test-signer.crt");
    DWORD size = 0;
    ASSERT_TRUE(CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size,
                                     nullptr, nullptr));
    std::vector<BYTE> der(size);
    ASSERT_TRUE(CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size,
                                     nullptr, nullptr));
    PCCERT_CONTEXT certificate = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), size);
    ASSERT_TRUE(certificate);
    SignerKeyHash key;
    ASSERT_TRUE(SignerKeyHashOf(certificate, key));
    CertFreeCertificateContext(certificate);
    EXPECT_EQ(SignerKeyHex(key), TEST_SIGNER_PIN);

    // What the tool compares is CORVINA_VENDOR_SIGNER_KEYS, or the test signer when none was given.
    std::wstring given = CONFIGURED_SIGNER_KEYS;
    std::vector<SignerKeyHash> expected = Keys(given.empty() ? std::wstring(TEST_SIGNER_PIN) : given);
    EXPECT_EQ(Hex(VendorSignerKeys()), Hex(expected));
    EXPECT_FALSE(VendorSignerKeys().empty());
}

TEST(LibrarySignature, EachFileInTheLibrarysPlaceGetsTheVerdictOfTheTable)
{
    CProbeFolder folder(L"signature-table");
    const std::wstring here = folder.Path() + L"\\";
    const std::wstring test = TEST_SIGNER_PIN, other = OTHER_SIGNER_PIN;
    ASSERT_TRUE(CopyFileW(Variant(L"marked").c_str(), (here + L"signed.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Variant(L"marked-unsigned").c_str(), (here + L"unsigned.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Variant(L"marked-other-signer").c_str(), (here + L"other.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyWithOneByteChanged(here + L"signed.dll", here + L"changed.dll"));
    RemoveSymbolicLink(here + L"link.dll");  // left by a run that stopped early
    ASSERT_TRUE(MakeSymbolicLink(here + L"signed.dll", here + L"link.dll"));
    ASSERT_TRUE(CreateDirectoryW((here + L"folder.dll").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(Variant(L"marked").c_str(), (here + L"twice.dll").c_str(), FALSE));
    ASSERT_TRUE(CreateHardLinkW((here + L"second-name.dll").c_str(), (here + L"twice.dll").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(Variant(L"marked").c_str(), (here + L"being-written.dll").c_str(), FALSE));
    CFileHandle writer(CreateFileW((here + L"being-written.dll").c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer.IsValid());

    struct Case {
        const wchar_t* file;
        std::wstring pins;
        LibraryTrust expected;
    };
    const Case cases[] = {
        {L"signed.dll", test, LibraryTrust::Trusted},
        {L"signed.dll", other + L";" + test, LibraryTrust::Trusted},  // old and new key pinned together
        {L"signed.dll", other, LibraryTrust::SignerNotPinned},
        {L"signed.dll", L"", LibraryTrust::SignerNotPinned},
        {L"unsigned.dll", test, LibraryTrust::BadSignature},
        {L"other.dll", test, LibraryTrust::SignerNotPinned},
        {L"other.dll", other, LibraryTrust::Trusted},
        {L"changed.dll", test, LibraryTrust::BadSignature},
        {L"link.dll", test, LibraryTrust::NotAPlainFile},
        {L"folder.dll", test, LibraryTrust::NotAPlainFile},
        {L"twice.dll", test, LibraryTrust::NotAPlainFile},  // a second name leads to the same file
        {L"being-written.dll", test, LibraryTrust::NotAPlainFile},
        {L"missing.dll", test, LibraryTrust::NotAPlainFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file, c.file + wcslen(c.file)) + " pinned " +
                     std::string(c.pins.begin(), c.pins.end()));
        EXPECT_STREQ(LibraryTrustName(CheckLibraryAt(here + c.file, Keys(c.pins))),
                     LibraryTrustName(c.expected));
    }
    EXPECT_TRUE(RemoveSymbolicLink(here + L"link.dll"));
    // With the build's own pins, the stand-in signed by the build's signer passes only when that
    // signer is pinned.
    EXPECT_STREQ(LibraryTrustName(CheckLibraryAt(here + L"signed.dll")),
                 LibraryTrustName(TEST_SIGNER_PINNED ? LibraryTrust::Trusted : LibraryTrust::SignerNotPinned));
}

TEST(LibrarySignature, WhileHeldForTheCheckTheFileCanBeNeitherChangedNorReplaced)
{
    CProbeFolder folder(L"signature-held");
    const std::wstring path = folder.Path() + L"\\" + kLibrary;
    const std::wstring aside = folder.Path() + L"\\aside.dll";
    ASSERT_TRUE(CopyFileW(Variant(L"marked").c_str(), path.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Variant(L"marked-other-signer").c_str(), aside.c_str(), FALSE));
    CFileHandle held = OpenLibraryFile(path);
    ASSERT_TRUE(held.IsValid());

    CFileHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                   FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(writer.IsValid());
    EXPECT_FALSE(DeleteFileW(path.c_str()));
    EXPECT_FALSE(MoveFileExW(path.c_str(), (path + L".old").c_str(), 0));
    EXPECT_FALSE(MoveFileExW(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    // Readers, as the loader is, are let in.
    CFileHandle reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(reader.IsValid());
    EXPECT_EQ(CheckLibrarySigner(held.Get(), path, Keys(TEST_SIGNER_PIN)), LibraryTrust::Trusted);

    held.Reset();
    reader.Reset();
    EXPECT_TRUE(MoveFileExW(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
}
