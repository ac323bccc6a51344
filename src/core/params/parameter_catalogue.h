// The constant facts of every parameter of the catalogue: key, availability, editability,
// definition and built-in default.
#pragma once

#include "params/modem_parameter.h"

namespace vxl {

// The row of a parameter id (channel frequencies included); nullptr for ids without a
// parameter and ids outside 0..87.
const ParameterInfo* CatalogueInfo(int id);
// The row of an id that has a parameter (the parameter classes ask only for their own).
const ParameterInfo& CatalogueRow(int id);

}  // namespace vxl
