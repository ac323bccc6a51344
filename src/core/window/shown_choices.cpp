#include "window/shown_choices.h"

#include <iterator>
#include <map>

#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"

namespace vxl {

namespace {

// The baud rates from the slowest up, by choice position.
constexpr int kBaudRateOrder[] = {6, 5, 4, 3, 2, 1, 0, 8, 7};

void BaudRateChoices(ModemParameterSet& set, std::vector<std::string>& texts,
                     std::vector<int>& values) {
    std::vector<std::string> offered;
    std::vector<int> codes;
    int count = 0;
    int current = -1;
    set.GetChoices(pid::kBaudRate, offered, codes);
    set.GetChoiceCount(pid::kBaudRate, set.GetModemType(), count);
    set.GetInt(pid::kBaudRate, current);
    std::map<std::string, size_t> listed;
    for (int i = 0; i < count && i < static_cast<int>(std::size(kBaudRateOrder)); ++i) {
        const auto position = static_cast<size_t>(kBaudRateOrder[i]);
        if (position >= offered.size() || offered[position].empty()) continue;
        auto it = listed.find(offered[position]);
        if (it == listed.end()) {
            listed[offered[position]] = texts.size();
            texts.push_back(offered[position]);
            values.push_back(codes[position]);
        } else if (values[it->second] != current) {
            values[it->second] = codes[position];
        }
    }
}

}  // namespace

void ShownChoices(ModemParameterSet& set, int id, std::vector<std::string>& texts,
                  std::vector<int>& values) {
    texts.clear();
    values.clear();
    if (id == pid::kBaudRate) {
        BaudRateChoices(set, texts, values);
        return;
    }
    set.GetChoices(id, texts, values);
}

}  // namespace vxl
