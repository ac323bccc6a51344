// A parameter set over a fake modem's image, with its own definitions file and operator.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "params/definitions.h"
#include "params/modem_parameter_set.h"
#include "support/fake_modem_source.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace vxl::test {

using Bytes = std::initializer_list<std::pair<int, uint8_t>>;

// A modem of one kind (type, firmware revision and the bytes its image holds) and what a test
// checks on it.
template <class Check>
struct ModemCase {
    const char* name;
    int type;
    double revision;
    Bytes bytes;
    std::vector<Check> checks;
};

class ModemUnderTest {
  public:
    // `bytes` are written into the image before the set is built; `ini` is the definitions
    // file's text.
    ModemUnderTest(int type, double revision, Bytes bytes, const std::string& ini = "")
        : modem(type, revision, 246), definitions(dir.Write("vxlconf.ini", ini)), scopedUi(ui) {
        image.Initialise(&modem);
        Poke(bytes);
        set = std::make_unique<ModemParameterSet>(location, status, &image);
    }

    void Poke(Bytes bytes) {
        for (const auto& [address, value] : bytes) WriteByte(image, address, value);
    }
    uint8_t Byte(int address) const { return ByteAt(image, address); }
    std::vector<uint8_t> Range(int address, int count) const {
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        image.ReadBytes(address, count, bytes.data());
        return bytes;
    }
    // The factory default of `id` whatever its kind (a flag as 0 or 1).
    double Default(int id) const {
        ModemParameter* p = set->Get(id);
        if (p->GetKind() == vxl::kKindReal) return p->GetDefaultReal();
        if (p->GetKind() == vxl::kKindFlag) return p->GetDefaultBool() ? 1 : 0;
        return p->GetDefaultInt();
    }
    std::string Text(int id) const {
        std::string text = "<unset>";
        set->GetText(id, text);
        return text;
    }

    TempDir dir;
    FakeModemSource modem;
    ModemMemoryImage image;
    ScopedDefinitionsPath definitions;
    RecordingOperator ui;
    ScopedUi scopedUi;
    std::string location;
    int status = -1;
    std::unique_ptr<ModemParameterSet> set;
};

// Type-4 model bytes (bit 7 set, model in bits 6..4, band in bits 3..0).
constexpr uint8_t Type4ModelByte(int model, int band) {
    return static_cast<uint8_t>(0x80 | (model << 4) | band);
}

}  // namespace vxl::test
