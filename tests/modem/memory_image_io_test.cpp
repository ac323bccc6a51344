// Reading and programming the whole memory image, and the multi-byte helpers.
#include <gtest/gtest.h>

#include "fake_modem.h"
#include "modem/demo_modem.h"
#include "modem/modem.h"
#include "params/modem_memory_image.h"
#include "protocol_fixture.h"
#include "support/fake_modem_source.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

using Bytes = std::vector<uint8_t>;

// An image of `size` main bytes read from a parameter-model fake, filled with a pattern.
std::unique_ptr<ModemMemoryImage> PatternImage(int type, double revision, int size) {
    FakeModemSource source(type, revision, size);
    for (int i = 0; i < 0x200; ++i) source.memory[0x100 + i] = static_cast<uint8_t>(i * 7 + 3);
    source.LoadImage();
    return std::move(source.loadedImage);
}

class WriteImageTest : public ProtocolTest {
  protected:
    WriteImageTest() { modem.commandMode = true; }
    FakeModem modem{link, clock};
    CModem device{&link};
};

TEST_F(WriteImageTest, WritesEveryByteAndStepsTheBarPerHundredth) {
    struct Case {
        int type;
        double revision;
        int size;
        int total;
        int steps;
    };
    const Case cases[] = {
        {4, 2.20, 246, 255, 99}, {4, 1.00, 246, 251, 99}, {2, 3.41, 200, 200, 99},
        {2, 3.41, 199, 199, 99}, {2, 3.41, 100, 100, 99}, {2, 3.41, 99, 99, 0},
        {2, 3.41, 50, 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        std::unique_ptr<ModemMemoryImage> image = PatternImage(c.type, c.revision, c.size);
        ASSERT_EQ(image->GetMainSize() + image->GetExtensionSize(), c.total);
        modem.memory.fill(0);
        modem.writesStored = 0;
        std::string status = "stale";
        EXPECT_EQ(device.WriteMemoryImage(status, *image), rc::kOk);
        EXPECT_EQ(status, "");
        EXPECT_EQ(modem.writesStored, c.total);
        Bytes expected(static_cast<size_t>(c.total));
        Bytes written(modem.memory.begin() + 0x100, modem.memory.begin() + 0x100 + c.total);
        for (int i = 0; i < c.total; ++i) image->ReadBytes(0x100 + i, 1, &expected[i]);
        EXPECT_EQ(written, expected);

        const RecordedProgress& window = *ui.progress.back();
        EXPECT_EQ(window.title, "Programming Modem");
        EXPECT_EQ(window.lines,
                  (std::vector<std::string>{"Programming modem with new settings",
                                            "Caution: Do not disconnect modem at this time."}));
        EXPECT_EQ(window.steps, c.steps);
        EXPECT_TRUE(window.closed);
        ASSERT_NE(device.GetLoadedImage(), nullptr);
        EXPECT_TRUE(device.GetLoadedImage()->Equals(*image));
    }
}

TEST_F(WriteImageTest, UnlocksBeforeWriting) {
    std::unique_ptr<ModemMemoryImage> image = PatternImage(4, 2.2, 246);
    std::string status;
    ASSERT_EQ(device.WriteMemoryImage(status, *image), rc::kOk);
    ASSERT_GE(modem.commands.size(), 8u);
    EXPECT_EQ(Bytes(modem.commands.begin(), modem.commands.begin() + 8),
              (Bytes{0x21, 0x21, 0x21, 0x21, 0x21, 0x21, 0x1F, 0x20}));
}

TEST_F(WriteImageTest, AFailureKeepsTheImageTheModemHad) {
    std::unique_ptr<ModemMemoryImage> image = PatternImage(4, 2.2, 246);
    // Writes to 0x150 are lost on the line.
    auto answer = link.onWrite;
    link.onWrite = [answer](const Bytes& frame) {
        if (!(frame[1] == 0x20 && frame[2] == 0x01 && frame[3] == 0x50)) answer(frame);
    };
    std::string status;
    EXPECT_EQ(device.WriteMemoryImage(status, *image), rc::kTimeout);
    EXPECT_EQ(status, "WriteMemoryLocation->");
    EXPECT_EQ(modem.writesStored, 0x50);
    EXPECT_EQ(device.GetLoadedImage(), nullptr);
    EXPECT_TRUE(ui.progress.back()->closed);

    // An unlock that fails writes nothing.
    modem.commandMode = false;
    modem.writesStored = 0;
    EXPECT_EQ(device.WriteMemoryImage(status, *image), -rc::kTimeout);
    EXPECT_EQ(modem.writesStored, 0);
    EXPECT_EQ(device.GetLoadedImage(), nullptr);
}

// An operator whose progress windows cannot be created.
class WindowlessOperator : public RecordingOperator {
  public:
    std::unique_ptr<ProgressWindow> OpenProgress(const std::string&,
                                                 const std::vector<std::string>&, bool) override {
        return nullptr;
    }
};

TEST_F(WriteImageTest, WritesEvenWithoutAWindow) {
    WindowlessOperator windowless;
    ScopedUi scoped(windowless);
    std::unique_ptr<ModemMemoryImage> image = PatternImage(4, 2.2, 246);
    std::string status;
    EXPECT_EQ(device.WriteMemoryImage(status, *image), rc::kOk);
    EXPECT_EQ(modem.writesStored, 255);
}

TEST_F(WriteImageTest, ReadMemoryImageReportsAnIncompleteRead) {
    modem.SetIdentity(0x85, 0x8400, 22, 0, 246);
    std::string status;
    ASSERT_EQ(device.Identify(status), rc::kOk);
    modem.silentAddress = 0x180;
    EXPECT_EQ(device.ReadMemoryImage(status, true), rc::kCannotReadImage);
    EXPECT_EQ(status, "CModem::ReadMemoryLocation->");
    ASSERT_NE(device.GetLoadedImage(), nullptr);
    EXPECT_FALSE(device.GetLoadedImage()->IsLoaded());

    modem.silentAddress = -1;
    EXPECT_EQ(device.ReadMemoryImage(status, false), rc::kOk);
    EXPECT_TRUE(device.GetLoadedImage()->IsLoaded());
}

class MultiByteTest : public ::testing::Test {
  protected:
    FakeClock clock;
    ScopedClock scopedClock{clock};
    CDemoModem demo;
    std::string status;
};

TEST_F(MultiByteTest, Reads) {
    std::string text = "x";
    EXPECT_EQ(demo.ReadUnlockText(status, text), rc::kOk);
    EXPECT_EQ(text, "x\x01\x12\x22\x1A\x10\x0A");
    text.clear();
    EXPECT_EQ(demo.ReadMemoryText(status, 0x129, 4, text), rc::kOk);
    EXPECT_EQ(text, "") << "zero bytes are left out";
    EXPECT_EQ(demo.ReadSerialNumberText(status, text), rc::kOk);
    EXPECT_EQ(text, "1427259");  // 00 15 C7 3B
    uint32_t number = 0;
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x107, 2, number), rc::kOk);
    EXPECT_EQ(number, 0x15C7u);
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x1FC, 4, number), rc::kOk);
    EXPECT_EQ(number, 0xFF000000u);
}

