// The signer keys the feedback library may be signed with: each the SHA-256 of a signer
// certificate's DER SubjectPublicKeyInfo, so that a renewed certificate on the same key still
// counts and a key can be rolled over by pinning old and new together.
#pragma once

#include <array>
#include <string>
#include <vector>

typedef std::array<unsigned char, 32> SignerKeyHash;

// Reads a key list in the build option's syntax: 64 hex digits per key (either case), keys
// separated by ";", blanks around a key ignored. False, with keys emptied, when any key is
// malformed: a half-read list would pin less than was meant.
bool ParseSignerKeys(const std::wstring& text, std::vector<SignerKeyHash>& keys);

// The keys this build pins (CORVINA_VENDOR_SIGNER_KEYS).
const std::vector<SignerKeyHash>& VendorSignerKeys();

// Lower-case hex, as openssl and sha256sum print it.
std::wstring SignerKeyHex(const SignerKeyHash& key);
