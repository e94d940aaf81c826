#include "ui/FormStreamWriter.h"

#include <cstdint>
#include <cstring>

namespace dbinst {
namespace {

class TFormStreamEmitter {
 public:
  std::string Finish(const TFormObject& root) {
    out_ = "TPF0";
    WriteObject(root);
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EFormStreamError(what, out_.size());
  }

  void Byte(uint8_t value) { out_.push_back(static_cast<char>(value)); }

  void Unsigned(uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) Byte(static_cast<uint8_t>(value >> (8 * i)));
  }

  void Type(EFormValueType type) { Byte(static_cast<uint8_t>(type)); }

  void ShortString(const std::string& text, const char* what) {
    if (text.size() > 255) Fail(std::string(what) + " longer than 255 bytes");
    Byte(static_cast<uint8_t>(text.size()));
    out_ += text;
  }

  void LongString(const std::string& bytes) {
    if (bytes.size() > UINT32_MAX) Fail("block larger than 4 GiB");
    Unsigned(bytes.size(), 4);
    out_ += bytes;
  }

  void Name(const std::string& name, const char* what) {
    if (name.empty()) Fail(std::string("empty ") + what);
    ShortString(name, what);
  }

  void WriteObject(const TFormObject& object) {
    if (object.filerFlags & ~(kFilerInherited | kFilerChildPos | kFilerInline)) {
      Fail("unknown filer flags");
    }
    if (object.filerFlags != 0) {
      Byte(0xF0 | object.filerFlags);
      if (object.filerFlags & kFilerChildPos) WriteValue(TFormValue::Integer(object.childPosition));
    }
    // Without flags a class name's length byte of 0xF0 or more would read back as filer flags.
    if (object.className.size() > kFormMaxClassName) Fail("class name longer than 239 bytes");
    Name(object.className, "class name");
    ShortString(object.objectName, "object name");
    WriteProperties(object.properties);
    for (const TFormObject& child : object.children) WriteObject(child);
    Byte(0);
  }

  void WriteProperties(const std::vector<TFormProperty>& properties) {
    for (const TFormProperty& property : properties) {
      Name(property.name, "property name");
      WriteValue(property.value);
    }
    Byte(0);
  }

  void WriteInteger(const TFormValue& value) {
    const int64_t v = value.integer;
    const size_t size = value.type == EFormValueType::vaInt8    ? 1
                        : value.type == EFormValueType::vaInt16 ? 2
                        : value.type == EFormValueType::vaInt32 ? 4
                                                                : 8;
    if (size < 8) {
      const int64_t limit = int64_t{1} << (8 * size - 1);
      if (v < -limit || v >= limit) Fail("integer " + std::to_string(v) + " does not fit its type");
    }
    Type(value.type);
    Unsigned(static_cast<uint64_t>(v), size);
  }

  template <typename Float>
  void WriteFloat(Float value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    Unsigned(bits, sizeof value);
  }

  void WriteValue(const TFormValue& value) {
    if (value.IsInteger()) return WriteInteger(value);
    switch (value.type) {
      case EFormValueType::vaString:
        Type(value.type);
        return ShortString(value.bytes, "string");
      case EFormValueType::vaIdent:
        Type(value.type);
        return ShortString(value.bytes, "identifier");
      case EFormValueType::vaLString:
      case EFormValueType::vaUTF8String:
      case EFormValueType::vaBinary:
        Type(value.type);
        return LongString(value.bytes);
      case EFormValueType::vaWString:
        return WriteWide(value.wide);
      case EFormValueType::vaExtended:
        Type(value.type);
        out_.append(reinterpret_cast<const char*>(value.extended.bytes.data()), 10);
        return;
      case EFormValueType::vaSingle:
        Type(value.type);
        return WriteFloat(value.single);
      case EFormValueType::vaDouble:
      case EFormValueType::vaDate:
        Type(value.type);
        return WriteFloat(value.real);
      case EFormValueType::vaCurrency:
        Type(value.type);
        return Unsigned(static_cast<uint64_t>(value.integer), 8);
      case EFormValueType::vaFalse:
      case EFormValueType::vaTrue:
      case EFormValueType::vaNil:
        return Type(value.type);
      case EFormValueType::vaSet:
        return WriteSet(value.elements);
      case EFormValueType::vaList:
        Type(value.type);
        for (const TFormValue& element : value.list) WriteValue(element);
        return Byte(0);
      case EFormValueType::vaCollection:
        Type(value.type);
        for (const TFormCollectionItem& item : value.items) WriteItem(item);
        return Byte(0);
      default:
        Fail("value of type " + std::to_string(static_cast<int>(value.type)) +
             " cannot be written");
    }
  }

  void WriteWide(const std::u16string& text) {
    if (text.size() > UINT32_MAX) Fail("wide string longer than 4 Gi characters");
    Type(EFormValueType::vaWString);
    Unsigned(text.size(), 4);
    for (char16_t unit : text) Unsigned(unit, 2);
  }

  void WriteSet(const std::vector<std::string>& elements) {
    Type(EFormValueType::vaSet);
    for (const std::string& element : elements) Name(element, "set element");
    Byte(0);
  }

  void WriteItem(const TFormCollectionItem& item) {
    if (item.order) {
      if (!item.order->IsInteger()) Fail("collection item order is not an integer");
      WriteInteger(*item.order);
    }
    Type(EFormValueType::vaList);
    WriteProperties(item.properties);
  }

  std::string out_;
};

}  // namespace

std::string WriteFormStream(const TFormObject& object) {
  return TFormStreamEmitter().Finish(object);
}

}  // namespace dbinst
