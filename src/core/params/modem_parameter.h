// One modem setting: where its bytes lie for the attached modem type, how they encode its value,
// its text forms, choices, limits, availability, editability and factory default. Concrete
// parameters derive from the kind classes (choice, integer, scaled real, flag, ...) and add
// only what is their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ModemParameterSet;

namespace vxl {

// Value kinds (the location table's kind column), 0..6.
enum ValueKind : int {
    kKindRaw,
    kKindInteger,
    kKindReal,
    kKindChannelFrequency,
    kKindText,
    kKindFlag,
    kKindDerived
};

// When a parameter exists on the attached modem, or when the user may change it.
enum class Rule {
    kAlways,
    kNever,
    kTransmitter,  // types 1, 2; type 4 transmitting models; never type 3
    kType4,
    kType4Transmitter,
    kType4Revision104,  // type 4 with firmware 1.04 or higher
    kRoverAutoOff,      // type 4, firmware 1.04 or higher, model 1
    kCallSign,          // type 2, or a type-4 transmitting model
    kNotType3,
    kAddressProtocols,  // protocol mode 0, 1 or 2
    kNotFastAsync,      // protocol mode not 4
    kNotDigipeaterOrFastAsync,
    kModulationEditable,  // type 4, two or more modulations, protocol mode not 5 or 6
    kCurrentChannelEditable,
};

enum class Definition {
    kNone,               // no entry in the definitions file
    kFile,               // the definitions file gives the factory default
    kFileWhenAvailable,  // as kFile, looked up only while the parameter is available
};

// The constants every parameter has, one row per parameter of the catalogue.
struct ParameterInfo {
    int id;
    const char* key;
    Rule available;
    Rule editable;
    Definition definition;
    double builtInDefault;
    // Value operations answer 72 while the parameter is not available.
    bool guardsValues;
};

// Bits of a parameter's value inside its bytes; a mask of 0 takes the whole value.
struct BitField {
    uint32_t mask;
    int shift;
};
constexpr BitField kWholeValue{0, 0};

// Revisions are two-decimal numbers held as doubles; they compare in hundredths.
bool RevisionAtLeast(double revision, int hundredths);

}  // namespace vxl

class ModemParameter {
  public:
    ModemParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info);
    virtual ~ModemParameter();
    ModemParameter(const ModemParameter&) = delete;
    ModemParameter& operator=(const ModemParameter&) = delete;

    virtual int GetText(std::string& text);
    virtual int GetChoiceCount(int modemType, int& count);
    virtual int GetIntRange(int& minimum, int& maximum);
    virtual int GetRealRange(double& minimum, double& maximum, int& decimals);
    // One text and one value per offered choice.
    virtual int GetChoices(std::vector<std::string>& texts, std::vector<int>& values);
    virtual int GetBool(bool& value);
    virtual int GetReal(double& value);
    virtual int GetInt(int& value);
    virtual int GetMaxLength(int& length);
    virtual int SetText(const std::string& text);
    virtual int SetReal(double value);
    virtual int SetInt(int value);
    virtual int SetBool(bool value);
    virtual bool IsChoiceEnabled(int index);
    virtual bool IsAvailable();
    virtual bool IsEditable();
    // Resets the default to the built-in one, then takes it from the definitions file when the
    // parameter has a definition; `location` names the place searched.
    virtual int LoadDefault(std::string& location);
    virtual int ReadDefinition(std::string& value, int modemType, int model, std::string& location);
    virtual int ParseReal(const std::string& text, double& value);
    virtual int ParseInt(const std::string& text, int& value);
    virtual std::string GetName() const;
    virtual int GetKind() const;
    virtual bool HasDefault() const;
    virtual int GetDefaultInt() const;
    virtual double GetDefaultReal() const;
    virtual bool GetDefaultBool() const;

    // Puts the built-in default into the default field of the kind (done before every lookup,
    // and by the set once all parameters exist).
    virtual void ResetDefault();

    int GetId() const { return id_; }
    int GetAddress() const { return address_; }
    int GetLength() const { return length_; }

  protected:
    ModemParameterSet& ParameterSet() const { return *owner_; }
    const vxl::ParameterInfo& Info() const { return info_; }
    void SetKey(std::string key) { key_ = std::move(key); }

    // Facts about the attached modem that rules and encodings depend on.
    int ModemType() const;
    double FirmwareRevision() const;
    int IntOf(int id, int fallback) const;  // another parameter's value, or fallback
    int CurrentModel() const { return IntOf(71, -1); }
    int CurrentProtocol() const { return IntOf(42, -1); }
    bool Transmits() const;
    bool Holds(vxl::Rule rule) const;
    // 72 when this parameter guards its values and is not available, else 0.
    int RequireAvailable();

    // The parameter's bytes, and its value as a big-endian unsigned number (or a bit field of it).
    int ReadRaw(std::vector<uint8_t>& bytes) const;
    int WriteRaw(const std::vector<uint8_t>& bytes);
    int ReadField(vxl::BitField field, uint32_t& value) const;
    // Bit fields are read, changed in their own bits only, and written back.
    int WriteField(vxl::BitField field, uint32_t value);

    // Converts a definition text into the default field: 0, 92 or 93.
    virtual int StoreDefinition(const std::string& text);

    int defaultInt_ = -1;
    double defaultReal_ = -1.0;
    bool defaultBool_ = false;

  private:
    ModemParameterSet* owner_;
    vxl::ParameterInfo info_;
    int id_ = -1;
    int address_ = 0;
    int length_ = 0;
    int kind_ = -1;
    bool hasDefinition_ = false;
    std::string key_;
};
