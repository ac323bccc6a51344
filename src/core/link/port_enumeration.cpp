#include "link/port_enumeration.h"

#include <dirent.h>
#include <libserialport.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <tuple>

namespace vxl {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

std::string Text(const char* text) {
    return text ? std::string(text) : std::string();
}

// "ttyS10" after "ttyS9": the trailing number compares as a number.
std::tuple<std::string, long, std::string> NaturalKey(const std::string& name) {
    size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    if (digits == name.size() || name.size() - digits > 9) return {name, -1, name};
    return {name.substr(0, digits), std::atol(name.c_str() + digits), name};
}

int KindRank(PortKind kind) {
    switch (kind) {
        case PortKind::Usb:
            return 0;
        case PortKind::OnBoard:
            return 1;
        case PortKind::Other:
            break;
    }
    return 2;
}

PortKind KindOf(sp_transport transport) {
    switch (transport) {
        case SP_TRANSPORT_USB:
            return PortKind::Usb;
        case SP_TRANSPORT_NATIVE:
            return PortKind::OnBoard;
        default:
            return PortKind::Other;
    }
}

}  // namespace

std::string DescribePort(const DetectedPort& port) {
    std::string text;
    auto add = [&text](const std::string& part) {
        if (part.empty()) return;
        if (!text.empty()) text += ", ";
        text += part;
    };
    add(port.product);
    add(port.manufacturer);
    if (!port.serialNumber.empty()) add("S/N " + port.serialNumber);
    if (!text.empty()) return text;
    return port.kind == PortKind::OnBoard ? "On-board serial port" : port.systemDescription;
}

std::vector<PortEntry> OrderDetectedPorts(std::vector<DetectedPort> ports) {
    auto key = [](const DetectedPort& port) {
        const std::string& name = port.stableName.empty() ? port.device : port.stableName;
        return std::make_tuple(KindRank(port.kind), port.stableName.empty(), NaturalKey(name));
    };
    std::stable_sort(
        ports.begin(), ports.end(),
        [&key](const DetectedPort& a, const DetectedPort& b) { return key(a) < key(b); });
    std::vector<PortEntry> entries;
    for (const DetectedPort& port : ports) {
        PortEntry entry;
        entry.device = port.stableName.empty() ? port.device : port.stableName;
        entry.description = DescribePort(port);
        entries.push_back(entry);
    }
    return entries;
}

std::map<std::string, std::string> StableNamesIn(const std::string& folder) {
    std::map<std::string, std::string> names;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) return names;
    while (dirent* item = readdir(dir.get())) {
        std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        std::string link = folder + "/" + name;
        std::unique_ptr<char, decltype(&std::free)> target(realpath(link.c_str(), nullptr),
                                                           &std::free);
        if (!target) continue;
        auto found = names.find(target.get());
        // Several links to one device: keep the first by name, so the choice is stable.
        if (found == names.end() || link < found->second) names[target.get()] = link;
    }
    return names;
}

std::vector<PortEntry> DetectSerialPorts() {
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK || !list) return {};
    std::map<std::string, std::string> stable = StableNamesIn(kStableNameFolder);
    std::vector<DetectedPort> ports;
    for (sp_port** item = list; *item; ++item) {
        DetectedPort port;
        port.device = Text(sp_get_port_name(*item));
        if (port.device.empty()) continue;
        auto link = stable.find(port.device);
        if (link != stable.end()) port.stableName = link->second;
        port.kind = KindOf(sp_get_port_transport(*item));
        if (port.kind == PortKind::Usb) {
            port.product = Text(sp_get_port_usb_product(*item));
            port.manufacturer = Text(sp_get_port_usb_manufacturer(*item));
            port.serialNumber = Text(sp_get_port_usb_serial(*item));
        }
        port.systemDescription = Text(sp_get_port_description(*item));
        ports.push_back(port);
    }
    sp_free_port_list(list);
    return OrderDetectedPorts(std::move(ports));
}

}  // namespace vxl
