// The headless settings run against a fake modem in simulated time: what it does with each file
// it is given (its exit status, what it prints, what it writes to the modem), fullwrite, and a
// backup of another modem (tests/data). Why the coordinator refuses a file or fails a Program is
// its own test; here, how a run reports it.
#include <gtest/gtest.h>

#include <functional>

#include "backup/backup_file.h"
#include "fake_modem_run.h"
#include "params/callsign_codec.h"
#include "params/frequency.h"
#include "support/golden.h"
#include "util/format.h"

namespace vxl::test {
namespace {

// What the modem holds of the serial number, the owner, the call sign and channels 0 to 2 and 7.
std::string Holds(const FakeModem& modem) {
    std::string owner;
    for (int a = 0x16B; a < 0x18B && modem.memory[a] != 0; ++a)
        owner += modem.memory[a] < 0x80 ? VisibleText(std::string(1, modem.memory[a]))
                                        : Format("\\x%02X", modem.memory[a]);
    std::string text = Format("serial %02X%02X%02X%02X: owner '", modem.memory[0x106],
                              modem.memory[0x107], modem.memory[0x108], modem.memory[0x109]) +
                       owner + "', call sign '" + DecodeCallSign(&modem.memory[0x1B7], 10) +
                       "', channels";
    for (int k : {0, 1, 2, 7}) {
        double rx = 0, tx = 0;
        DecodeFrequency(4, &rx, &modem.memory[0x10B + 6 * k], true);
        DecodeFrequency(4, &tx, &modem.memory[0x10E + 6 * k], false);
        text += Format(" %d: %.4f/%.4f", k, rx, tx);
    }
    return text + "\n";
}

// Each file a settings run is given, and what comes of it. The channel tables under tests/data
// were written by an implementation of the file format of its own: channel 1 at 451.0125 and
// 461.0125 MHz, channel 7 at 469.9875 and 450.0 MHz; one for another band (47.95, 102.40 and
// 367.45 MHz). A file the modem cannot take changes nothing. `fullwrite` writes every byte where
// the change alone writes the owner's and the checksum.
TEST(SettingsRun, EachFileAndItsOutcome) {
    const std::string table = Golden("channel_table.upg");
    BackupImage other;  // of the modem with serial number 1427260, owned by "Other"
    other.header = {"01427260", "VXL", "2.20", 246, 9, 4, 1700000000};
    other.bytes.assign(255, 0);
    for (const auto& [at, text] : {std::pair{0x06, std::string("\0\x15\xC7\x3C\xD2", 5)},
                                   std::pair{0x6B, std::string("Other")}})
        std::copy(text.begin(), text.end(), other.bytes.begin() + at);
    const struct {
        const char* name;
        const char* run;
        std::string file;
        std::function<void(FakeModem&)> fault;
        std::vector<std::string> more = {};  // further words of the command line
    } cases[] = {
        {"a channel table", "import", table, nullptr},
        {"a channel table with more after its record", "import", table + std::string(189, 'x'),
         nullptr},
        {"a channel table for another band", "import", Golden("channel_table_other_band.upg"),
         nullptr},
        {"too long, a character without a code", "loadprofile",
         "[VXL]\nOwner=" + std::string(33, 'x') + "\nCallSign=KD7#\n", nullptr},
        {"entries this modem cannot take", "loadprofile",
         "; written by hand\n[VXL]\nOwner=Applied\nBogus=1\nSerialNumber=12345678\n"
         "SynthesizerType=2\nBaudRate=12345\nLocalAddress=300\nScrambling=maybe\nLinkRate=19200\n"
         "RXChannel_0=\nTxAckTimeout=99999\nDigisquelch=Low # as shipped\n",
         nullptr},
        {"a value a later entry's rule changes", "loadprofile",
         "[VXL]\nModulationType=4-Level-FSK\nLinkRate=4800\n", nullptr},
        {"an unknown key, a byte stored wrongly", "loadprofile", "[VXL]\nOwner=Quarry\nBogus=1\n",
         [](FakeModem& m) { m.wrongStoreAddress = 0x16B; }},
        // The run's line ends with the modem's last exchange when there is one.
        {"the commit's answer lost", "loadprofile", "[VXL]\nOwner=Quarry\n",
         [](FakeModem& m) { m.replyFor[0x1E] = {}; }},
        {"fullwrite: every byte", "loadprofile", "[VXL]\nOwner=Quarry\n", nullptr, {"fullwrite"}},
        // Another modem's backup needs `force`; the modem keeps its serial number.
        {"another modem's backup", "restore", FormatBackup(other), nullptr},
        {"another modem's backup, forced", "restore", FormatBackup(other), nullptr, {"force"}},
    };
    std::string outcomes;
    for (const auto& c : cases) {
        FakeModemRun run;
        if (c.fault) c.fault(run.modem);
        const std::string path = run.dir.Write("file", c.file);
        std::vector<std::string> args{c.run, path};
        args.insert(args.end(), c.more.begin(), c.more.end());
        const int status = run.Run(args);
        outcomes += Format("== %s: %s FILE\nexit %d, %d bytes written\n", c.name, c.run, status,
                           run.modem.Count(0x20)) +
                    Replaced(run.errors, path, "FILE") + Holds(run.modem);
    }
    EXPECT_TRUE(MatchesGolden("settings_run_outcomes.txt", outcomes));
}

}  // namespace
}  // namespace vxl::test
