// The modem's boot loader speaks text: the host sends characters and the loader answers with
// text that ends in a prompt character. New firmware goes in as the upgrade file's S-records,
// one record at a time, each paced by the loader's '.'.
#include <string>
#include <vector>

#include "modem/firmware_file.h"
#include "modem/modem.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/interrupt.h"
#include "util/result_codes.h"

namespace {

// The loader checks its memory before the banner and erases and copies in the store step,
// hence the long poll limits of those two steps.
constexpr int kBannerPolls = 5000;
constexpr int kLoadPolls = 9000;
constexpr int kRecordPolls = 5000;
constexpr int kStorePolls = 9000;
constexpr int kLastDataRecordPolls = 512;

constexpr uint8_t kStartLoader[] = {0x01, 0x1C, 0xE3, '\n'};
constexpr uint8_t kLoadCommand[] = {'L', '\n'};
constexpr int kLoadReplyLength = 7;
constexpr uint8_t kStoreCommand[] = {'P', '\r', '\n'};

constexpr char kPrompt = '?';
constexpr char kRecordPrompt = '.';
constexpr const char* kBanner = "KTR F/W Loader";
constexpr const char* kPass = "PASS";
constexpr const char* kDone = "DONE";
constexpr const char* kLoadAccepted = "...";

constexpr const char* kInterruptWarning =
    "\nvxlconf: the firmware download is running; stopping it now leaves the modem in its boot "
    "loader until it is upgraded again by power-on capture. Press Ctrl-C again to stop "
    "anyway.\n";

constexpr const char* kWindowTitle = "Firmware Download";
constexpr const char* kCaution = "Caution: Do not disconnect modem at this time.";
constexpr int kStepLine = 0;

// 'S', the type digit, two count digits, CR LF.
constexpr int kShortestRecord = 6;
constexpr int kPrefixLength = 3;

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

int Send(ISerialLink* port, const std::string& text) {
    return CModem::SendRaw(port, reinterpret_cast<const uint8_t*>(text.data()),
                           static_cast<int>(text.size()));
}

// A failed exchange of the lower layer gives its code as a positive result.
int Positive(int result) {
    return result < 0 ? -result : result;
}

// Waits for the loader's text up to `prompt`; status := the text. On a timeout status :=
// `diagnostic` + the text so far.
int AwaitPrompt(ISerialLink* port, std::string& status, char prompt, int polls,
                const char* diagnostic) {
    std::string text;
    int result = CModem::ReadUntil(port, text, prompt, polls);
    status = result == vxl::rc::kOk ? text : diagnostic + text;
    return Positive(result);
}

// A loader command whose answer ends in '?' and must hold two words: without the first it
// fails with `withoutFirst`, without the second with `withoutSecond`.
struct PromptedCommand {
    const uint8_t* bytes;
    int length;
    int polls;
    const char* diagnostic;
    const char* first;
    int withoutFirst;
    const char* second;
    int withoutSecond;
};

int RunPromptedCommand(ISerialLink* port, std::string& status, const PromptedCommand& command) {
    status.clear();
    if (!port) return vxl::rc::kOk;
    int result = CModem::SendRaw(port, command.bytes, command.length);
    if (result != vxl::rc::kOk) return result;
    result = AwaitPrompt(port, status, kPrompt, command.polls, command.diagnostic);
    if (result != vxl::rc::kOk) return result;
    int failure = !Contains(status, command.first)    ? command.withoutFirst
                  : !Contains(status, command.second) ? command.withoutSecond
                                                      : vxl::rc::kOk;
    if (failure != vxl::rc::kOk) status = command.diagnostic + status;
    return failure;
}

// The upgrade after the window has opened; the caller closes the window on every path.
int RunUpgradeSteps(CModem& modem, vxl::ProgressWindow& window, std::string& status,
                    CFirmwareFile& file, const std::vector<std::string>& preamble) {
    window.SetLine(kStepLine, "Reading firmware file.");
    int result = file.ReadUpgradeFile();
    if (result != vxl::rc::kOk) {
        status = file.GetProblem();
        return result;
    }
    // Such a file would leave the modem in its loader: refuse it before the modem is touched.
    std::string problem = file.DownloadProblem();
    if (!problem.empty()) {
        status = problem;
        return vxl::rc::kCorruptFirmware;
    }

    window.SetLine(kStepLine, "Opening modem");
    result = modem.Unlock(status);
    if (result != vxl::rc::kOk) return result;

    // From here on the modem runs its boot loader until the new firmware starts.
    vxl::InterruptWarning warning(kInterruptWarning);
    window.SetLine(kStepLine, "Starting modem bootloader.");
    result = modem.StartBootloader(status);
    if (result != vxl::rc::kOk) return result;

    window.SetLine(kStepLine, "Downloading firmware to modem.");
    window.ShowBar(true);
    result = modem.Download(status, file, preamble);
    if (result != vxl::rc::kOk) return result;

    window.ShowBar(false);
    window.SetLine(kStepLine, "Saving firmware to modem permanent memory.");
    result = modem.ProgramEEPROM(status);
    if (result != vxl::rc::kOk) return result;

    if (file.GetStartAddress() != 0) return modem.Go(status, file.GetStartAddress());
    return vxl::rc::kOk;
}

}  // namespace

ISerialLink* CModem::GetPort() const {
    return port_;
}

