// Parameter sets over known images for the report and export tests: a "VXL" with a call sign
// and two channels, read through the fake modem as the coordinator reads a real one.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "params/definitions.h"
#include "params/modem_parameter_set.h"
#include "reports/report_document.h"
#include "support/fake_modem_source.h"
#include "util/format.h"

namespace vxl::test {

inline void Put(FakeModemSource& modem, int address, std::initializer_list<uint8_t> bytes) {
    for (uint8_t byte : bytes) modem.memory[static_cast<size_t>(address++)] = byte;
}

inline void PutText(FakeModemSource& modem, int address, const std::string& text) {
    for (char c : text) modem.memory[static_cast<size_t>(address++)] = static_cast<uint8_t>(c);
}

// A parameter set over the image read from `modem`, as the coordinator builds it.
class LoadedSettings {
  public:
    explicit LoadedSettings(FakeModemSource& modem)
        : definitions_(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini") {
        modem.LoadImage();
        working_ = modem.loadedImage->Clone();
        std::string location;
        int status = 0;
        set_ = std::make_unique<ModemParameterSet>(location, status, working_.get());
    }
    ModemParameterSet& Set() { return *set_; }

  private:
    ScopedDefinitionsPath definitions_;
    std::unique_ptr<ModemMemoryImage> working_;
    std::unique_ptr<ModemParameterSet> set_;
};

// A "VXL" (type 4, firmware 2.20) with two channels, an owner that needs escaping and a
// call sign.
inline std::unique_ptr<FakeModemSource> VxlModem() {
    auto modem = std::make_unique<FakeModemSource>(4, 2.20, 246);
    FakeModemSource& m = *modem;
    Put(m, 0x100, {0x01});                                // 25 kHz, power code 1 (2 W)
    Put(m, 0x106, {0x00, 0x15, 0xC7, 0x3B});              // serial number 1427259
    Put(m, 0x10A, {0xD2});                                // VXL, 450-470
    Put(m, 0x10B, {0x02, 0x7C, 0x68, 0x02, 0x38, 0x60});  // channel 0: 455.0 both ways
    Put(m, 0x111, {0x02, 0x83, 0x08});                    // channel 1: 460.0 receive only
    PutText(m, 0x16B, "Pump & <Station>");
    Put(m, 0x18C, {0x00, 0x00, 0x00, 0x03});  // parity, crystal, current channel, link rate
    Put(m, 0x191, {0x01, 0x01, 0x05, 0x03, 0x03, 0xFF, 0x01});  // FEC .. digisquelch
    Put(m, 0x19E, {0x00, 0x04, 0x04, 0x00, 0x32, 0x31});        // ack timeout .. bit polarity
    Put(m, 0x1A6, {0x01});                                      // 4-Level-FSK
    Put(m, 0x1B7, {0x0D, 0x0C, 0x38, 0x19, 0x1B, 0x1C});        // KD7XYZ
    Put(m, 0x1FA, {0x80});                                      // modem enabled
    Put(m, 0xEE8B, {0x08});                                     // running: 38400 baud
    Put(m, 0xEE90, {0x82});                                     // running: packet, BREAK on
    return modem;
}

// A receive-only QMX modem whose running protocol mode (3) has no name on its type.
inline std::unique_ptr<FakeModemSource> ReceiveOnlyModem() {
    auto modem = std::make_unique<FakeModemSource>(3, 1.00, 246);
    Put(*modem, 0x10A, {89});  // QMXRXO 450-470MHz 0W
    Put(*modem, 0xB690, {0x03});
    return modem;
}

// Gives every channel of `modem` 455.0 MHz both ways.
inline void FillAllChannels(FakeModemSource& modem) {
    for (int k = 0; k < 16; ++k) Put(modem, 0x10B + 6 * k, {0x02, 0x7C, 0x68, 0x02, 0x38, 0x60});
}

inline ReportHeading TestHeading() {
    return ReportHeading{"VXL Configuration Program (End User) Version 2.42B",
                         "Nov 14, 2023  22:13:20", "Norvale Corporation",
                         "Copyright (C) 2026. All rights reserved."};
}

// A document as text: "== page N", then one row per line, "<y> <style> |<text>" with the style
// ' ', 'B' or 'U' and trailing blanks removed, and "<y> rule" per horizontal rule.
inline std::string AsText(const ReportDocument& document) {
    std::string out;
    for (size_t p = 0; p < document.pages.size(); ++p) {
        out += Format("== page %zu\n", p + 1);
        for (const ReportLine& line : document.pages[p].lines) {
            std::string text = line.text;
            text.erase(text.find_last_not_of(' ') + 1);
            const char style = line.style == LineStyle::Bold         ? 'B'
                               : line.style == LineStyle::Underlined ? 'U'
                                                                     : ' ';
            out += Format("%4.1f %c |%s\n", line.y, style, text.c_str());
        }
        for (double y : document.pages[p].rules) out += Format("%4.1f rule\n", y);
    }
    return out;
}

}  // namespace vxl::test
