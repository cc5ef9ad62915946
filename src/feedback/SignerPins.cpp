#include "feedback/SignerPins.h"

#include "VendorSignerKeys.h"

namespace {

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool ParseKey(const std::wstring& text, SignerKeyHash& key)
{
    if (text.size() != key.size() * 2)
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        int high = HexDigit(text[2 * i]);
        int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        key[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return true;
}

} // namespace

bool ParseSignerKeys(const std::wstring& text, std::vector<SignerKeyHash>& keys)
{
    keys.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L';', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring item = text.substr(start, end - start);
        size_t first = item.find_first_not_of(L" \t");
        if (first != std::wstring::npos) {
            item = item.substr(first, item.find_last_not_of(L" \t") - first + 1);
            SignerKeyHash key;
            if (!ParseKey(item, key)) {
                keys.clear();
                return false;
            }
            keys.push_back(key);
        }
        start = end + 1;
    }
    return true;
}

const std::vector<SignerKeyHash>& VendorSignerKeys()
{
    static const std::vector<SignerKeyHash> keys = [] {
        std::vector<SignerKeyHash> parsed;
        ParseSignerKeys(CORVINA_VENDOR_SIGNER_KEYS, parsed);
        return parsed;
    }();
    return keys;
}

std::wstring SignerKeyHex(const SignerKeyHash& key)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring hex;
    for (unsigned char byte : key) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}
