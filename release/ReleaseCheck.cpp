// release-check <file> [keys]: the check the tool makes before it loads the feedback library,
// on any file, for the release script. keys is a list in CORVINA_VENDOR_SIGNER_KEYS syntax;
// without it, the keys this build pins. Prints the verdict's name ("trusted",
// "signer-not-pinned", ...) on one line.
// Exit code 0 when trusted, 1 when not, 2 on a usage error or a malformed key list.
#include <cstdio>

#include "feedback/LibrarySignature.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 && argc != 3) {
        fputs("usage: release-check <file> [keys]\n", stderr);
        return 2;
    }
    std::vector<SignerKeyHash> keys = VendorSignerKeys();
    // An empty list would make every signer "not pinned": a caller's mistake, not a verdict.
    if (argc == 3 && (!ParseSignerKeys(argv[2], keys) || keys.empty())) {
        fputs("release-check: the key list is not 64 hex digits per key, separated by ';'\n", stderr);
        return 2;
    }
    LibraryTrust trust = CheckLibraryAt(argv[1], keys);
    printf("%s\n", LibraryTrustName(trust));
    return trust == LibraryTrust::Trusted ? 0 : 1;
}
