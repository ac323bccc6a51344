#include "reports/xml_export.h"

#include <vector>

#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "params/protocol_modes.h"
#include "reports/report_document.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kLineEnd = "\r\n";

enum class Value {
    Text,          // the parameter's text
    YesNo,         // "yes" / "no" from its flag
    Named,         // the parameter's text; omitted for a value without a name
    ProtocolName,  // the protocol-mode name for the modem type; empty outside the table
    CurrentChannel,
    CurrentRx,
    CurrentTx,
};

enum class Omit { Never, Unavailable, CurrentChannelUnavailable, NotType4 };

struct Element {
    const char* tag;
    int id;
    Value value;
    Omit omit;
};

// Lines 5 to 36 of the document, in order.
const std::vector<Element>& Elements() {
    static const std::vector<Element> elements = {
        {"model", pid::kModel, Value::Text, Omit::Never},
        {"modem-board-id", pid::kModemID, Value::Text, Omit::Never},
        {"firmware-revision", pid::kFirmwareRevision, Value::Text, Omit::Never},
        {"serial-number", pid::kSerialNumber, Value::Text, Omit::Never},
        {"call-sign", pid::kCallSign, Value::Text, Omit::Unavailable},
        {"owner", pid::kOwner, Value::Text, Omit::Never},
        {"frequency-range", pid::kFrequency, Value::Text, Omit::Never},
        {"channel-bandwidth", pid::kChannelBandwidth, Value::Text, Omit::Never},
        {"power", pid::kPower, Value::Text, Omit::Never},
        {"channel-selection-type", pid::kChannelSelectType, Value::Text, Omit::Unavailable},
        {"current-channel", pid::kCurrentChannel, Value::CurrentChannel, Omit::Never},
        {"current-rx-frequency", pid::kCurrentChannel, Value::CurrentRx, Omit::Never},
        {"current-tx-frequency", pid::kCurrentChannel, Value::CurrentTx,
         Omit::CurrentChannelUnavailable},
        {"link-rate", pid::kLinkRate, Value::Text, Omit::Never},
        {"modulation-mode", pid::kModulationType, Value::Named, Omit::NotType4},
        {"scrambling", pid::kScrambling, Value::YesNo, Omit::Never},
        {"transmit-retries", pid::kTransmitRetries, Value::Text, Omit::Unavailable},
        {"tx-ack-timeout", pid::kTxAckTimeout, Value::Text, Omit::Unavailable},
        {"csma-monitoring", pid::kCSMAMonitor, Value::YesNo, Omit::Unavailable},
        {"rover-auto-off", pid::kRoverAutoOff, Value::YesNo, Omit::Unavailable},
        {"digisquelch", pid::kDigisquelch, Value::Named, Omit::Never},
        {"forward-error-correction", pid::kForwardErrorCorrection, Value::YesNo, Omit::Never},
        {"local-address", pid::kLocalAddress, Value::Text, Omit::Never},
        {"remote-address", pid::kRemoteAddress, Value::Text, Omit::Unavailable},
        {"baud-rate", pid::kBaudRate, Value::Text, Omit::Never},
        {"parity", pid::kParity, Value::Named, Omit::Never},
        {"protocol-mode", pid::kProtocolMode, Value::ProtocolName, Omit::Never},
        {"break-to-command", pid::kBREAKtoCommand, Value::YesNo, Omit::Never},
        {"modem-enable", pid::kModemEnable, Value::YesNo, Omit::Unavailable},
        {"eot-value", pid::kEOTCount, Value::Text, Omit::Unavailable},
        {"digipeater-delay", pid::kDigipeaterDelay, Value::Text, Omit::Unavailable},
        {"local-node-repeater", pid::kRepeater, Value::YesNo, Omit::Unavailable},
    };
    return elements;
}

// A failed read leaves the value empty.
std::string TextOf(ModemParameterSet& parameters, int id) {
    std::string text;
    if (parameters.GetText(id, text) != rc::kOk) return std::string();
    return text;
}

std::string YesNoOf(ModemParameterSet& parameters, int id) {
    bool flag = false;
    if (parameters.GetBool(id, flag) != rc::kOk) return std::string();
    return flag ? "yes" : "no";
}

class DocumentWriter {
  public:
    DocumentWriter(ModemParameterSet& parameters, int modemType)
        : parameters_(parameters), modemType_(modemType) {}

    void Line(const std::string& text) { out_ += text + kLineEnd; }
    void Element(const char* tag, const std::string& value) {
        Line(Format("<%s>%s</%s>", tag, EscapeXml(value).c_str(), tag));
    }

