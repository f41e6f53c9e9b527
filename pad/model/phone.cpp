#include "pad/model/phone.h"

namespace taskloom {

bool IsPhoneNumber(std::string_view clip) {
    // Three digits, a hyphen and three digits (seven characters) are too
    // short; three, a hyphen and four are enough: so eight characters.
    if (clip.size() < kPhoneMinLength) return false;
    const std::size_t hyphen = clip.find('-');
    if (hyphen == std::string_view::npos || hyphen == 0) return false;
    int digits = 0;
    for (char c : clip) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c != ' ' && c != ',' && c != '-')
            return false;
    }
    return digits >= 6;
}

std::string TelAddress(std::string_view number) {
    std::string address = "tel:";
    for (char c : number)
        if (c != ' ') address += c;
    return address;
}

}  // namespace taskloom
