#include "reports/configuration_report.h"

#include <algorithm>
#include <vector>

#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "params/protocol_modes.h"
#include "reports/report_page_builder.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kDash = "--";
constexpr const char* kTableHeader = "Channel           TX                      RX      ";

enum class Show {
    Heading,      // bold label, no value
    Text,         // the parameter's text and the row's unit
    TextOrDash,   // its text while available, else "--"
    YesNo,        // "Yes" / "No" from its flag
    YesNoOrDash,  // "Yes" / "No" while available, else "--"
    Protocol,     // the protocol-mode name for the modem type
    Channel,      // the current channel's number
    CurrentRx,    // the current channel's receive frequency
    CurrentTx,    // its transmit frequency while the current channel is available, else "--"
};

enum class Omit { Never, Unavailable, NotType4 };

struct Row {
    const char* label;
    int id;
    Show show;
    int advance;
    Omit omit = Omit::Never;
    const char* unit = "";
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"Identification", -1, Show::Heading, 1},
        {"  Model:", pid::kModel, Show::Text, 1},
        {"  Modem Board ID:", pid::kModemID, Show::Text, 1},
        {"  Firmware Revision:", pid::kFirmwareRevision, Show::Text, 1},
        {"  Serial Number:", pid::kSerialNumber, Show::Text, 1},
        {"  Call Sign:", pid::kCallSign, Show::TextOrDash, 1},
        {"  Owner:", pid::kOwner, Show::Text, 2},
        {"  Frequency Range:", pid::kFrequency, Show::Text, 1, Omit::Never, " MHz"},
        {"  Channel Bandwidth:", pid::kChannelBandwidth, Show::Text, 1, Omit::Never, " K"},
        {"  Power:", pid::kPower, Show::Text, 2, Omit::Never, " Watts"},
        {"Radio Link", -1, Show::Heading, 1},
        {"  Channel Selection Type:", pid::kChannelSelectType, Show::Text, 1, Omit::Unavailable},
        {"  Current Channel:", pid::kCurrentChannel, Show::Channel, 1},
        {"  Current RX Frequency:", pid::kCurrentChannel, Show::CurrentRx, 1},
        {"  Current TX Frequency:", pid::kCurrentChannel, Show::CurrentTx, 1},
        {"  Link Rate:", pid::kLinkRate, Show::Text, 1},
        {"  Modulation Mode:", pid::kModulationType, Show::Text, 1, Omit::NotType4},
        {"  Scrambling:", pid::kScrambling, Show::YesNo, 1},
        {"  Transmit Retries:", pid::kTransmitRetries, Show::TextOrDash, 1},
        {"  TX ACK Timeout:", pid::kTxAckTimeout, Show::TextOrDash, 1},
        {"  CSMA Monitoring:", pid::kCSMAMonitor, Show::YesNoOrDash, 1},
        {"  Digisquelch:", pid::kDigisquelch, Show::Text, 1},
        {"  Forward Error Correction:", pid::kForwardErrorCorrection, Show::YesNo, 1},
        {"  Local Address:", pid::kLocalAddress, Show::Text, 1},
        {"  Remote Address:", pid::kRemoteAddress, Show::TextOrDash, 2},
        {"Serial Interface", -1, Show::Heading, 1},
        {"  Baud Rate:", pid::kBaudRate, Show::Text, 1},
        {"  Parity:", pid::kParity, Show::Text, 1},
        {"  Protocol Mode:", pid::kProtocolMode, Show::Protocol, 1},
        {"  BREAK to Command:", pid::kBREAKtoCommand, Show::YesNo, 1},
        {"  Modem Enable:", pid::kModemEnable, Show::YesNoOrDash, 1},
        {"  EOT value:", pid::kEOTCount, Show::TextOrDash, 1},
        {"  Digipeater Delay:", pid::kDigipeaterDelay, Show::TextOrDash, 1},
        {"  Local Node Repeater:", pid::kRepeater, Show::YesNoOrDash, 2},
    };
    return rows;
}

class ReportValues {
  public:
    ReportValues(ModemParameterSet& parameters, int modemType)
        : parameters_(parameters), modemType_(modemType) {}

