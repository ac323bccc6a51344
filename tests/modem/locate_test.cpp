// Locating a modem on any of 8 ports by soft break or by power-on capture.
#include <gtest/gtest.h>

#include <memory>

#include "fake_modem.h"
#include "modem/modem.h"
#include "protocol_fixture.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

using Bytes = std::vector<uint8_t>;

// Ports of index 0..7: index 0 absent, index 7 closed, the others open at 9600 with an
// optional modem.
class LocateTest : public ProtocolTest {
  protected:
    LocateTest() {
        for (int i = 1; i < 8; ++i) {
            links[i] = std::make_unique<FakeSerialLink>(i + 1, 9600);
            ports[i] = links[i].get();
        }
        links[7]->open = false;
    }
    FakeModem& AddModem(int index) {
        modems[index] = std::make_unique<FakeModem>(*links[index], clock);
        return *modems[index];
    }
    std::unique_ptr<FakeSerialLink> links[8];
    std::unique_ptr<FakeModem> modems[8];
    ISerialLink* ports[8] = {};
};

TEST_F(LocateTest, SoftBreakFindsTheLastAnsweringPort) {
    AddModem(2).serialBaud = 38400;
    AddModem(5).serialBaud = 38400;
    int found = -1;
    std::string status;
    EXPECT_EQ(CModem::LocateBySoftBreak(status, ports, found), rc::kTimeout);  // port 6 last
    EXPECT_EQ(found, 5);
    EXPECT_TRUE(modems[2]->commandMode);
    for (int i = 1; i < 7; ++i) {
        EXPECT_TRUE(links[i]->monitorRunning) << i;
        EXPECT_EQ(links[i]->Baud(), 38400) << i;
        EXPECT_EQ(links[i]->writes[0], (Bytes{'+', '+', '+'})) << i;
    }
    EXPECT_TRUE(links[7]->writes.empty());
    EXPECT_FALSE(links[7]->monitorRunning);
}

TEST_F(LocateTest, SoftBreakWalksTheRateList) {
    std::vector<int> rates;
    links[1]->onWrite = [&](const Bytes& bytes) {
        if (bytes == Bytes{'+', '+', '+'}) rates.push_back(links[1]->Baud());
    };
    int found = -1;
    std::string status;
    EXPECT_EQ(CModem::LocateBySoftBreak(status, ports, found), rc::kTimeout);
    EXPECT_EQ(found, -1);
    EXPECT_EQ(rates, (std::vector<int>{38400, 38400, 19200, 9600, 1200}));
    EXPECT_EQ(links[1]->Baud(), 1200);
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->lines[1], "at 1200 baud.");
    EXPECT_TRUE(ui.progress[0]->closed);
}

TEST_F(LocateTest, SoftBreakFindsAModemAtALowerRate) {
    AddModem(4).serialBaud = 9600;
    int found = -1;
    std::string status;
    EXPECT_EQ(CModem::LocateBySoftBreak(status, ports, found), rc::kTimeout);
    EXPECT_EQ(found, 4);
    EXPECT_EQ(links[4]->Baud(), 9600);
}

TEST_F(LocateTest, PowerOnFindsResetsAndRestores) {
    links[3]->SetBaud(19200);
    AddModem(4).powerOnAtMs = 2500;
    int found = -1;
    std::string status;
    EXPECT_EQ(CModem::LocateByPowerOn(status, ports, found), rc::kOk);
    EXPECT_EQ(found, 4);
    EXPECT_LT(clock.NowMs(), 4000);
    EXPECT_EQ(links[4]->writes.back(), (Bytes{0x01, 0x1D, 0x00, 0xE2}));
    EXPECT_FALSE(modems[4]->commandMode);
    EXPECT_EQ(links[3]->Baud(), 19200);
    for (int i = 1; i < 7; ++i) EXPECT_EQ(links[i]->log.back(), "suspend") << i;
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->lines[0], "Searching all ports...");
    EXPECT_EQ(ui.progress[0]->lines[1], "If there is a Norvale modem on any serial port");
    EXPECT_EQ(ui.progress[0]->lines[2],
              "please power cycle it to allow the VXL Software to capture it.");
}

TEST_F(LocateTest, PowerOnStopsAtAWrongReply) {
    links[2]->onWrite = [&](const Bytes&) {
        if (clock.NowMs() >= 1000) links[2]->Deliver({0x01, 0x99}, 1);
    };
    int found = -1;
    std::string status;
    EXPECT_EQ(CModem::LocateByPowerOn(status, ports, found), rc::kIncorrectResponse);
    EXPECT_EQ(status, "Capture->\x01\x99");
    EXPECT_EQ(found, -1);
    EXPECT_LT(clock.NowMs(), 1200);
    EXPECT_TRUE(ui.progress[0]->closed);
}

TEST_F(LocateTest, PowerOnWithoutAModem) {
    int found = 6;
    std::string status;
    EXPECT_EQ(CModem::LocateByPowerOn(status, ports, found), rc::kNothingReceived);
    EXPECT_EQ(found, 6);
    EXPECT_GE(clock.NowMs(), 10000);
}

TEST_F(LocateTest, NoOpenPortEndsAtOnce) {
    ISerialLink* none[8] = {nullptr, links[7].get()};
    int found = 3;
    std::string status;
    EXPECT_EQ(CModem::LocateBySoftBreak(status, none, found), rc::kNothingReceived);
    EXPECT_EQ(CModem::LocateByPowerOn(status, none, found), rc::kNothingReceived);
    EXPECT_EQ(found, 3);
    EXPECT_EQ(clock.NowMs(), 0);
}

}  // namespace
}  // namespace vxl::test
