#pragma once

#include <string>

namespace dbinst {

class Machine;
class TGeneralMod;

// What the installer would do, as one JSON document: the databases it carries, the programs of
// the family it found and, for the program a run without a person would choose, the folder each
// database goes to and whether it replaces one there. Reads, and writes nothing.
std::string InstallerListJson(Machine& machine, TGeneralMod& module);

}  // namespace dbinst
