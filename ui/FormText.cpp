#include "ui/FormText.h"

#include <charconv>
#include <optional>

#include "platform/Text.h"
#include "ui/FormStreamReader.h"
#include "ui/FormStreamWriter.h"

namespace dbinst {
namespace {

enum class ETokenKind { Symbol, Integer, Float, String, Binary, Char, End };

struct TToken {
  ETokenKind kind = ETokenKind::End;
  std::string text;        // symbol name, the character, or a string's bytes
  std::u16string wide;     // a string token as UTF-16
  bool needsWide = false;  // a character code above 127 appeared
  int64_t integer = 0;
  long double real = 0;
  int line = 1;
  int column = 1;
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

class TFormTextLexer {
 public:
  explicit TFormTextLexer(std::string_view text) : text_(text) {}

  TToken Next() {
    SkipBlanks();
    TToken token;
    token.line = line_;
    token.column = static_cast<int>(pos_ - lineStart_) + 1;
    if (pos_ >= text_.size()) return token;
    const char c = text_[pos_];
    if (IsLetter(c)) {
      ReadSymbol(token);
    } else if (IsDigit(c) || c == '$' || (c == '-' && IsDigit(PeekAt(1)))) {
      ReadNumber(token);
    } else if (c == '\'' || c == '#') {
      ReadString(token);
    } else if (c == '{') {
      ReadBinary(token);
    } else {
      token.kind = ETokenKind::Char;
      token.text = std::string(1, c);
      ++pos_;
    }
    return token;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw EFormTextError(what, line_, static_cast<int>(pos_ - lineStart_) + 1);
  }

 private:
  [[noreturn]] static void FailAt(const TToken& token, const std::string& what) {
    throw EFormTextError(what, token.line, token.column);
  }

  char PeekAt(size_t ahead) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') {
      if (text_[pos_] == '\n') {
        ++line_;
        lineStart_ = pos_ + 1;
      }
      ++pos_;
    }
  }

  void ReadSymbol(TToken& token) {
    const size_t start = pos_;
    while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
    token.kind = ETokenKind::Symbol;
    token.text = std::string(text_.substr(start, pos_ - start));
  }

  void ReadNumber(TToken& token) {
    if (text_[pos_] == '$') return ReadHexNumber(token);
    const size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    SkipDigits();
    bool isFloat = false;
    if (PeekAt(0) == '.' && PeekAt(1) != '.') {
      isFloat = true;
      ++pos_;
      SkipDigits();
    }
    if (PeekAt(0) == 'e' || PeekAt(0) == 'E') {
      isFloat = true;
      ++pos_;
      if (PeekAt(0) == '+' || PeekAt(0) == '-') ++pos_;
      if (!IsDigit(PeekAt(0))) Fail("exponent without digits");
      SkipDigits();
    }
    const std::string_view number = text_.substr(start, pos_ - start);
    if (isFloat) return Float(token, number);
    const std::optional<int64_t> value = ParseInteger(number);
    if (!value) FailAt(token, "integer out of range: " + std::string(number));
    token.kind = ETokenKind::Integer;
    token.integer = *value;
  }

  void Float(TToken& token, std::string_view number) {
    // Free Pascal takes a type suffix after a float and still stores it as extended.
    const char suffix = static_cast<char>(PeekAt(0) | 0x20);
    if (suffix == 's' || suffix == 'c' || suffix == 'd') ++pos_;
    long double value = 0;
    const char* first = number.data();
    const char* last = first + number.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) {
      FailAt(token, "float out of range: " + std::string(number));
    }
    token.kind = ETokenKind::Float;
    token.real = value;
  }

  void ReadHexNumber(TToken& token) {
    ++pos_;
    const size_t start = pos_;
    uint64_t value = 0;
    while (IsHexDigit(PeekAt(0))) {
      if (pos_ - start >= 16) FailAt(token, "hexadecimal integer longer than 64 bits");
      value = (value << 4) | HexValue(text_[pos_++]);
    }
    if (pos_ == start) Fail("'$' without hexadecimal digits");
    token.kind = ETokenKind::Integer;
    token.integer = static_cast<int64_t>(value);
  }

  void SkipDigits() {
    while (IsDigit(PeekAt(0))) ++pos_;
  }

  void ReadString(TToken& token) {
    token.kind = ETokenKind::String;
    for (;;) {
      if (PeekAt(0) == '\'') {
        ReadQuoted(token);
      } else if (PeekAt(0) == '#') {
        ReadCharCode(token);
      } else {
        return;
      }
    }
  }

