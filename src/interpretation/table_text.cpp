#include "interpretation/table_text.h"

#include <cmath>
#include <cstdio>

namespace tesk {

std::string formatDecimal(double value, int decimals, char separator) {
    if (!std::isfinite(value)) return "0";
    char b[48];
    std::snprintf(b, sizeof b, "%.*f", decimals, value);
    std::string s = b;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    for (char& c : s)
        if (c == '.') c = separator;
    return s;
}

std::string formatVgr(int code, char separator) {
    return formatDecimal(code / 100.0, 2, separator);
}

bool isDigitKey(char32_t key) {
    return key >= U'0' && key <= U'9';
}
bool isSeparatorKey(char32_t key) {
    return key == U'.' || key == U',';
}

double cellNumber(const std::string& text) {
    double whole = 0, fraction = 0, scale = 1;
    bool afterSeparator = false;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (afterSeparator) {
                scale /= 10;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else if ((c == '.' || c == ',') && !afterSeparator) {
            afterSeparator = true;
        } else {
            break;
        }
    }
    const double v = whole + fraction;
    return std::isfinite(v) ? v : 0.0;
}

std::string normaliseVelocityText(const std::string& text, char separator) {
    std::string out;
    bool separatorSeen = false;
    for (std::size_t i = 0; i < text.size() && i < 5; ++i) {
        const char c = text[i];
        const int position = int(i) + 1;
        if (c >= '0' && c <= '9') {
            out += c;
        } else if ((c == '.' || c == ',') && !separatorSeen && position >= 2 && position <= 4) {
            separatorSeen = true;
            out += separator;
        } else {
            break;
        }
    }
    if (out.empty()) return "00";
    if (cellNumber(out) > 15) return "15";
    return out;
}

int velocityCodeOfCell(const std::string& text) {
    return int(std::nearbyint(cellNumber(text) * 100));
}

} // namespace tesk
