#pragma once

#include <string>

#include "ui/FormStreamError.h"
#include "ui/FormValue.h"

namespace dbinst {

// Writes "TPF0" and the object as the class library does: filer flags only when set, the child
// position in the smallest integer type. Throws EFormStreamError for a value the format cannot
// hold (a short string over 255 bytes, an integer outside its type, an empty name).
std::string WriteFormStream(const TFormObject& object);

}  // namespace dbinst