    bool Omitted(const Row& row) {
        switch (row.omit) {
            case Omit::Never:
                return false;
            case Omit::Unavailable:
                return !parameters_.IsAvailable(row.id);
            case Omit::NotType4:
                return modemType_ != kModemTypeVxl;
        }
        return false;
    }

    std::string Value(const Row& row) {
        switch (row.show) {
            case Show::Heading:
                return std::string();
            case Show::Text:
                return Text(row.id, row.unit);
            case Show::TextOrDash:
                return parameters_.IsAvailable(row.id) ? Text(row.id) : kDash;
            case Show::YesNo:
                return YesNo(row.id);
            case Show::YesNoOrDash:
                return parameters_.IsAvailable(row.id) ? YesNo(row.id) : kDash;
            case Show::Protocol: {
                int value = -1;
                if (parameters_.GetInt(row.id, value) != rc::kOk) return std::string();
                return protocol::ModeName(modemType_, value);
            }
            case Show::Channel: {
                int channel = -1;
                if (parameters_.GetInt(row.id, channel) != rc::kOk) return std::string();
                return Format("%d", channel);
            }
            case Show::CurrentRx:
                return CurrentFrequency(false);
            case Show::CurrentTx:
                return parameters_.IsAvailable(pid::kCurrentChannel) ? CurrentFrequency(true)
                                                                     : kDash;
        }
        return std::string();
    }

    // A failed read prints nothing, not even the unit.
    std::string Text(int id, const char* unit = "") {
        std::string text;
        if (parameters_.GetText(id, text) != rc::kOk) return std::string();
        return text + unit;
    }

  private:
    std::string YesNo(int id) {
        bool flag = false;
        if (parameters_.GetBool(id, flag) != rc::kOk) return std::string();
        return flag ? "Yes" : "No";
    }

    // A current channel outside 0..15 (0xFF after the table was cleared) names no channel, so
    // no other parameter's text is shown in its place.
    std::string CurrentFrequency(bool transmit) {
        int channel = -1;
        if (parameters_.GetInt(pid::kCurrentChannel, channel) != rc::kOk) return std::string();
        if (channel < 0 || channel >= pid::kChannelCount) return std::string();
        return Text(transmit ? pid::TxChannelId(channel) : pid::RxChannelId(channel), " MHz");
    }

    ModemParameterSet& parameters_;
    int modemType_;
};

}  // namespace

std::string ConfigurationReportTitle(const std::string& programTitle, const std::string& level,
                                     const std::string& versionText) {
    return programTitle + " (" + level + ") " + versionText;
}

std::string ChannelRow(int index, const std::string& tx, const std::string& rx) {
    if (tx.empty() && rx.empty()) return std::string();
    const std::string number = Format("%.2d", index);
    const std::string txText = tx + " MHz";
    const std::string rxText = rx + " MHz";
    // Texts too long for the 50 columns still keep one blank between them.
    const int free = 50 - static_cast<int>(number.size() + txText.size() + rxText.size());
    const std::string gap(static_cast<size_t>(std::clamp(free / 2, 1, 40)), ' ');
    return number + gap + txText + gap + rxText;
}

ReportDocument BuildConfigurationReport(ModemParameterSet& parameters, int modemType,
                                        const ReportHeading& heading, double pageLines) {
    ReportPageBuilder pages(kConfigurationReportName, heading, pageLines);
    ReportValues values(parameters, modemType);
    for (const Row& row : Rows()) {
        if (values.Omitted(row)) continue;
        const bool isHeading = row.show == Show::Heading;
        pages.Line(LabelledValue(row.label, values.Value(row)),
                   isHeading ? LineStyle::Bold : LineStyle::Normal, row.advance);
    }
    pages.Line(LabelledValue("Frequency Table", ""), LineStyle::Bold, 2);
    pages.Line(LabelledValue(kTableHeader, ""), LineStyle::Underlined, 1);
    for (int k = 0; k < pid::kChannelCount; ++k) {
        const std::string row =
            ChannelRow(k, values.Text(pid::TxChannelId(k)), values.Text(pid::RxChannelId(k)));
        if (!row.empty()) pages.Line(LabelledValue(row, ""), LineStyle::Normal, 1);
    }
    return pages.Finish();
}

}  // namespace vxl
