#include "app/InstallerList.h"

#include <optional>

#include "app/UnattendedTarget.h"
#include "engine/DoDbInstallThings.h"
#include "env/GeneralMod.h"
#include "payload/CatalogueJson.h"
#include "platform/JsonWriter.h"
#include "platform/Machine.h"

namespace dbinst {
namespace {

void WriteProgram(JsonWriter& json, const TCadAppInstalled& program, const TGeneralMod& module,
                  const TDoDbInstallThings& engine) {
  std::string version;
  if (!engine.ProgramVersionText(program.Folder, program.ProductLine, version)) version.clear();
  json.Key("line").Integer(static_cast<long long>(program.ProductLine));
  json.Key("product").String(program.ProductLine == EProductLine::None
                                 ? std::string()
                                 : module.ProductName(program.ProductLine));
  json.Key("version").String(version);
  json.Key("folder").String(program.Folder);
}

void WriteTarget(JsonWriter& json, const TCadAppInstalled& target, const TGeneralMod& module,
                 const TDoDbInstallThings& engine) {
  json.BeginObject();
  WriteProgram(json, target, module, engine);
  const TDatabaseAndTargetDatePairVec existing = engine.ExistingDatabases(target.Folder);
  json.Key("databases").BeginArray();
  for (const auto& [kind, databases] : engine.CatalogueCopy()) {
    for (const TDatabaseEmbedded& database : databases) {
      bool replaces = false;
      for (const auto& [present, date] : existing) {
        replaces = replaces || present.IniResource == database.IniResource;
      }
      json.BeginObject();
      json.Key("name").String(engine.DisplayName(database));
      json.Key("folder").String(engine.InstallFolder(target.Folder, database));
      json.Key("replaces").Bool(replaces);
      json.EndObject();
    }
  }
  json.EndArray();
  json.EndObject();
}

}  // namespace

std::string InstallerListJson(Machine& machine, TGeneralMod& module) {
  const TDoDbInstallThings engine(machine, module, EEngineStart::ToLookOnly);
  JsonWriter json;
  json.BeginObject();
  json.Key("databases");
  WriteCatalogueJson(json, engine.CatalogueCopy(), machine.resources());
  json.Key("programs").BeginArray();
  for (const TCadAppInstalled& program : engine.TargetPrograms()) {
    json.BeginObject();
    WriteProgram(json, program, module, engine);
    json.EndObject();
  }
  json.EndArray();
  std::string problem;
  const std::optional<TCadAppInstalled> target =
      UnattendedTarget(module.UpdatePath(), engine, FixedDrivesOf(machine.files()), problem);
  json.Key("target");
  if (target) {
    WriteTarget(json, *target, module, engine);
  } else {
    json.Null();
  }
  json.Key("problem").String(problem);
  json.EndObject();
  return json.Text();
}

}  // namespace dbinst