  void ReadQuoted(TToken& token) {
    ++pos_;
    std::string chunk;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r') {
        Fail("string not closed on its line");
      }
      if (text_[pos_] == '\'') {
        if (PeekAt(1) != '\'') break;
        ++pos_;
      }
      chunk.push_back(text_[pos_++]);
    }
    ++pos_;
    token.text += chunk;
    token.wide += Utf8ToUtf16(chunk);
  }

  void ReadCharCode(TToken& token) {
    ++pos_;
    if (!IsDigit(PeekAt(0))) Fail("'#' without a decimal character code");
    uint32_t code = 0;
    while (IsDigit(PeekAt(0))) {
      code = code * 10 + static_cast<uint32_t>(text_[pos_++] - '0');
      if (code > 0x10FFFF) Fail("character code above U+10FFFF");
    }
    if (code > 127) token.needsWide = true;
    if (code <= 0xFFFF) {
      token.wide.push_back(static_cast<char16_t>(code));
    } else {
      code -= 0x10000;
      token.wide.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      token.wide.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
    if (code <= 127) token.text.push_back(static_cast<char>(code));
  }

  void ReadBinary(TToken& token) {
    ++pos_;
    token.kind = ETokenKind::Binary;
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size()) Fail("binary block not closed");
      if (text_[pos_] == '}') break;
      if (!IsHexDigit(text_[pos_])) Fail("binary block holds a character that is not hexadecimal");
      const char second = PeekAt(1);
      if (!IsHexDigit(second)) {
        const bool ended = second == '}' || static_cast<unsigned char>(second) <= ' ';
        if (!ended) ++pos_;
        Fail(ended ? "binary block has an odd number of hexadecimal digits"
                   : "binary block holds a character that is not hexadecimal");
      }
      token.text.push_back(
          static_cast<char>(HexValue(text_[pos_]) * 16 + HexValue(text_[pos_ + 1])));
      pos_ += 2;
    }
    ++pos_;
  }

  std::string_view text_;
  size_t pos_ = 0;
  size_t lineStart_ = 0;
  int line_ = 1;
};

class TFormTextParser {
 public:
  explicit TFormTextParser(std::string_view text) : lexer_(text) { Advance(); }

