// Creates the parameter of an id over a parameter set.
#pragma once

#include <memory>

class ModemParameter;
class ModemParameterSet;

namespace vxl {

// nullptr for the ids without a parameter (0, 1, 3, 39, 69, 81, 87) and ids outside 0..87.
std::unique_ptr<ModemParameter> CreateParameter(ModemParameterSet* set, int id);

}  // namespace vxl
