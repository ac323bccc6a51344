// The choices a page's list offers for a parameter, in the order the list shows them.
#pragma once

#include <string>
#include <vector>

class ModemParameterSet;

namespace vxl {

// The parameter's choices in its own order (empty texts included: the list skips them), except
// the Baud Rate list, which goes from the slowest rate up, as many entries as the modem has
// rates, and lists a rate that several codes stand for once, by the code the modem holds when it
// is one of them.
void ShownChoices(ModemParameterSet& set, int id, std::vector<std::string>& texts,
                  std::vector<int>& values);

}  // namespace vxl