int CModem::UpgradeFirmware(std::string& status, CFirmwareFile& file,
                            const std::vector<std::string>& preamble) {
    status.clear();
    if (!port_) return vxl::rc::kOk;
    progressWindow_ =
        vxl::Ui().OpenProgress(kWindowTitle, {"Downloading firmware to modem", kCaution}, false);
    progressWindow_->SetRange(0, 100);
    progressWindow_->SetStep(1);
    progressWindow_->ShowBar(false);
    int result = RunUpgradeSteps(*this, *progressWindow_, status, file, preamble);
    progressWindow_.reset();
    return result;
}

int CModem::StartBootloader(std::string& status) {
    const int result = RunPromptedCommand(
        port_, status,
        {kStartLoader, sizeof kStartLoader, kBannerPolls, "StartBootloader->", kBanner,
         vxl::rc::kIncorrectResponse, kPass, vxl::rc::kLoaderMemoryCheck});
    // The loader's banner says it runs, whether its memory check passed or not.
    inBootLoader_ =
        port_ != nullptr && (result == vxl::rc::kOk || result == vxl::rc::kLoaderMemoryCheck);
    return result;
}

int CModem::Download(std::string& status, CFirmwareFile& file,
                     const std::vector<std::string>& preamble) {
    status.clear();
    if (!port_) return vxl::rc::kOk;
    uint8_t reply[kLoadReplyLength + 1] = {};
    int result =
        Transact(port_, kLoadCommand, sizeof kLoadCommand, reply, kLoadReplyLength, kLoadPolls);
    if (result != vxl::rc::kOk) return Positive(result);
    if (!Contains(std::string(reinterpret_cast<const char*>(reply), kLoadReplyLength),
                  kLoadAccepted)) {
        return vxl::rc::kLoadCommandFailed;
    }

    for (const std::string& line : preamble) {
        if (line.size() < kPrefixLength) return vxl::rc::kBadParameters;
        std::string prefix = line.substr(0, kPrefixLength);
        result = DownloadSrecord(status, line.c_str(), static_cast<int>(line.size()) + 1,
                                 prefix.c_str(), false);
        if (result != vxl::rc::kOk) return result;
    }

    // The bar has 100 steps: one now, then one per record until the records left match the
    // steps left, then one every `step` records.
    file.ResetCursor();
    int count = file.GetRecordCount();
    int step = count / 50;
    int threshold = count - 99 * step - 1;
    auto advanceProgress = [this] {
        if (progressWindow_) progressWindow_->StepIt();
    };
    advanceProgress();
    std::string record;
    int length = 0;
    for (int i = 0; file.HasNextRecord(); ++i) {
        if (!file.NextRecord(record, length)) return vxl::rc::kCorruptFirmware;
        std::string prefix = record.substr(0, kPrefixLength);
        result = DownloadSrecord(status, record.c_str(), length, prefix.c_str(), i == count - 1);
        if (result != vxl::rc::kOk) return result;
        if (i > threshold) {
            threshold += step;
            advanceProgress();
        }
    }
    return Contains(status, kDone) ? vxl::rc::kOk : vxl::rc::kEepromWriteFailed;
}

int CModem::DownloadSrecord(std::string& status, const char* record, int length, const char* prefix,
                            bool last) {
    status.clear();
    if (!port_) return vxl::rc::kOk;
    // `length` counts the record's characters, CR LF included, and its terminating zero.
    if (!record || !prefix || length - 1 < kShortestRecord) return vxl::rc::kBadParameters;
    const std::string text(record, static_cast<size_t>(length - 1));
    int result = Send(port_, std::string(prefix, kPrefixLength));
    if (result != vxl::rc::kOk) return result;

    if (prefix[1] == '1') {
        result = AwaitPrompt(port_, status, kRecordPrompt, kRecordPolls, "DownloadSrecord(S,1)->");
        if (result != vxl::rc::kOk) return result;
        // The loader answers nothing to a record's body; the '.' before the next record paces
        // the stream.
        const std::string body = text.substr(kPrefixLength);
        if (!last) return Send(port_, body);
        result = Transact(port_, reinterpret_cast<const uint8_t*>(body.data()),
                          static_cast<int>(body.size()), nullptr, 0, kLastDataRecordPolls);
        if (result == -vxl::rc::kExcessBytes) status = "DownloadSrecord(1)->";
        return Positive(result);
    }
    if (prefix[1] != '0' && prefix[1] != '9') return vxl::rc::kBadParameters;

    // Header and end records go out from their type digit on, so the loader sees the type
    // digit and the first count digit twice.
    const std::string body = text.substr(1);
    if (last) {
        result = Send(port_, body);
        if (result != vxl::rc::kOk) return result;
        return AwaitPrompt(port_, status, kPrompt, kRecordPolls, "DownloadSrecord(S,1)->");
    }
    result = Transact(port_, reinterpret_cast<const uint8_t*>(body.data()),
                      static_cast<int>(body.size()), nullptr, 0, 2 * static_cast<int>(body.size()));
    status = "DownloadSrecord(0,9)->";
    return Positive(result);
}

int CModem::ProgramEEPROM(std::string& status) {
    return RunPromptedCommand(
        port_, status,
        {kStoreCommand, sizeof kStoreCommand, kStorePolls, "ProgramEEPROM->", kDone,
         vxl::rc::kEepromWriteFailed, kPass, vxl::rc::kValidationFailed});
}

int CModem::Go(std::string& status, int startAddress) {
    status.clear();
    if (!port_) return vxl::rc::kOk;
    // No answer is awaited: the modem leaves its loader and starts the new firmware.
    const int result = Send(port_, vxl::Format("G %.4x\n", startAddress & 0xFFFF));
    if (result == vxl::rc::kOk) inBootLoader_ = false;
    return result;
}
