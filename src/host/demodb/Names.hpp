#pragma once

#include <string>

namespace skorvin::demodb {

class Random;

// A plausible Chinese personal name in UTF-8: a common surname (now and then a
// two-character one) and a one- or two-character given name.
std::string personName(Random& random);

} // namespace skorvin::demodb
