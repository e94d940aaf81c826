#pragma once

#include <cstdint>

namespace dbinst {

// Values outside the named ones are legal and mean "none" to every lookup.
enum class EProductLine : int32_t {
  None = 0,
  Orvane = 1,
  OrvaneSelka = 2,
  OrvaneDemo = 3,
  Kestrio = 4,
  OrvanePro = 5,
  OrvaneProDemo = 6,
};

enum class EProductGroup : int32_t {
  Orvane = 1,     // lines 1 to 3
  Kestrio = 2,    // line 4
  OrvanePro = 3,  // lines 5 and 6
};

enum class EDatabaseType : int32_t {
  None = -1,
  Tiles = 0,
  Interiors = 1,
  Cabinets = 2,
  HouseholdAppliances = 3,
  Walls = 4,
  Materials = 5,
};

}  // namespace dbinst
