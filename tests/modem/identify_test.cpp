// Identification by the model byte and the identity block, and CreateModem around it.
#include <gtest/gtest.h>

#include <cstring>

#include "fake_modem.h"
#include "modem/modem.h"
#include "params/model_tables.h"
#include "protocol_fixture.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

// The first model-table row whose name starts with `prefix` and not with `unless`.
int RowNamed(const char* prefix, const char* unless = nullptr) {
    for (int row = 1; row < kQmxModelRows; ++row) {
        const char* name = QmxModel(row).name;
        if (std::strncmp(name, prefix, std::strlen(prefix)) != 0) continue;
        if (unless && std::strncmp(name, unless, std::strlen(unless)) == 0) continue;
        return row;
    }
    return -1;
}

int RowOfOtherFamily() {
    for (int row = 1; row < kQmxModelRows; ++row) {
        const char* name = QmxModel(row).name;
        if (name[0] && std::strncmp(name, "QMX", 3) != 0 && std::strncmp(name, "KTR", 3) != 0)
            return row;
    }
    return -1;
}

class IdentifyTest : public ProtocolTest {
  protected:
    IdentifyTest() { modem.commandMode = true; }
    FakeModem modem{link, clock};
};

TEST_F(IdentifyTest, ModelByteAndIdentityBlockDecideTheModem) {
    const int qmx = RowNamed("QMX", "QMXRXO");
    const int qmxReceiveOnly = RowNamed("QMXRXO");
    const int other = RowOfOtherFamily();
    ASSERT_GT(qmx, 0);
    ASSERT_GT(qmxReceiveOnly, 0);
    ASSERT_GT(other, 0);
    struct Case {
        const char* name;
        int model;
        int block;
        uint8_t b0, b1, size;
        int expected;
        int type;
        double revision;
        int base;
        int identityWord;
    };
    const Case cases[] = {
        {"bit 7 set", 0x85, 0x8400, 22, 0, 246, rc::kOk, 4, 2.20, 0xEE00, 0x03AA},
        {"model byte 0", 0x00, 0x8400, 22, 0, 246, rc::kModelIdMissing, 4, 2.20, 0xEE00, 0x03AA},
        {"QMX 3.41", qmx, 0xE000, 34, 1, 200, rc::kOk, 2, 3.41, 0xAE00, 0},
        {"QMX 3.40", qmx, 0xE000, 34, 0, 200, rc::kOk, 1, 3.40, 0xAE00, 0},
        {"QMX receive-only", qmxReceiveOnly, 0xE000, 35, 2, 180, rc::kOk, 3, 3.52, 0xB600, 0x03AA},
        {"revision byte 1 above 9", 0x80, 0x8400, 20, 10, 246, rc::kOk, 4, 2.00, 0xEE00, 0x03AA},
        {"revision byte 1 of 9", 0x80, 0x8400, 10, 9, 246, rc::kOk, 4, 1.09, 0xEE00, 0x03AA},
        {"other family", other, 0xE000, 34, 1, 200, rc::kOk, 0, 0.0, 0, 0},
        {"unused row", 0x7F, 0xE000, 34, 1, 200, rc::kOk, 0, 0.0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        modem.memory.fill(0);
        modem.SetIdentity(static_cast<uint8_t>(c.model), c.block, c.b0, c.b1, c.size, 0x03, 0xAA);
        CModem identified(&link);
        std::string status;
        EXPECT_EQ(identified.Identify(status), c.expected);
        EXPECT_EQ(identified.GetModemType(), c.type);
        EXPECT_DOUBLE_EQ(identified.GetFirmwareRevision(), c.revision);
        EXPECT_EQ(identified.GetParameterBase(), c.base);
        EXPECT_EQ(identified.GetIdentityWord(), c.identityWord);
        EXPECT_EQ(identified.IsModelIdMissing(), c.model == 0);
        EXPECT_EQ(identified.GetConfigurationSize(), c.type ? c.size : 0);
    }
}

TEST_F(IdentifyTest, AFailedReadEndsIdentification) {
    modem.SetIdentity(0x85, 0x8400, 22, 0, 246);
    modem.silentAddress = 0x8403;
    CModem identified(&link);
    std::string status;
    EXPECT_EQ(identified.Identify(status), rc::kTimeout);
    EXPECT_EQ(status, "CModem::ReadMemoryLocation->");
    EXPECT_EQ(identified.GetConfigurationSize(), 0);
}

class CreateModemTest : public ProtocolTest {
  protected:
    FakeModem modem{link, clock};
};

TEST_F(CreateModemTest, LocationTellsWhichStepFailed) {
    struct Case {
        const char* name;
        bool answersEscape;
        uint8_t model;
        int silentAddress;
        int expected;
        const char* location;
        bool kept;
    };
    const Case cases[] = {
        {"captured and identified", true, 0x85, -1, rc::kOk, "untouched", true},
        {"model ID missing", true, 0x00, -1, rc::kModelIdMissing, "untouched", true},
        {"no capture", false, 0x85, -1, rc::kTimeout, "Modem:155", false},
        {"identification fails", true, 0x85, 0x10A, rc::kTimeout, "Modem:170", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.SetBaud(9600);
        modem.commandMode = false;
        modem.answersEscape = c.answersEscape;
        modem.silentAddress = c.silentAddress;
        modem.SetIdentity(c.model, 0x8400, 22, 0, 246);
        std::unique_ptr<CModem> created;
        std::string status;
        std::string location = "untouched";
        EXPECT_EQ(CModem::CreateModem(status, &link, created, 1, location, false), c.expected);
        EXPECT_EQ(location, c.location);
        EXPECT_EQ(created != nullptr, c.kept);
        if (created) {
            EXPECT_EQ(created->GetModemType(), 4);
            EXPECT_EQ(created->GetPortNumber(), 3);
            EXPECT_EQ(created->GetCaptureMethod(), 1);
        }
    }
}

}  // namespace
}  // namespace vxl::test