    void Settings() {
        for (const vxl::Element& element : Elements()) {
            std::string value;
            if (Resolve(element, value)) Element(element.tag, value);
        }
    }

    void ChannelTable() {
        Line("<channel-table>");
        for (int k = 0; k < 16; ++k) {
            std::string tx = TextOf(parameters_, pid::TxChannelId(k));
            std::string rx = TextOf(parameters_, pid::RxChannelId(k));
            if (tx.empty() && rx.empty()) continue;
            Line("<channel-table-entry>");
            Element("channel-table-entry-idx", Format("%.2d", k));
            Element("channel-table-entry-tx", tx);
            Element("channel-table-entry-rx", rx);
            Line("</channel-table-entry>");
        }
        Line("</channel-table>");
    }

    const std::string& Text() const { return out_; }

  private:
    bool Omitted(const vxl::Element& element) {
        switch (element.omit) {
            case Omit::Never:
                return false;
            case Omit::Unavailable:
                return !parameters_.IsAvailable(element.id);
            case Omit::CurrentChannelUnavailable:
                return !parameters_.IsAvailable(pid::kCurrentChannel);
            case Omit::NotType4:
                return modemType_ != kModemTypeVxl;
        }
        return false;
    }

    // The channel whose frequencies the current-channel lines show; -1 when the stored value
    // names no channel (after the table was cleared), so that no other parameter is shown.
    int CurrentChannel(bool& readable) {
        int channel = -1;
        readable = parameters_.GetInt(pid::kCurrentChannel, channel) == rc::kOk;
        return readable ? channel : -1;
    }

    std::string ChannelText(bool transmit) {
        bool readable = false;
        int channel = CurrentChannel(readable);
        if (channel < 0 || channel >= 16) return std::string();
        return TextOf(parameters_,
                      transmit ? pid::TxChannelId(channel) : pid::RxChannelId(channel));
    }

    // Fills `value`; false when the element's line is left out.
    bool Resolve(const vxl::Element& element, std::string& value) {
        if (Omitted(element)) return false;
        switch (element.value) {
            case Value::Text:
                value = TextOf(parameters_, element.id);
                return true;
            case Value::YesNo:
                value = YesNoOf(parameters_, element.id);
                return true;
            case Value::Named:
                return parameters_.GetText(element.id, value) == rc::kOk && !value.empty();
            case Value::ProtocolName: {
                int v = -1;
                if (parameters_.GetInt(element.id, v) == rc::kOk) {
                    value = protocol::ModeName(modemType_, v);
                }
                return true;
            }
            case Value::CurrentChannel: {
                bool readable = false;
                int channel = CurrentChannel(readable);
                value = readable ? Format("%d", channel) : std::string();
                return true;
            }
            case Value::CurrentRx:
                value = ChannelText(false);
                return true;
            case Value::CurrentTx:
                value = ChannelText(true);
                return true;
        }
        return false;
    }

    ModemParameterSet& parameters_;
    int modemType_;
    std::string out_;
};

}  // namespace

std::string EscapeXml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        const size_t length = Utf8Length(text, at);
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            // The control picture of the same code: U+2400 + c.
            out += "\xE2\x90";
            out += static_cast<char>(0x80 + c);
        } else if (length == 0) {
            // A byte that is not UTF-8: the Latin-1 character of the same value.
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (length == 3 && text.compare(at, 2, "\xEF\xBF") == 0 &&
                   static_cast<unsigned char>(text[at + 2]) >= 0xBE) {
            out += "\xEF\xBF\xBD";  // U+FFFE and U+FFFF are no characters: U+FFFD
        } else {
            out.append(text, at, length);
        }
        at += length == 0 ? 1 : length;
    }
    return out;
}

std::string FormatExportDate(std::time_t when) {
    return FormatReportDate(when);
}

std::string BuildXmlDocument(ModemParameterSet& parameters, int modemType,
                             const std::string& stationId, const std::string& date) {
    DocumentWriter writer(parameters, modemType);
    writer.Line("<?xml version=\"1.0\"?>");
    writer.Line("<ktrconf-parameters>");
    writer.Element("station-id", stationId);
    writer.Element("date", date);
    writer.Settings();
    writer.ChannelTable();
    writer.Line("</ktrconf-parameters>");
    return writer.Text();
}

std::string XmlFileName(const std::string& name) {
    return name + ".xml";
}

}  // namespace vxl