  TFormObject ParseRoot() {
    TFormObject root = ParseObject(0);
    if (token_.kind != ETokenKind::End) Fail("text after the final 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EFormTextError(what, token_.line, token_.column);
  }

  void Advance() { token_ = lexer_.Next(); }

  bool IsSymbol(std::string_view name) const {
    return token_.kind == ETokenKind::Symbol && EqualsNoCase(token_.text, name);
  }

  bool IsChar(char c) const { return token_.kind == ETokenKind::Char && token_.text[0] == c; }

  void ExpectChar(char c) {
    if (!IsChar(c)) Fail(std::string("'") + c + "' expected");
    Advance();
  }

  std::string ExpectSymbol(const char* what) {
    if (token_.kind != ETokenKind::Symbol) Fail(std::string(what) + " expected");
    if (token_.text.size() > 255) Fail(std::string(what) + " longer than 255 bytes");
    std::string name = token_.text;
    Advance();
    return name;
  }

  void CheckDepth(int depth) const {
    if (depth > kFormStreamMaxDepth) {
      Fail("nesting deeper than " + std::to_string(kFormStreamMaxDepth) + " levels");
    }
  }

  bool AtObjectStart() const {
    return IsSymbol("object") || IsSymbol("inherited") || IsSymbol("inline");
  }

  TFormObject ParseObject(int depth) {
    CheckDepth(depth);
    if (!AtObjectStart()) Fail("'object', 'inherited' or 'inline' expected");
    TFormObject object;
    object.filerFlags = IsSymbol("inherited") ? kFilerInherited
                        : IsSymbol("inline")  ? kFilerInline
                                              : 0;
    Advance();
    ParseObjectHeader(object);
    while (!IsSymbol("end") && !AtObjectStart()) object.properties.push_back(ParseProperty(depth));
    while (!IsSymbol("end")) object.children.push_back(ParseObject(depth + 1));
    Advance();
    return object;
  }

  void ParseObjectHeader(TFormObject& object) {
    TToken classToken = token_;
    object.className = ExpectSymbol("class name");
    if (IsChar(':')) {
      Advance();
      object.objectName = object.className;
      classToken = token_;
      object.className = ExpectSymbol("class name");
    }
    if (object.className.size() > kFormMaxClassName) {
      throw EFormTextError("class name longer than " + std::to_string(kFormMaxClassName) + " bytes",
                           classToken.line, classToken.column);
    }
    if (object.objectName.empty() || !IsChar('[')) return;
    Advance();
    object.childPosition = ExpectInteger();
    object.filerFlags |= kFilerChildPos;
    ExpectChar(']');
  }

  int64_t ExpectInteger() {
    if (token_.kind != ETokenKind::Integer) Fail("integer expected");
    const int64_t value = token_.integer;
    Advance();
    return value;
  }

  std::string DottedName(const char* what) {
    std::string name = ExpectSymbol(what);
    while (IsChar('.')) {
      Advance();
      name += "." + ExpectSymbol(what);
    }
    if (name.size() > 255) Fail(std::string(what) + " longer than 255 bytes");
    return name;
  }

  TFormProperty ParseProperty(int depth) {
    if (token_.kind == ETokenKind::End) Fail("'end' expected");
    TFormProperty property;
    property.name = DottedName("property name");
    ExpectChar('=');
    property.value = ParseValue(depth + 1);
    return property;
  }

  TFormValue ParseValue(int depth) {
    CheckDepth(depth);
    switch (token_.kind) {
      case ETokenKind::Integer:
        return TFormValue::Integer(ExpectInteger());
      case ETokenKind::Float: {
        TFormValue value = TFormValue::OfType(EFormValueType::vaExtended);
        value.extended = TFormExtended::FromLongDouble(token_.real);
        Advance();
        return value;
      }
      case ETokenKind::String:
        return ParseStrings();
      case ETokenKind::Symbol:
        return ParseIdentifier();
      case ETokenKind::Binary: {
        TFormValue value = TFormValue::Bytes(EFormValueType::vaBinary, token_.text);
        Advance();
        return value;
      }
      default:
        return ParseBracketed(depth);
    }
  }

  TFormValue ParseStrings() {
    std::string narrow;
    std::u16string wide;
    bool needsWide = false;
    for (;;) {
      if (token_.kind != ETokenKind::String) Fail("string expected after '+'");
      narrow += token_.text;
      wide += token_.wide;
      needsWide = needsWide || token_.needsWide;
      Advance();
      if (!IsChar('+')) break;
      Advance();
    }
    if (needsWide) {
      TFormValue value = TFormValue::OfType(EFormValueType::vaWString);
      value.wide = std::move(wide);
      return value;
    }
    const auto type = narrow.size() > 255 ? EFormValueType::vaLString : EFormValueType::vaString;
    return TFormValue::Bytes(type, std::move(narrow));
  }

  TFormValue ParseIdentifier() {
    for (auto [name, type] :
         {std::pair{"true", EFormValueType::vaTrue}, std::pair{"false", EFormValueType::vaFalse},
          std::pair{"nil", EFormValueType::vaNil}}) {
      if (IsSymbol(name)) {
        Advance();
        return TFormValue::OfType(type);
      }
    }
    std::string name = DottedName("identifier");
    return TFormValue::Bytes(EFormValueType::vaIdent, std::move(name));
  }

  TFormValue ParseBracketed(int depth) {
    if (IsChar('[')) return ParseSet();
    if (IsChar('(')) return ParseList(depth);
    if (IsChar('<')) return ParseCollection(depth);
    Fail("property value expected");
  }

  TFormValue ParseSet() {
    Advance();
    TFormValue value = TFormValue::OfType(EFormValueType::vaSet);
    if (IsChar(']')) {
      Advance();
      return value;
    }
    for (;;) {
      value.elements.push_back(ExpectSymbol("set element"));
      if (IsChar(']')) break;
      ExpectChar(',');
    }
    Advance();
    return value;
  }

  TFormValue ParseList(int depth) {
    Advance();
    TFormValue value = TFormValue::OfType(EFormValueType::vaList);
    while (!IsChar(')')) {
      if (token_.kind == ETokenKind::End) Fail("')' expected");
      value.list.push_back(ParseValue(depth + 1));
    }
    Advance();
    return value;
  }

  TFormValue ParseCollection(int depth) {
    Advance();
    TFormValue value = TFormValue::OfType(EFormValueType::vaCollection);
    while (!IsChar('>')) value.items.push_back(ParseItem(depth + 1));
    Advance();
    return value;
  }

  TFormCollectionItem ParseItem(int depth) {
    CheckDepth(depth);
    if (!IsSymbol("item")) Fail("'item' or '>' expected");
    Advance();
    TFormCollectionItem item;
    if (IsChar('[')) {
      Advance();
      item.order = TFormValue::Integer(ExpectInteger());
      ExpectChar(']');
    }
    while (!IsSymbol("end")) item.properties.push_back(ParseProperty(depth));
    Advance();
    return item;
  }

  TFormTextLexer lexer_;
  TToken token_;
};

}  // namespace

TFormObject ParseFormText(std::string_view text) { return TFormTextParser(text).ParseRoot(); }

std::string CompileFormText(std::string_view text) { return WriteFormStream(ParseFormText(text)); }

}  // namespace dbinst
