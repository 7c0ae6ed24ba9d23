#include "Promo/Utf8Check.h"

namespace Utf8Check {

bool isValidUtf8(const char* bytes, qsizetype length) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    qsizetype i = 0;
    while (i < length) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        unsigned int lowest = 0;
        unsigned int code = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            lowest = 0x80;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            lowest = 0x800;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            lowest = 0x10000;
            code = c & 0x07;
        } else {
            return false;
        }
        if (length - i <= extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = s[i + k];
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace Utf8Check
