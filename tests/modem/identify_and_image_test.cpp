// Identification by the model byte and the identity block, and programming the whole memory
// image.
#include "params/model_tables.h"
#include "params/modem_memory_image.h"
#include "protocol_fixture.h"
#include "support/fake_modem_source.h"

namespace vxl::test {
namespace {

// The first model-table row whose name starts with `prefix`.
int FirstRow(const char* prefix) {
    for (int row = 1; row < kQmxModelRows; ++row)
        if (std::string(QmxModel(row).name).rfind(prefix, 0) == 0) return row;
    return -1;
}

TEST_F(ProtocolTest, IdentifyDecidesTheModemByModelByteAndIdentityBlock) {
    const int qmx = FirstRow("QMX44"), qmxReceiveOnly = FirstRow("QMXRXO");
    const int other = FirstRow("RLNK");  // a family this program does not configure
    ASSERT_GT(qmx, 0);
    ASSERT_GT(qmxReceiveOnly, 0);
    ASSERT_GT(other, 0);
    const struct {
        const char* name;
        int model;
        uint8_t b0, b1, size;
        int expected, type;
        double revision;
        int base, identityWord;
    } cases[] = {
        // clang-format off
        {"model byte 0", 0x00, 22, 0, 246, rc::kModelIdMissing, 4, 2.20, 0xEE00, 0x03AA},
        {"QMX 3.41", qmx, 34, 1, 200, rc::kOk, 2, 3.41, 0xAE00, 0},
        {"QMX 3.40", qmx, 34, 0, 200, rc::kOk, 1, 3.40, 0xAE00, 0},
        {"QMX receive-only", qmxReceiveOnly, 35, 2, 180, rc::kOk, 3, 3.52, 0xB600, 0x03AA},
        {"revision byte 1 above 9", 0x80, 20, 10, 246, rc::kOk, 4, 2.00, 0xEE00, 0x03AA},
        {"revision byte 1 of 9", 0x80, 10, 9, 246, rc::kOk, 4, 1.09, 0xEE00, 0x03AA},
        {"other family", other, 34, 1, 200, rc::kOk, 0, 0.0, 0, 0},
        {"unused row", 0x7F, 34, 1, 200, rc::kOk, 0, 0.0, 0, 0},
        // clang-format on
    };
    modem.commandMode = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        modem.memory.fill(0);
        modem.SetIdentity(static_cast<uint8_t>(c.model), c.b0, c.b1, c.size, 0x03AA);
        CModem identified(&link);
        EXPECT_EQ(identified.Identify(status), c.expected);
        EXPECT_EQ(identified.GetModemType(), c.type);
        EXPECT_DOUBLE_EQ(identified.GetFirmwareRevision(), c.revision);
        EXPECT_EQ(identified.GetParameterBase(), c.base);
        EXPECT_EQ(identified.GetIdentityWord(), c.identityWord);
        EXPECT_EQ(identified.IsModelIdMissing(), c.model == 0);
        EXPECT_EQ(identified.GetConfigurationSize(), c.type ? c.size : 0);
    }
}

// An image of `size` main bytes read from a parameter-model fake, filled with a pattern.
std::unique_ptr<ModemMemoryImage> PatternImage(int type, double revision, int size) {
    FakeModemSource source(type, revision, size);
    for (int i = 0; i < 0x200; ++i) source.memory[0x100 + i] = static_cast<uint8_t>(i * 7 + 3);
    source.LoadImage();
    return std::move(source.loadedImage);
}

class ImageTest : public ProtocolTest {
  protected:
    ImageTest() { modem.commandMode = true; }
};

// The unlock, then every byte, or the bytes asked for in their order; the bar moves once per
// hundredth of the bytes written, however few.
TEST_F(ImageTest, WriteMemoryImageUnlocksWritesTheBytesAndStepsPerHundredth) {
    const struct {
        int type;
        double revision;
        int size;
        std::vector<int> only;  // empty: the whole image
    } cases[] = {{4, 2.20, 246, {}}, {2, 3.41, 50, {}}, {4, 2.20, 246, {0x1F5, 0x100, 0x1F6}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size + c.only.size());
        std::unique_ptr<ModemMemoryImage> image = PatternImage(c.type, c.revision, c.size);
        const std::vector<int> addresses =
            c.only.empty() ? image->ConfigurationAddresses() : c.only;
        modem.memory.fill(0);
        modem.commands.clear();
        modem.written.clear();
        status = "stale";
        EXPECT_EQ(c.only.empty() ? device.WriteMemoryImage(status, *image)
                                 : device.WriteMemoryImage(status, *image, c.only),
                  rc::kOk);
        EXPECT_EQ(status, "");
        EXPECT_EQ(Bytes(modem.commands.begin(), modem.commands.begin() + 8),
                  (Bytes{0x21, 0x21, 0x21, 0x21, 0x21, 0x21, 0x1F, 0x20}));
        EXPECT_EQ(modem.written, addresses);
        for (int address : addresses) {
            uint8_t expected = 0;
            image->ReadBytes(address, 1, &expected);
            EXPECT_EQ(modem.memory[static_cast<size_t>(address)], expected) << address;
        }

        const RecordedProgress& window = *ui.progress.back();
        EXPECT_EQ(window.title, "Programming Modem");
        EXPECT_EQ(window.lines,
                  (std::vector<std::string>{"Programming modem with new settings",
                                            "Caution: Do not disconnect modem at this time."}));
        EXPECT_EQ(window.steps, 100);
        EXPECT_TRUE(window.closed);
        ASSERT_NE(device.GetLoadedImage(), nullptr);
        EXPECT_TRUE(device.GetLoadedImage()->Equals(*image));
    }
}

TEST_F(ImageTest, AFailedWriteKeepsTheImageTheModemHad) {
    std::unique_ptr<ModemMemoryImage> image = PatternImage(4, 2.2, 246);
    modem.faultAddress = 0x150;  // the write is lost on the line
    EXPECT_EQ(device.WriteMemoryImage(status, *image), rc::kTimeout);
    EXPECT_EQ(status, "WriteMemoryLocation->");
    EXPECT_EQ(modem.Count(0x20), 0x51) << "nothing after the failing write";
    EXPECT_EQ(device.GetLoadedImage(), nullptr);
    EXPECT_TRUE(ui.progress.back()->closed);

    // An unlock that fails writes nothing.
    modem.commandMode = false;
    EXPECT_EQ(device.WriteMemoryImage(status, *image), -rc::kTimeout);
    EXPECT_EQ(modem.Count(0x20), 0x51);
    EXPECT_EQ(device.GetLoadedImage(), nullptr);
}

}  // namespace
}  // namespace vxl::test
