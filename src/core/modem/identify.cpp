// Identification after capture: the model byte decides the family, the identity block gives the
// firmware revision, the configuration size and the identity word.
#include <cstring>

#include "modem/command_frame.h"
#include "modem/modem.h"
#include "params/model_tables.h"
#include "params/modem_types.h"
#include "util/result_codes.h"

namespace {

constexpr uint8_t kType4ModelBit = 0x80;
// The first QMX firmware with the type 2 memory layout, in hundredths.
constexpr int kType2FirstRevision = 341;

struct Family {
    int type;
    int parameterBase;
    int identityBlock;
};
constexpr Family kType4Family{vxl::kModemTypeVxl, 0xEE00, 0x8400};
constexpr Family kQmxFamily{vxl::kModemTypeQmx, 0xAE00, 0xE000};
constexpr Family kQmxReceiveOnlyFamily{vxl::kModemTypeQmxReceiveOnly, 0xB600, 0xE000};
constexpr Family kUnknownFamily{0, 0, 0};

// Model-table names by prefix; the longer prefix must come first.
struct NamedFamily {
    const char* prefix;
    Family family;
};
constexpr NamedFamily kNamedFamilies[] = {
    {"QMXRXO", kQmxReceiveOnlyFamily}, {"QMX", kQmxFamily}, {"KTR", kType4Family}};

Family FamilyOfModelRow(int row) {
    const char* name = vxl::QmxModel(row).name;
    if (!name) return kUnknownFamily;
    for (const NamedFamily& named : kNamedFamilies)
        if (std::strncmp(name, named.prefix, std::strlen(named.prefix)) == 0) return named.family;
    return kUnknownFamily;
}

// Revision bytes b0, b1 in hundredths: major b0 / 10, minor (b0 mod 10) x 10 + b1 (b1 above 9
// counts as 0).
int RevisionHundredths(uint8_t b0, uint8_t b1) {
    int major = b0 / 10;
    int minor = (b0 % 10) * 10 + (b1 <= 9 ? b1 : 0);
    return major * 100 + minor;
}

}  // namespace

int CModem::Identify(std::string& status) {
    status.clear();
    auto read = [&](int address, uint8_t& value) {
        return ReadMemoryLocation(status, value, address, vxl::polls::kSingleRead);
    };
    uint8_t model = 0;
    int result = read(vxl::addr::kModelByte, model);
    if (result != vxl::rc::kOk) return result;

    Family family = kType4Family;
    modelIdMissing_ = model == 0;
    if (model != 0 && !(model & kType4ModelBit)) family = FamilyOfModelRow(model);
    modemType_ = family.type;
    parameterBase_ = family.parameterBase;
    if (family.type == 0) return vxl::rc::kOk;

    uint8_t block[7] = {};
    for (int offset = 2; offset <= 4; ++offset) {
        result = read(family.identityBlock + offset, block[offset]);
        if (result != vxl::rc::kOk) return result;
    }
    int hundredths = RevisionHundredths(block[2], block[3]);
    firmwareRevision_ = hundredths / 100 + (hundredths % 100) * 0.01;
    if (modemType_ == vxl::kModemTypeQmx && hundredths < kType2FirstRevision)
        modemType_ = vxl::kModemTypeQmxEarly;
    configurationSize_ = block[4];

    identityWord_ = 0;
    if (modemType_ == vxl::kModemTypeQmxReceiveOnly || modemType_ == vxl::kModemTypeVxl) {
        for (int offset = 5; offset <= 6; ++offset) {
            result = read(family.identityBlock + offset, block[offset]);
            if (result != vxl::rc::kOk) return result;
        }
        identityWord_ = block[5] * 256 + block[6];
    }
    return modelIdMissing_ ? vxl::rc::kModelIdMissing : vxl::rc::kOk;
}
