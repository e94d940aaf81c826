#include "platform/prefix/RegFile.h"

#include <optional>

#include "platform/Text.h"

namespace dbinst {
namespace {

// Nearly every name in a registry file is ASCII; those skip the general case mapping.
std::string FoldedName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (static_cast<unsigned char>(c) >= 0x80) return ToUpper(name);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return folded;
}

std::string Utf8Of(const std::u16string& units) {
  std::string out;
  out.reserve(units.size());
  for (char16_t unit : units) {
    if (unit >= 0x80) return Utf16ToUtf8(units);
    out += static_cast<char>(unit);
  }
  return out;
}

using NameIndex = std::unordered_map<std::string, size_t>;

// The position of the entry with that name, through the index when there is one.
template <typename Entries, typename NameOf>
std::optional<size_t> FindByName(const Entries& entries, const std::unique_ptr<NameIndex>& index,
                                 std::string_view name, NameOf nameOf) {
  if (index) {
    const auto found = index->find(FoldedName(name));
    if (found == index->end()) return std::nullopt;
    return found->second;
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (EqualsNoCase(nameOf(entries[i]), name)) return i;
  }
  return std::nullopt;
}

template <typename Entries, typename NameOf>
void IndexNewEntry(const Entries& entries, std::unique_ptr<NameIndex>& index, size_t indexFrom,
                   NameOf nameOf) {
  if (index) {
    index->emplace(FoldedName(nameOf(entries.back())), entries.size() - 1);
  } else if (entries.size() >= indexFrom) {
    index = std::make_unique<NameIndex>();
    for (size_t i = 0; i < entries.size(); ++i) index->emplace(FoldedName(nameOf(entries[i])), i);
  }
}

const std::string& NameOfKey(const std::unique_ptr<RegKeyNode>& key) { return key->Name(); }
const std::string& NameOfValue(const RegNamedValue& value) { return value.name; }

}  // namespace

const RegKeyNode* RegKeyNode::FindSubKey(std::string_view name) const {
  const auto at = FindByName(subKeys_, subKeyIndex_, name, NameOfKey);
  return at ? subKeys_[*at].get() : nullptr;
}

RegKeyNode* RegKeyNode::FindSubKey(std::string_view name) {
  const auto at = FindByName(subKeys_, subKeyIndex_, name, NameOfKey);
  return at ? subKeys_[*at].get() : nullptr;
}

RegKeyNode& RegKeyNode::SubKey(std::string_view name) {
  if (RegKeyNode* existing = FindSubKey(name)) return *existing;
  subKeys_.push_back(std::make_unique<RegKeyNode>(std::string(name)));
  IndexNewEntry(subKeys_, subKeyIndex_, kIndexFrom, NameOfKey);
  return *subKeys_.back();
}

const RegNamedValue* RegKeyNode::FindValue(std::string_view name) const {
  const auto at = FindByName(values_, valueIndex_, name, NameOfValue);
  return at ? &values_[*at] : nullptr;
}

RegNamedValue& RegKeyNode::SetValue(std::string_view name, RegValue value) {
  auto at = FindByName(values_, valueIndex_, name, NameOfValue);
  if (!at) {
    values_.push_back(RegNamedValue{std::string(name), {}, {}});
    IndexNewEntry(values_, valueIndex_, kIndexFrom, NameOfValue);
    at = values_.size() - 1;
  }
  values_[*at].value = std::move(value);
  return values_[*at];
}

std::vector<std::string_view> SplitRegPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

namespace {

struct Line {
  std::string_view text;  // without its line end
  size_t begin = 0;
  size_t next = 0;  // where the following line starts
  size_t number = 0;
};

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  std::optional<Line> Peek() const {
    if (pos_ >= text_.size()) return std::nullopt;
    Line line;
    line.begin = pos_;
    line.number = number_ + 1;
    size_t end = text_.find('\n', pos_);
    line.next = end == std::string_view::npos ? text_.size() : end + 1;
    if (end == std::string_view::npos) end = text_.size();
    line.text = text_.substr(pos_, end - pos_);
    if (!line.text.empty() && line.text.back() == '\r') line.text.remove_suffix(1);
    return line;
  }

