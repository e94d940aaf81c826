#include "ui/FormStreamReader.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace dbinst {
namespace {

constexpr std::string_view kSignature = "TPF0";

class TFormStreamParser {
 public:
  explicit TFormStreamParser(std::string_view data) : data_(data) {}

  TFormObject ReadStream() {
    Need(kSignature.size(), "signature");
    if (data_.substr(0, kSignature.size()) != kSignature) Fail("signature is not TPF0", 0);
    pos_ = kSignature.size();
    TFormObject root = ReadObject(0);
    if (pos_ != data_.size()) {
      Fail(std::to_string(data_.size() - pos_) + " bytes after the end of the form", pos_);
    }
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what, size_t offset) const {
    throw EFormStreamError(what, offset);
  }

  void Need(size_t count, const char* what) const {
    const size_t remaining = data_.size() - pos_;
    if (count > remaining) {
      Fail("truncated " + std::string(what) + " (needs " + std::to_string(count) + " bytes, " +
               std::to_string(remaining) + " remain)",
           pos_);
    }
  }

  void Count(size_t offset) {
    if (++nodes_ > kFormStreamMaxNodes) {
      Fail("more than " + std::to_string(kFormStreamMaxNodes) + " values and objects", offset);
    }
  }

  void Enter(int depth, size_t offset) const {
    if (depth > kFormStreamMaxDepth) {
      Fail("nesting deeper than " + std::to_string(kFormStreamMaxDepth) + " levels", offset);
    }
  }

  uint8_t Peek(const char* what) const {
    Need(1, what);
    return static_cast<uint8_t>(data_[pos_]);
  }

  uint64_t Unsigned(size_t size, const char* what) {
    Need(size, what);
    uint64_t value = 0;
    for (size_t i = size; i-- > 0;) value = (value << 8) | static_cast<uint8_t>(data_[pos_ + i]);
    pos_ += size;
    return value;
  }

  std::string Take(size_t count, const char* what) {
    Need(count, what);
    std::string bytes(data_.substr(pos_, count));
    pos_ += count;
    return bytes;
  }

  std::string ShortString(const char* what) {
    const size_t length = Unsigned(1, what);
    return Take(length, what);
  }

  std::string LongString(const char* what) { return Take(Unsigned(4, what), what); }

  std::u16string WideString() {
    const uint64_t units = Unsigned(4, "wide string");
    Need(units * 2, "wide string");
    std::u16string text;
    text.reserve(units);
    for (uint64_t i = 0; i < units; ++i) text.push_back(static_cast<char16_t>(Unsigned(2, "")));
    return text;
  }

  int64_t SignedOf(EFormValueType type) {
    switch (type) {
      case EFormValueType::vaInt8:
        return static_cast<int8_t>(Unsigned(1, "8-bit integer"));
      case EFormValueType::vaInt16:
        return static_cast<int16_t>(Unsigned(2, "16-bit integer"));
      case EFormValueType::vaInt32:
        return static_cast<int32_t>(Unsigned(4, "32-bit integer"));
      default:
        return static_cast<int64_t>(Unsigned(8, "64-bit integer"));
    }
  }

  template <typename Float>
  Float FloatOf(const char* what) {
    static_assert(sizeof(Float) == 4 || sizeof(Float) == 8);
    const uint64_t bits = Unsigned(sizeof(Float), what);
    Float value;
    if constexpr (sizeof(Float) == 4) {
      const uint32_t narrow = static_cast<uint32_t>(bits);
      std::memcpy(&value, &narrow, sizeof value);
    } else {
      std::memcpy(&value, &bits, sizeof value);
    }
    return value;
  }

  TFormObject ReadObject(int depth) {
    const size_t start = pos_;
    Enter(depth, start);
    Count(start);
    TFormObject object;
    ReadFilerFlags(object);
    object.className = ShortString("class name");
    if (object.className.empty()) Fail("empty class name", start);
    // Writable only behind filer flags; refused everywhere so that every form read can be written.
    if (object.className.size() > kFormMaxClassName)
      Fail("class name longer than 239 bytes", start);
    object.objectName = ShortString("object name");
    while (Peek("property list") != 0) object.properties.push_back(ReadProperty(depth));
    ++pos_;
    while (Peek("child list") != 0) object.children.push_back(ReadObject(depth + 1));
    ++pos_;
    return object;
  }

