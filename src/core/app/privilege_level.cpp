#include "app/privilege_level.h"

namespace vxl {

const char* LevelName(PrivilegeLevel level) {
    switch (level) {
        case PrivilegeLevel::Dealer:
            return "Dealer";
        case PrivilegeLevel::Factory:
            return "Factory";
        case PrivilegeLevel::EndUser:
            break;
    }
    return "End User";
}

bool ShowsFrequenciesPage(PrivilegeLevel level) {
    return level != PrivilegeLevel::EndUser;
}

bool ShowsFactoryPage(PrivilegeLevel level) {
    return level == PrivilegeLevel::Factory;
}

}  // namespace vxl