  std::optional<Line> Next() {
    auto line = Peek();
    if (line) {
      pos_ = line->next;
      number_ = line->number;
    }
    return line;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t number_ = 0;
};

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads escaped text up to an unescaped terminator (or the end when terminator is 0).
class TextUnescaper {
 public:
  // Consumes text through the terminator; false with error set when the text is malformed.
  bool Read(std::string_view& text, char terminator, std::u16string& out, std::string& error) {
    size_t runLength = 0;
    bool runIsAscii = true;
    const auto flush = [&] {
      const std::string_view run = text.substr(0, runLength);
      if (runIsAscii) {
        out.append(run.begin(), run.end());
      } else {
        out += Utf8ToUtf16(run);
      }
      text.remove_prefix(runLength);
      runLength = 0;
      runIsAscii = true;
    };
    while (runLength < text.size()) {
      const char c = text[runLength];
      if (c == terminator) {
        flush();
        text.remove_prefix(1);
        return true;
      }
      if (c != '\\') {
        runIsAscii = runIsAscii && static_cast<unsigned char>(c) < 0x80;
        ++runLength;
        continue;
      }
      flush();
      text.remove_prefix(1);
      if (!ReadEscape(text, out, error)) return false;
    }
    flush();
    if (terminator == 0) return true;
    error = std::string("missing closing '") + terminator + "'";
    return false;
  }

  bool SawUnknownEscape() const { return unknownEscape_; }

 private:
  bool ReadEscape(std::string_view& text, std::u16string& out, std::string& error) {
    if (text.empty()) {
      error = "backslash at the end of the line";
      return false;
    }
    const char c = text.front();
    text.remove_prefix(1);
    switch (c) {
      case 'a':
        out += u'\a';
        return true;
      case 'b':
        out += u'\b';
        return true;
      case 'e':
        out += u'\x1b';
        return true;
      case 'f':
        out += u'\f';
        return true;
      case 'n':
        out += u'\n';
        return true;
      case 'r':
        out += u'\r';
        return true;
      case 't':
        out += u'\t';
        return true;
      case 'v':
        out += u'\v';
        return true;
      case '\\':
      case '"':
      case '[':
      case ']':
        out += static_cast<char16_t>(c);
        return true;
      case 'x':
        return ReadHexEscape(text, out, error);
      default:
        break;
    }
    if (c >= '0' && c <= '7') {
      unsigned number = c - '0';
      for (int i = 0; i < 2 && !text.empty() && text.front() >= '0' && text.front() <= '7'; ++i) {
        number = number * 8 + (text.front() - '0');
        text.remove_prefix(1);
      }
      out += static_cast<char16_t>(number);
      return true;
    }
    // Wine reads an unknown escape as the character itself; so do we, with a remark.
    unknownEscape_ = true;
    out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return true;
  }

  bool ReadHexEscape(std::string_view& text, std::u16string& out, std::string& error) {
    unsigned number = 0;
    int digits = 0;
    while (digits < 4 && !text.empty() && HexDigitValue(text.front()) >= 0) {
      number = number * 16 + HexDigitValue(text.front());
      text.remove_prefix(1);
      ++digits;
    }
    if (digits == 0) {
      error = "\\x without hex digits";
      return false;
    }
    out += static_cast<char16_t>(number);
    return true;
  }

  bool unknownEscape_ = false;
};

RegValue TextValue(uint32_t type, const std::u16string& units) {
  RegValue value;
  value.type = type;
  value.data.reserve(units.size() * 2 + 2);
  for (char16_t unit : units) {
    value.data.push_back(static_cast<uint8_t>(unit & 0xFF));
    value.data.push_back(static_cast<uint8_t>(unit >> 8));
  }
  value.data.push_back(0);
  value.data.push_back(0);
  return value;
}

// "(N):" after "str" or "hex"; the type number is hexadecimal.
std::optional<uint32_t> ReadTypeSuffix(std::string_view& text) {
  if (text.empty() || text.front() != '(') return std::nullopt;
  text.remove_prefix(1);
  uint64_t type = 0;
  int digits = 0;
  while (!text.empty() && HexDigitValue(text.front()) >= 0 && digits < 8) {
    type = type * 16 + HexDigitValue(text.front());
    text.remove_prefix(1);
    ++digits;
  }
  if (digits == 0 || text.substr(0, 2) != "):") return std::nullopt;
  text.remove_prefix(2);
  return static_cast<uint32_t>(type);
}

}  // namespace

