// The 88 parameter slots of one working memory image, addressed by parameter id, with the
// factory defaults of the definitions file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "params/channel_table_file.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter.h"
#include "params/parameter_ids.h"
#include "params/text_rules.h"

class ModemParameterSet {
  public:
    // Builds the parameters over `image` (not owned; may be null) and loads their defaults;
    // `status` receives LoadDefaults' result and `location` the place it searched last.
    ModemParameterSet(std::string& location, int& status, ModemMemoryImage* image);
    virtual ~ModemParameterSet();
    ModemParameterSet(const ModemParameterSet&) = delete;
    ModemParameterSet& operator=(const ModemParameterSet&) = delete;

    // nullptr for the ids without a parameter and for ids outside 0..87.
    ModemParameter* Get(int id) const;
    ModemMemoryImage* GetImage() const { return image_; }

    // By-id forwards: 59 for an id outside 0..87 or without a parameter (GetText: 105).
    int GetText(int id, std::string& text);
    int GetChoiceCount(int id, int modemType, int& count);  // also 114 for a type outside 0..5
    int GetIntRange(int id, int& minimum, int& maximum);
    int GetRealRange(int id, double& minimum, double& maximum, int& decimals);
    int GetChoices(int id, std::vector<std::string>& texts, std::vector<int>& values);
    int GetBool(int id, bool& value);
    int GetReal(int id, double& value);
    int GetInt(int id, int& value);
    // The value of `id`, or `fallback` when it cannot be read (not available, no such slot).
    int IntOr(int id, int fallback = -1);
    int GetMaxLength(int id, int& length);
    int SetText(int id, const std::string& text);
    int SetReal(int id, double value);
    int SetInt(int id, int value);
    int SetBool(int id, bool value);
    bool IsChoiceEnabled(int id, int index);
    bool IsAvailable(int id);
    bool IsEditable(int id);  // false without an image or a modem
    int GetDefaultInt(int id);
    bool GetDefaultBool(int id);
    double GetDefaultReal(int id);

    // The type of the image's modem, 0 without an image.
    int GetModemType() const;
    // False while the modem reports its model ID missing (its model byte was 0).
    bool IsModelIdValid() const;
    void ClearModelIdMissing();

    // Raw bytes of the image: 62 for an address below 0 or a count below 1, 65 without an image,
    // else the image's code.
    int ReadBytes(int address, int count, uint8_t* out) const;
    int WriteBytes(int address, int count, const uint8_t* in);
    // Writes the raw bytes of a parameter's location for the image's modem type: 59 for a bad
    // id, 60 for a type outside 1..4, 63 when the id has no bytes in that layout.
    int WriteParameterBytes(int id, const uint8_t* bytes);

    // Writes every available parameter's factory default into the image, LinkRate last.
    int ApplyDefaults();
    // Loads every parameter's default from the definitions file, one message box per invalid
    // entry; returns 0 or the last significant code.
    int LoadDefaults(std::string& location);
    // Every channel frequency to 0.0 and CurrentChannel to -1 (stored as 0xFF).
    int ClearChannelTable();

    // The rule of text parameter `id`; false for an id that is no text.
    bool GetTextRule(int id, vxl::TextRule& rule);
    // Why `value` cannot be written at `address`: the address lies in a text field that cannot
    // hold the byte. Empty when it can be written.
    std::string WhyByteRefused(int address, uint8_t value);

    // Writes a channel-table file (".upg") atomically: 0, or a file error with the reason in
    // `problem`.
    int WriteChannelTableFile(const std::string& path, uint32_t serialNumber, const double rx[16],
                              const double tx[16], std::string* problem = nullptr);

  private:
    // The parameter of a valid id, or nullptr.
    ModemParameter* Slot(int id) const;
    // `operation` applied to the parameter of `id`, or `missing` when there is none.
    template <class Operation>
    auto Forward(int id, Operation operation,
                 decltype(operation(std::declval<ModemParameter&>())) missing);
    // The code of one parameter's LoadDefault as LoadDefaults treats it.
    enum class Outcome { kFine, kReport, kFailed, kStop };
    Outcome LoadOneDefault(ModemParameter& parameter, std::string& location, int& result,
                           bool reportFileErrors);
    int ApplyDefault(ModemParameter& parameter);

    ModemMemoryImage* image_;
    std::vector<std::unique_ptr<ModemParameter>> parameters_;
};
