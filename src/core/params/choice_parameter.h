// A value stored as the position of a text in a list; the list can depend on the modem type.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "params/modem_parameter.h"

namespace vxl {

using ChoiceTexts = std::vector<std::string>;
// One list per modem type 0..5; an empty text is a position that is not offered.
using ChoiceLists = std::array<ChoiceTexts, 6>;
// The same list for the modem types 1..4.
ChoiceLists SameForAllTypes(const ChoiceTexts& texts);

// Where a choice's value lies: the QMX layouts and the type-4 layout may differ.
struct ChoiceField {
    ChoiceField(BitField both = kWholeValue) : qmx(both), type4(both) {}
    ChoiceField(BitField qmxField, BitField type4Field) : qmx(qmxField), type4(type4Field) {}
    BitField qmx;
    BitField type4;
};

}  // namespace vxl

class ChoiceParameter : public ModemParameter {
  public:
    ChoiceParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info,
                    const vxl::ChoiceLists& lists, vxl::ChoiceField field = {});

    int GetText(std::string& text) override;
    int GetChoiceCount(int modemType, int& count) override;
    int GetChoices(std::vector<std::string>& texts, std::vector<int>& values) override;
    int GetInt(int& value) override;
    // Refuses (92) a value that is not an offered position.
    int SetInt(int value) override;
    // The position of the matching text (any letter case), or 93.
    int ParseInt(const std::string& text, int& value) override;
    void ResetDefault() override;

  protected:
    virtual vxl::ChoiceTexts Texts(int modemType);
    virtual bool IsOffered(int position, const vxl::ChoiceTexts& texts);
    virtual bool IsSettable(int value);
    vxl::BitField Field();
    virtual int BuiltInDefault();
    // Called after SetInt has written a value (bytes that follow from it are rewritten here).
    virtual int AfterWrite();
    int StoreDefinition(const std::string& text) override;

  private:
    const vxl::ChoiceLists& lists_;
    vxl::ChoiceField field_;
};
