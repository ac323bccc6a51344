#include "params/parameter_text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// The conversion must have taken at least one character and may leave at most one behind.
bool ConvertedEnough(const char* begin, const char* end, size_t length) {
    size_t converted = static_cast<size_t>(end - begin);
    return converted > 0 && converted + 1 >= length;
}

// Only plain decimal notation: no hexadecimal, infinities or not-a-numbers.
bool IsDecimalNotation(const std::string& text) {
    for (char c : text)
        if (std::isalpha(static_cast<unsigned char>(c)) && c != 'e' && c != 'E') return false;
    return true;
}

}  // namespace

int ParseDecimalInt(const std::string& text, long long minimum, long long maximum, int& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long number = std::strtoll(begin, &end, 10);
    if (errno == ERANGE || !ConvertedEnough(begin, end, text.size())) {
        return rc::kInvalidDefinition;
    }
    if (number < minimum || number > maximum) return rc::kInvalidDefinition;
    value = static_cast<int>(number);
    return rc::kOk;
}

int ParseDecimalReal(const std::string& text, double minimum, double maximum, double& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    double number = std::strtod(begin, &end);
    if (errno == ERANGE || !ConvertedEnough(begin, end, text.size()) ||
        !IsDecimalNotation(std::string(begin, static_cast<const char*>(end))) ||
        !std::isfinite(number)) {
        return rc::kInvalidDefinition;
    }
    // Limits are inclusive; the slack absorbs the binary rounding of decimal limits.
    constexpr double kSlack = 1e-9;
    if (number < minimum - kSlack || number > maximum + kSlack) return rc::kInvalidDefinition;
    value = number;
    return rc::kOk;
}

int ParseYesNo(const std::string& text, bool& value) {
    std::string lower = ToLower(text);
    if (lower == "yes" || lower == "no") {
        value = lower == "yes";
        return rc::kOk;
    }
    return rc::kInvalidDefinition;
}

const char* YesNoText(bool value) {
    return value ? "yes" : "no";
}

int MatchChoice(const std::vector<std::string>& texts, const std::string& text, int& position) {
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!texts[i].empty() && EqualsNoCase(texts[i], text)) {
            position = static_cast<int>(i);
            return rc::kOk;
        }
    }
    return rc::kNoMatchingChoice;
}

}  // namespace vxl