TEST_F(MultiByteTest, CountsAboveFourAndBadAddressesAreRefused) {
    uint32_t number = 7;
    std::string text = "keep";
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x100, 5, number), rc::kTooManyBytes);
    EXPECT_EQ(demo.ReadMemoryDecimal(status, 0x100, 5, text), rc::kTooManyBytes);
    EXPECT_EQ(demo.FillMemory(status, 0x11, 0x100, 5), rc::kTooManyBytes);
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x100, 0, number), rc::kBadParameters);
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0xFE, 4, number), rc::kBadAddress);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(clock.NowMs(), 0) << "nothing was read or written";
}

TEST_F(MultiByteTest, FillStopsAtTheFirstFailingWrite) {
    EXPECT_EQ(demo.FillMemory(status, 0x77, 0x1E0, 4), rc::kOk);
    EXPECT_EQ(demo.FillMemory(status, 0x66, 0x1FE, 4), rc::kBadAddress);
    uint32_t number = 0;
    demo.ReadMemoryNumber(status, 0x1E0, 4, number);
    EXPECT_EQ(number, 0x77777777u);
    demo.ReadMemoryNumber(status, 0x1FC, 4, number);
    EXPECT_EQ(number, 0xFF006666u);
}

}  // namespace
}  // namespace vxl::test
