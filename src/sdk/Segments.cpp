// SPDX-License-Identifier: GPL-3.0-or-later
// Segment counting by the GSM 03.38 rules: 7-bit default alphabet (extension characters
// take an escape septet too), UCS-2 otherwise. A character is never split across parts.
#include "SdkInternal.h"

namespace sdk {

namespace {

// The default alphabet as Unicode, escape (0x1B) left out.
const char16_t kBasic[] =
    u"@\u00A3$\u00A5\u00E8\u00E9\u00F9\u00EC\u00F2\u00C7\n\u00D8\u00F8\r\u00C5\u00E5"
    u"\u0394_\u03A6\u0393\u039B\u03A9\u03A0\u03A8\u03A3\u0398\u039E\u00C6\u00E6\u00DF\u00C9"
    u" !\"#\u00A4%&'()*+,-./0123456789:;<=>?"
    u"\u00A1ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00C4\u00D6\u00D1\u00DC\u00A7"
    u"\u00BFabcdefghijklmnopqrstuvwxyz\u00E4\u00F6\u00F1\u00FC\u00E0";
const char16_t kExtension[] = u"\f^{}\\[~]|\u20AC";

// Septets a character takes in the 7-bit alphabet, 0 when it is not in it.
int septets(char16_t c)
{
    for (const char16_t *p = kBasic; *p; ++p)
        if (*p == c)
            return 1;
    for (const char16_t *p = kExtension; *p; ++p)
        if (*p == c)
            return 2;
    return 0;
}

bool highSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool lowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// Packs characters of the given costs into parts of at most perPart units.
int pack(const std::vector<int> &costs, int single, int perPart)
{
    int total = 0;
    for (int c : costs)
        total += c;
    if (total <= single)
        return 1;
    int parts = 1;
    int used = 0;
    for (int c : costs) {
        if (used + c > perPart) {
            ++parts;
            used = 0;
        }
        used += c;
    }
    return parts;
}

} // namespace

int segmentCount(const std::u16string &text)
{
    std::vector<int> costs;
    costs.reserve(text.size());
    bool gsm = true;
    for (char16_t c : text) {
        const int n = septets(c);
        if (n == 0) {
            gsm = false;
            break;
        }
        costs.push_back(n);
    }
    if (gsm)
        return pack(costs, 160, 153);
    costs.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (highSurrogate(text[i]) && i + 1 < text.size() && lowSurrogate(text[i + 1])) {
            costs.push_back(2);
            ++i;
        } else {
            costs.push_back(1);
        }
    }
    return pack(costs, 70, 67);
}

} // namespace sdk