  void ReadFilerFlags(TFormObject& object) {
    const uint8_t first = Peek("object header");
    if ((first & 0xF0) != 0xF0) return;
    const size_t offset = pos_++;
    object.filerFlags = first & 0x0F;
    if (object.filerFlags & ~(kFilerInherited | kFilerChildPos | kFilerInline)) {
      Fail("unknown filer flags " + std::to_string(first), offset);
    }
    if (object.filerFlags & kFilerChildPos) {
      const size_t typeOffset = pos_;
      const auto type = static_cast<EFormValueType>(Unsigned(1, "child position"));
      if (!TFormValue::OfType(type).IsInteger())
        Fail("child position is not an integer", typeOffset);
      object.childPosition = SignedOf(type);
    }
  }

  TFormProperty ReadProperty(int depth) {
    TFormProperty property;
    property.name = ShortString("property name");
    property.value = ReadValue(depth + 1);
    return property;
  }

  TFormValue ReadValue(int depth) {
    const size_t offset = pos_;
    Enter(depth, offset);
    Count(offset);
    const uint8_t code = static_cast<uint8_t>(Unsigned(1, "value type"));
    if (code > kLastFormValueType) Fail("unknown value type " + std::to_string(code), offset);
    TFormValue value = TFormValue::OfType(static_cast<EFormValueType>(code));
    ReadPayload(value, depth, offset);
    return value;
  }

  void ReadPayload(TFormValue& value, int depth, size_t offset) {
    switch (value.type) {
      case EFormValueType::vaNull:
        Fail("end-of-list marker where a value belongs", offset);
      case EFormValueType::vaInt8:
      case EFormValueType::vaInt16:
      case EFormValueType::vaInt32:
      case EFormValueType::vaInt64:
        value.integer = SignedOf(value.type);
        return;
      case EFormValueType::vaCurrency:
        value.integer = static_cast<int64_t>(Unsigned(8, "currency"));
        return;
      case EFormValueType::vaExtended:
        Need(10, "extended float");
        std::memcpy(value.extended.bytes.data(), data_.data() + pos_, 10);
        pos_ += 10;
        return;
      case EFormValueType::vaSingle:
        value.single = FloatOf<float>("single float");
        return;
      case EFormValueType::vaDouble:
      case EFormValueType::vaDate:
        value.real = FloatOf<double>("double float");
        return;
      case EFormValueType::vaString:
      case EFormValueType::vaIdent:
        value.bytes = ShortString("string");
        return;
      case EFormValueType::vaLString:
      case EFormValueType::vaUTF8String:
      case EFormValueType::vaBinary:
        value.bytes = LongString("long string or binary block");
        return;
      case EFormValueType::vaWString:
        value.wide = WideString();
        return;
      case EFormValueType::vaFalse:
      case EFormValueType::vaTrue:
      case EFormValueType::vaNil:
        return;
      case EFormValueType::vaSet:
        ReadSet(value);
        return;
      case EFormValueType::vaList:
        while (Peek("list") != 0) value.list.push_back(ReadValue(depth + 1));
        ++pos_;
        return;
      case EFormValueType::vaCollection:
        while (Peek("collection") != 0) value.items.push_back(ReadItem(depth + 1));
        ++pos_;
        return;
    }
  }

  void ReadSet(TFormValue& value) {
    for (;;) {
      const size_t offset = pos_;
      std::string element = ShortString("set element");
      if (element.empty()) return;
      Count(offset);
      value.elements.push_back(std::move(element));
    }
  }

  TFormCollectionItem ReadItem(int depth) {
    Enter(depth, pos_);
    Count(pos_);
    TFormCollectionItem item;
    if (TFormValue::OfType(static_cast<EFormValueType>(Peek("collection item"))).IsInteger()) {
      item.order = ReadValue(depth);
    }
    const size_t listOffset = pos_;
    if (Unsigned(1, "collection item") != static_cast<uint8_t>(EFormValueType::vaList)) {
      Fail("collection item does not start with a list", listOffset);
    }
    while (Peek("collection item") != 0) item.properties.push_back(ReadProperty(depth));
    ++pos_;
    return item;
  }

  std::string_view data_;
  size_t pos_ = 0;
  size_t nodes_ = 0;
};

}  // namespace

TFormObject ReadFormStream(std::string_view stream) {
  return TFormStreamParser(stream).ReadStream();
}

TFormObject ReadNestedFormStream(const TFormValue& binaryBlock) {
  if (binaryBlock.type != EFormValueType::vaBinary) {
    throw EFormStreamError("nested form is not in a binary block", 0);
  }
  return ReadFormStream(binaryBlock.bytes);
}

}  // namespace dbinst