class RegFileParser {
 public:
  RegFileParser(std::string_view text, std::string_view fileName)
      : lines_(text), fileName_(fileName) {}

  RegFile Run() {
    if (auto first = lines_.Peek(); !first || first->text != "WINE REGISTRY Version 2") {
      Problem(1, "does not start with \"WINE REGISTRY Version 2\"");
    }
    while (auto line = lines_.Next()) ReadLine(*line);
    if (file_.problemCount_ > RegFile::kMaxProblemNotes) {
      file_.problems_.push_back(fileName_ + ": " +
                                std::to_string(file_.problemCount_ - RegFile::kMaxProblemNotes) +
                                " more problems not listed");
    }
    return std::move(file_);
  }

 private:
  void Problem(size_t lineNumber, std::string_view what) {
    if (++file_.problemCount_ <= RegFile::kMaxProblemNotes) {
      file_.problems_.push_back(fileName_ + ":" + std::to_string(lineNumber) + ": " +
                                std::string(what));
    }
  }

  void ReadLine(const Line& line) {
    const std::string_view text = SkipBlanks(line.text);
    if (text.empty()) return;
    switch (text.front()) {
      case ';':
        return ReadComment(text);
      case '#':
        return ReadOption(line, text);
      case '[':
        return ReadSection(line, text);
      case '@':
      case '"':
        return ReadValue(line, text);
      default:
        if (line.number == 1) return;  // already reported as a bad header
        Problem(line.number, "unrecognised line skipped");
    }
  }

  void ReadComment(std::string_view text) {
    constexpr std::string_view kRelative = ";; All keys relative to ";
    if (text.substr(0, kRelative.size()) != kRelative) return;
    text.remove_prefix(kRelative.size());
    std::u16string path;
    std::string error;
    TextUnescaper unescaper;
    if (unescaper.Read(text, 0, path, error)) file_.relativeTo_ = Utf8Of(path);
  }

  void ReadOption(const Line& line, std::string_view text) {
    if (!current_) {
      if (text.substr(0, 6) == "#arch=") file_.win64_ = SkipBlanks(text.substr(6)) == "win64";
      return;
    }
    if (text.substr(0, 5) == "#link") current_->SetLink(true);
    if (inHead_) current_->SetSectionHead({headBegin_, line.next});
  }

  void ReadSection(const Line& line, std::string_view text) {
    text.remove_prefix(1);
    std::u16string path;
    std::string error;
    TextUnescaper unescaper;
    current_ = nullptr;
    if (!unescaper.Read(text, ']', path, error)) {
      Problem(line.number, "key name: " + error + "; section skipped");
      brokenSection_ = true;
      return;
    }
    if (unescaper.SawUnknownEscape()) Problem(line.number, "unknown escape in key name kept as is");
    RegKeyNode* node = &file_.Root();
    const std::string utf8Path = Utf8Of(path);
    for (std::string_view part : SplitRegPath(utf8Path)) node = &node->SubKey(part);
    current_ = node;
    brokenSection_ = false;
    inHead_ = true;
    headBegin_ = line.begin;
    current_->SetSectionHead({line.begin, line.next});
  }

  void ReadValue(const Line& line, std::string_view text) {
    if (!current_) {
      // A section that could not be read has been reported once; its values go with it.
      if (!brokenSection_) Problem(line.number, "value outside any key skipped");
      return;
    }
    inHead_ = false;
    std::string name;
    std::string error;
    TextUnescaper unescaper;
    if (text.front() == '@') {
      text.remove_prefix(1);
    } else {
      text.remove_prefix(1);
      std::u16string units;
      if (!unescaper.Read(text, '"', units, error)) {
        Problem(line.number, "value name: " + error + "; value skipped");
        return;
      }
      name = Utf8Of(units);
    }
    text = SkipBlanks(text);
    if (text.empty() || text.front() != '=') {
      Problem(line.number, "missing '=' after the value name; value skipped");
      return;
    }
    text = SkipBlanks(text.substr(1));
    size_t end = line.next;
    auto value = ReadData(text, unescaper, end, error);
    if (!value) {
      Problem(line.number, error + "; value skipped");
      return;
    }
    if (unescaper.SawUnknownEscape()) Problem(line.number, "unknown escape kept as is");
    current_->SetValue(name, std::move(*value)).span = {line.begin, end};
  }

