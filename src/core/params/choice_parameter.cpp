#include "params/choice_parameter.h"

#include "params/modem_types.h"
#include "params/parameter_text.h"
#include "util/result_codes.h"

namespace vxl {

ChoiceLists SameForAllTypes(const ChoiceTexts& texts) {
    return {{{}, texts, texts, texts, texts, {}}};
}

}  // namespace vxl

namespace rc = vxl::rc;

ChoiceParameter::ChoiceParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info,
                                 const vxl::ChoiceLists& lists, vxl::ChoiceField field)
    : ModemParameter(owner, info), lists_(lists), field_(field) {}

vxl::ChoiceTexts ChoiceParameter::Texts(int modemType) {
    if (modemType < 0 || modemType >= static_cast<int>(lists_.size())) return {};
    return lists_[static_cast<size_t>(modemType)];
}

bool ChoiceParameter::IsOffered(int position, const vxl::ChoiceTexts& texts) {
    return position >= 0 && position < static_cast<int>(texts.size()) &&
           !texts[static_cast<size_t>(position)].empty();
}

bool ChoiceParameter::IsSettable(int value) {
    return IsOffered(value, Texts(ModemType()));
}

vxl::BitField ChoiceParameter::Field() {
    return ModemType() == vxl::kModemTypeVxl ? field_.type4 : field_.qmx;
}

int ChoiceParameter::BuiltInDefault() {
    return static_cast<int>(Info().builtInDefault);
}

void ChoiceParameter::ResetDefault() {
    defaultInt_ = BuiltInDefault();
}

int ChoiceParameter::GetInt(int& value) {
    if (int code = RequireAvailable()) return code;
    uint32_t raw = 0;
    int code = ReadField(Field(), raw);
    if (code == rc::kOk) value = static_cast<int>(raw);
    return code;
}

int ChoiceParameter::SetInt(int value) {
    if (int code = RequireAvailable()) return code;
    if (GetLength() < 1) return rc::kBadOffsetOrLength;
    if (!IsSettable(value)) return rc::kInvalidDefinition;
    int code = WriteField(Field(), static_cast<uint32_t>(value));
    return code == rc::kOk ? AfterWrite() : code;
}

int ChoiceParameter::AfterWrite() {
    return rc::kOk;
}

int ChoiceParameter::GetText(std::string& text) {
    int value = 0;
    int code = GetInt(value);
    if (code != rc::kOk) return code;
    vxl::ChoiceTexts texts = Texts(ModemType());
    text = value >= 0 && value < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(value)]
                                                                : std::string();
    return rc::kOk;
}

int ChoiceParameter::GetChoiceCount(int modemType, int& count) {
    count = static_cast<int>(Texts(modemType).size());
    return rc::kOk;
}

int ChoiceParameter::GetChoices(std::vector<std::string>& texts, std::vector<int>& values) {
    texts.clear();
    values.clear();
    vxl::ChoiceTexts all = Texts(ModemType());
    for (int position = 0; position < static_cast<int>(all.size()); ++position) {
        if (!IsOffered(position, all)) continue;
        texts.push_back(all[static_cast<size_t>(position)]);
        values.push_back(position);
    }
    return rc::kOk;
}

int ChoiceParameter::ParseInt(const std::string& text, int& value) {
    return vxl::MatchChoice(Texts(ModemType()), text, value);
}

int ChoiceParameter::StoreDefinition(const std::string& text) {
    return ParseInt(text, defaultInt_);
}
