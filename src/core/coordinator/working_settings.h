// The settings being edited: a copy of the image the modem holds, the parameters decoded over
// it, and every change to them. Edits go through the rules of the parameter model; changes that
// bypass the rules (bytes, defaults, channel tables) end with the rules' settling. Whoever shows
// the settings is told which parameters changed and reads them from Parameters().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "params/parameter_changes.h"

class ModemMemoryImage;
class ModemParameterSet;

namespace vxl {

class CoordinatorView;
struct ChannelPlan;

class WorkingSettings {
  public:
    WorkingSettings();
    ~WorkingSettings();
    WorkingSettings(const WorkingSettings&) = delete;
    WorkingSettings& operator=(const WorkingSettings&) = delete;

    void SetView(CoordinatorView* view) { view_ = view; }

    // Builds the parameters over `image` (a copy of what the modem holds) and settles them.
    // Returns the definitions' result: 0, 91 (an entry missing, not fatal) or a code that makes
    // the settings unusable; `definitionsLocation` receives where they were looked up. The view
    // is told only by Announce.
    int Load(std::unique_ptr<ModemMemoryImage> image, std::string* definitionsLocation = nullptr);
    // Forgets the settings (the modem is read again).
    void Clear();
    // Forgets the settings of a modem released: the next modem's transmit frequencies start
    // editable.
    void Release();

    bool IsLoaded() const { return parameters_ != nullptr; }
    ModemParameterSet* Parameters() const { return parameters_.get(); }
    ModemMemoryImage* Image() const { return image_.get(); }
    // The Model value; -1 when nothing is loaded or it cannot be read.
    int GetModel() const;
    // The serial number as the Identification page shows it (empty without settings).
    std::string SerialNumberText() const;
    // Whether the transmit frequencies may be edited: a model change on a type-4 modem decides
    // (a base station sets its own); until then they may.
    bool TransmitColumnEditable() const { return transmitEditable_; }

    // ---- Edits: the parameter set's result, 57 with nothing loaded ----
    int SetInt(int id, int value);
    int SetBool(int id, bool value);
    int SetReal(int id, double value);
    int SetText(int id, const std::string& text);
    // One byte at the image's base address + offset (the Memory Map page). A byte that a text
    // field cannot hold (a control character in the owner, a code without a character in the
    // call sign) is refused with 92 and the reason in `problem`; nothing changes.
    int WriteByte(int offset, uint8_t value, std::string* problem = nullptr);
    // Every parameter that has a default takes it.
    int ApplyDefaults();
    // The image's N + E bytes replaced by `bytes` (a restored backup); the definitions are looked
    // up again.
    int ReplaceBytes(const std::vector<uint8_t>& bytes);

    // ---- Channel tables and the XML export ----
    // A channel-table file (".upg") into the channels: a field that holds no frequency leaves its
    // channel as it is, the others pass the checks of a typed frequency (ApplyChannelPlan). A
    // file that cannot be read, is damaged, belongs to another modem (80) or holds a frequency
    // this modem cannot take (rc::kChannelTableRefused) changes nothing; `problem` (when given)
    // says why, naming the channel. 0 with nothing loaded.
    int ImportChannelTable(const std::string& path, std::string* problem = nullptr);
    // Writes the channels as the settings hold them: 0, 57 with nothing loaded, or the file's
    // error.
    int ExportChannelTable(const std::string& path, uint32_t serialNumber,
                           std::string* problem = nullptr);
    int ClearChannelTable();
    // Channel plans (CSV): the 16 channels as the settings hold them; false with nothing loaded.
    bool TakeChannelPlan(ChannelPlan& plan) const;
    // Every channel of the plan is checked as a typed frequency is (within the band, on the
    // synthesizer's step, the channel in use keeps its frequencies) before any is set: 0, or
    // rc::kChannelPlanRefused with the first refused row and why in `problem`, nothing changed.
    // 57 with nothing loaded.
    int ApplyChannelPlan(const ChannelPlan& plan, std::string* problem = nullptr);
    // The same from a CSV file, and the plan written to one (atomically): 0, a file error or
    // rc::kChannelPlanRefused, with the reason in `problem`.
    int ImportChannelCsv(const std::string& path, std::string* problem = nullptr);
    int ExportChannelCsv(const std::string& path, std::string* problem = nullptr) const;
    // Writes name + ".xml"; 0, 57 with nothing loaded, or a file error code.
    int ExportXml(const std::string& name, std::string* problem = nullptr);

    // Settles the settings after a change made directly through Parameters() or Image(), and
    // tells the view what changed.
    void Announce(ParameterChanges changes);

  private:
    using Rule = std::function<int(ModemParameterSet& set, ParameterChanges& changes)>;
    // An edit of parameter `id` by `rule`; the view is told what it changed.
    int Edit(int id, const Rule& rule);
    // The end of a change that bypassed the rules: settled, and every value shown again.
    int FinishBulk(int result);

    std::unique_ptr<ModemMemoryImage> image_;
    std::unique_ptr<ModemParameterSet> parameters_;
    CoordinatorView* view_ = nullptr;
    bool transmitEditable_ = true;
};

}  // namespace vxl
