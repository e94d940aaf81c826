#include "ui/PropertyTable.h"

#include <gtest/gtest.h>

#include <map>

#include "ui/FormLoader.h"

namespace dbinst {
namespace {

// Two small classes of our own, the second derived from the first, as the scene kinds are.
struct TBase {
  virtual ~TBase() = default;
  float width = 0;
  bool visible = true;
};

struct TDerived : TBase {
  enum class ESide { Left, Right } side = ESide::Left;
  float width2 = 0;
};

using P = const TStoredProperty&;

const TPropertyTable<TBase>& BaseTable() {
  static const TPropertyTable<TBase> table =
      TPropertiesOf<TBase>("TBase", nullptr)
          .Shown("kind", [](const TBase&, JsonWriter& json) { json.String("base"); })
          .Stored("Width", "a number", [](TBase& b, P p) { b.width = p.Number(); })
          .Dumped("width", [](const TBase& b, JsonWriter& json) { json.Number(b.width); })
          .Stored("Visible", kTrueOrFalse, [](TBase& b, P p) { b.visible = p.Bool(); })
          .Table();
  return table;
}

const TPropertyTable<TBase>& DerivedTable() {
  static const TPropertyTable<TBase> table =
      TPropertiesOf<TBase, TDerived>("TDerived", &BaseTable())
          .Stored("Width", "a number, kept apart", [](TDerived& d, P p) { d.width2 = p.Number(); })
          .Enum<TDerived::ESide>(
              "Side", {{"sdLeft", TDerived::ESide::Left}, {"sdRight", TDerived::ESide::Right}},
              [](TDerived& d, TDerived::ESide side) { d.side = side; })
          .Dumped("side",
                  [](const TDerived& d, JsonWriter& json) {
                    json.String(d.side == TDerived::ESide::Left ? "left" : "right");
                  })
          .Table();
  return table;
}

class PropertyTableTest : public ::testing::Test {
 protected:
  // Loads one property, as stored under the name with the value, into the object.
  bool Load(const TPropertyTable<TBase>& table, TBase& object, const std::string& name,
            TFormValue value) {
    const TFormProperty property{name, std::move(value)};
    return table.Load(object, TStoredProperty("Thing (TDerived)", property, context_));
  }

  std::map<std::string, TNotifyEvent> handlers_;
  TFormLoadContext context_{handlers_};
};

TEST_F(PropertyTableTest, AClassReadsItsOwnEntryBeforeItsBasesAndNamesCompareWithoutCase) {
  TDerived derived;
  EXPECT_TRUE(Load(DerivedTable(), derived, "WIDTH", TFormValue::Integer(7)));
  EXPECT_EQ(derived.width2, 7);
  EXPECT_EQ(derived.width, 0);
  EXPECT_TRUE(
      Load(DerivedTable(), derived, "visible", TFormValue::OfType(EFormValueType::vaFalse)));
  EXPECT_FALSE(derived.visible);
  EXPECT_FALSE(Load(DerivedTable(), derived, "Height", TFormValue::Integer(1)));
  EXPECT_EQ(DerivedTable().Find("Visible"), BaseTable().Find("visible"));
  EXPECT_EQ(DerivedTable().Find("kind"), nullptr);  // dump-only state is no stored name
}

TEST_F(PropertyTableTest, AnIdentifierOutsideTheDeclaredNamesFailsNamingIt) {
  TDerived derived;
  EXPECT_TRUE(
      Load(DerivedTable(), derived, "Side", TFormValue::Bytes(EFormValueType::vaIdent, "SDRIGHT")));
  EXPECT_EQ(derived.side, TDerived::ESide::Right);
  try {
    Load(DerivedTable(), derived, "Side", TFormValue::Bytes(EFormValueType::vaIdent, "sdUp"));
    FAIL() << "an unknown side loaded";
  } catch (const EFormLoadError& error) {
    EXPECT_STREQ(error.what(), "Thing (TDerived), property Side: unknown value 'sdUp'");
  }
  EXPECT_EQ(DerivedTable().Entries()[1].values, "`sdLeft`, `sdRight`");
}

TEST_F(PropertyTableTest, TheDumpWritesTheBaseClassesKeysFirstAndOnlyDumpedOnes) {
  TDerived derived;
  derived.width = 2.5f;
  derived.side = TDerived::ESide::Right;
  JsonWriter json;
  json.BeginObject();
  DerivedTable().Dump(derived, json);
  json.EndObject();
  EXPECT_EQ(json.Text(), "{\"kind\": \"base\", \"width\": 2.5, \"side\": \"right\"}");
}

}  // namespace
}  // namespace dbinst