  std::optional<RegValue> ReadData(std::string_view text, TextUnescaper& unescaper, size_t& end,
                                   std::string& error) {
    uint32_t type = kRegSz;
    if (text.substr(0, 4) == "str:") {
      text.remove_prefix(4);
    } else if (text.substr(0, 4) == "str(") {
      text.remove_prefix(3);
      auto parsed = ReadTypeSuffix(text);
      if (!parsed) return Fail(error, "bad str(N): type");
      type = *parsed;
    } else if (text.substr(0, 6) == "dword:") {
      return ReadDword(text.substr(6), error);
    } else if (text.substr(0, 4) == "hex:") {
      return ReadHex(kRegBinary, text.substr(4), end, error);
    } else if (text.substr(0, 4) == "hex(") {
      text.remove_prefix(3);
      auto parsed = ReadTypeSuffix(text);
      if (!parsed) return Fail(error, "bad hex(N): type");
      return ReadHex(*parsed, text, end, error);
    }
    if (text.empty() || text.front() != '"') return Fail(error, "unknown value data");
    text.remove_prefix(1);
    std::u16string units;
    if (!unescaper.Read(text, '"', units, error)) return std::nullopt;
    if (!SkipBlanks(text).empty()) return Fail(error, "text after the closing quote");
    return TextValue(type, units);
  }

  static std::optional<RegValue> Fail(std::string& error, std::string_view what) {
    error = what;
    return std::nullopt;
  }

  static std::optional<RegValue> ReadDword(std::string_view text, std::string& error) {
    uint32_t number = 0;
    int digits = 0;
    while (!text.empty() && HexDigitValue(text.front()) >= 0) {
      if (++digits > 8) return Fail(error, "dword longer than 8 hex digits");
      number = number * 16 + HexDigitValue(text.front());
      text.remove_prefix(1);
    }
    if (digits == 0 || !SkipBlanks(text).empty()) return Fail(error, "bad dword");
    RegValue value;
    value.type = kRegDword;
    for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<uint8_t>(number >> (8 * i)));
    return value;
  }

  // Byte pairs separated by commas; ",\" at the end of a line continues on the next one.
  std::optional<RegValue> ReadHex(uint32_t type, std::string_view text, size_t& end,
                                  std::string& error) {
    RegValue value;
    value.type = type;
    for (;;) {
      text = SkipBlanks(text);
      if (text.empty()) {
        if (!value.data.empty()) return Fail(error, "bad hex list: ends with a comma");
        return value;
      }
      bool continues = false;
      while (!text.empty()) {
        if (text.front() == '\\' && SkipBlanks(text.substr(1)).empty()) {
          continues = true;
          break;
        }
        const int high = HexDigitValue(text.front());
        if (high < 0) return Fail(error, "bad hex list");
        text.remove_prefix(1);
        int byte = high;
        if (!text.empty() && HexDigitValue(text.front()) >= 0) {
          byte = byte * 16 + HexDigitValue(text.front());
          text.remove_prefix(1);
        }
        value.data.push_back(static_cast<uint8_t>(byte));
        text = SkipBlanks(text);
        if (text.empty()) return value;
        if (text.front() != ',') return Fail(error, "bad hex list");
        text = SkipBlanks(text.substr(1));
      }
      if (!continues) return Fail(error, "bad hex list: ends with a comma");
      // Only a line that starts like hex bytes continues the list; anything else stays a line.
      auto next = lines_.Peek();
      if (!next) return Fail(error, "hex list cut off at the end of the file");
      text = SkipBlanks(next->text);
      if (text.empty() || HexDigitValue(text.front()) < 0) {
        return Fail(error, "hex list continuation missing");
      }
      lines_.Next();
      end = next->next;
    }
  }

  LineReader lines_;
  std::string fileName_;
  RegFile file_;
  RegKeyNode* current_ = nullptr;
  bool inHead_ = false;
  bool brokenSection_ = false;
  size_t headBegin_ = 0;
};

RegFile RegFile::Parse(std::string_view text, std::string_view fileName) {
  return RegFileParser(text, fileName).Run();
}

}  // namespace dbinst
