// registry.txt: one value a line, "root TAB key TAB name TAB type TAB data", UTF-8.
//
// Key, name and string data are escaped so that any UTF-16 text survives the trip: "%",
// control characters (TAB, CR, LF and NUL among them) and every surrogate become "%" and four
// hex digits of the code unit. A REG_DWORD's data is its unsigned decimal value. Lines that
// do not parse are never read as values but are kept as they are when the file is rewritten,
// as are lines starting with "#".
#include "settings/registry_file_store.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"

namespace quorvex {

namespace {

// Four values are all the program keeps; a file this large is not ours.
constexpr int64_t kMaxStoreBytes = 1024 * 1024;
constexpr std::string_view kHeaderLine = "# Quorvex registry store: root, key, name, type, data; TAB separated, % escapes";

struct Entry {
  uint32_t root = 0;
  Text key;
  Text name;
  uint32_t type = 0;
  Text text;       // the data of every type but REG_DWORD
  uint32_t dword = 0;
};

struct StoreFile {
  bool readable = true;  // false: it is there but could not be read, so it must not be replaced
  std::vector<std::string> lines;
};

// --- escaping ---

bool NeedsEscape(char16_t unit) {
  return unit == u'%' || unit < 0x20 || unit == 0x7F || (unit >= 0xD800 && unit <= 0xDFFF);
}

std::string Escape(const Text& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text escaped;
  for (const char16_t unit : text) {
    if (!NeedsEscape(unit)) {
      escaped.push_back(unit);
      continue;
    }
    escaped.push_back(u'%');
    for (int shift = 12; shift >= 0; shift -= 4) escaped.push_back(static_cast<char16_t>(kHex[(unit >> shift) & 0xF]));
  }
  return ToUtf8(escaped);  // no surrogate is left, so nothing is lost
}

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

std::optional<Text> Unescape(std::string_view field) {
  const Text raw = FromUtf8(field);
  Text text;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != u'%') {
      text.push_back(raw[i]);
      continue;
    }
    if (raw.size() - i < 5) return std::nullopt;  // "%" and four digits
    unsigned unit = 0;
    for (size_t k = 1; k <= 4; ++k) {
      const int digit = HexDigitValue(raw[i + k]);
      if (digit < 0) return std::nullopt;
      unit = unit * 16 + static_cast<unsigned>(digit);
    }
    text.push_back(static_cast<char16_t>(unit));
    i += 4;
  }
  return text;
}

// --- numbers ---

std::optional<uint32_t> ParseUnsigned(std::string_view field, int base) {
  if (field.empty() || field.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (const char c : field) {
    const int digit = HexDigitValue(static_cast<char16_t>(static_cast<unsigned char>(c)));
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

std::string RootField(uint32_t root) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string field;
  for (int shift = 28; shift >= 0; shift -= 4) field.push_back(kHex[(root >> shift) & 0xF]);
  return field;
}

// --- lines ---

std::vector<std::string_view> SplitAtTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

std::optional<Entry> ParseLine(std::string_view line) {
  if (line.empty() || line.front() == '#') return std::nullopt;
  const std::vector<std::string_view> fields = SplitAtTabs(line);
  if (fields.size() != 5) return std::nullopt;
  const auto root = ParseUnsigned(fields[0], 16);
  auto key = Unescape(fields[1]);
  auto name = Unescape(fields[2]);
  const auto type = ParseUnsigned(fields[3], 10);
  if (!root || !key || !name || !type) return std::nullopt;
  Entry entry{*root, std::move(*key), std::move(*name), *type};
  if (entry.type == kRegDword) {
    const auto dword = ParseUnsigned(fields[4], 10);
    if (!dword) return std::nullopt;
    entry.dword = *dword;
  } else {
    auto text = Unescape(fields[4]);
    if (!text) return std::nullopt;
    entry.text = std::move(*text);
  }
  return entry;
}

std::string FormatLine(const Entry& entry) {
  const std::string data = entry.type == kRegDword ? std::to_string(entry.dword) : Escape(entry.text);
  return RootField(entry.root) + '\t' + Escape(entry.key) + '\t' + Escape(entry.name) + '\t' +
         std::to_string(entry.type) + '\t' + data;
}

// --- names as Windows compares them ---

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);  // Latin-1
  if (c == 0xFF) return 0x178;
  return c;
}

Text Folded(const Text& text) {
  Text folded = text;
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

// The key a path names, in a form that compares equal for equal keys; nullopt for a path
// that names none. The Windows functions stop at a NUL, so a NUL would quietly name another key.
std::optional<Text> CanonicalKey(const Text& path) {
  if (path.find(u'\0') != Text::npos || (!path.empty() && path.front() == u'\\')) return std::nullopt;
  Text canonical;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == Text::npos) end = path.size();
    if (end > start) {
      if (!canonical.empty()) canonical.push_back(u'\\');
      canonical += Folded(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return canonical;
}

std::optional<Text> CanonicalName(const Text& name) {
  if (name.find(u'\0') != Text::npos) return std::nullopt;
  return Folded(name);
}

struct Address {
  uint32_t root;
  Text key;
  Text name;
};

std::optional<Address> MakeAddress(uint32_t root, const Text& subkey, const Text& name) {
  auto key = CanonicalKey(subkey);
  auto folded = CanonicalName(name);
  if (!key || !folded) return std::nullopt;
  return Address{root, std::move(*key), std::move(*folded)};
}

bool IsAt(const Entry& entry, const Address& address) {
  return entry.root == address.root && CanonicalKey(entry.key) == address.key &&
         CanonicalName(entry.name) == address.name;
}

// --- the file ---

StoreFile LoadStore(const Text& path) {
  StoreFile store;
  if (CountsAsMissing(path)) return store;  // a FIFO or a dangling link is there, unreadable
  try {
    const std::string bytes = ReadFileBytes(path, kMaxStoreBytes);
    size_t start = 0;
    for (size_t newline; (newline = bytes.find('\n', start)) != std::string::npos; start = newline + 1)
      store.lines.push_back(bytes.substr(start, newline - start));
    if (start < bytes.size()) store.lines.push_back(bytes.substr(start));
    for (std::string& line : store.lines)
      if (!line.empty() && line.back() == '\r') line.pop_back();  // edited on Windows
  } catch (const FileError&) {
    store.readable = false;
  }
  return store;
}

void SaveStoreQuietly(const Text& path, const StoreFile& store) {
  std::string bytes;
  if (store.lines.empty() || store.lines.front() != kHeaderLine) bytes = std::string(kHeaderLine) + '\n';
  for (const std::string& line : store.lines) bytes += line + '\n';
  try {
    ReplaceFileBytes(path, bytes);
  } catch (const FileError&) {
    // Registry writes fail silently; the old file is still whole.
  }
}

std::optional<Entry> FindEntry(const Text& path, const Address& address) {
  const StoreFile store = LoadStore(path);
  if (!store.readable) return std::nullopt;
  for (const std::string& line : store.lines) {
    auto entry = ParseLine(line);
    if (entry && IsAt(*entry, address)) return entry;
  }
  return std::nullopt;
}

// Removes every line holding the value at `address`; true when there was one.
bool EraseEntries(StoreFile& store, const Address& address, size_t* firstErased) {
  bool erased = false;
  for (size_t i = store.lines.size(); i-- > 0;) {
    const auto entry = ParseLine(store.lines[i]);
    if (entry && IsAt(*entry, address)) {
      store.lines.erase(store.lines.begin() + static_cast<std::ptrdiff_t>(i));
      if (firstErased) *firstErased = i;
      erased = true;
    }
  }
  return erased;
}

// Puts `entry` where the value was (or at the end) and drops any duplicates of it.
void StoreEntry(const Text& path, const Entry& entry) {
  const auto address = MakeAddress(entry.root, entry.key, entry.name);
  if (!address) return;
  StoreFile store = LoadStore(path);
  if (!store.readable) return;  // never replace a file whose other values could not be read
  size_t position = store.lines.size();  // moved to the first erased line, if any
  EraseEntries(store, *address, &position);
  store.lines.insert(store.lines.begin() + static_cast<std::ptrdiff_t>(position), FormatLine(entry));
  SaveStoreQuietly(path, store);
}

}  // namespace

FileRegistry::FileRegistry(const Text& storeFolder) : storePath_(JoinPath(storeFolder, u"registry.txt")) {}

Text FileRegistry::GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) {
  const auto address = MakeAddress(root, subkey, name);
  if (!address) return def;
  const auto entry = FindEntry(storePath_, *address);
  if (!entry || entry->type != kRegSz) return def;
  return entry->text.substr(0, entry->text.find(u'\0'));
}

int32_t FileRegistry::GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) {
  const auto address = MakeAddress(root, subkey, name);
  if (!address) return def;
  const auto entry = FindEntry(storePath_, *address);
  if (!entry || entry->type != kRegDword) return def;
  return static_cast<int32_t>(entry->dword);
}

void FileRegistry::SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) {
  Entry entry{root, subkey, name, kRegDword};
  entry.dword = static_cast<uint32_t>(value);
  StoreEntry(storePath_, entry);
}

void FileRegistry::SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) {
  StoreEntry(storePath_, Entry{root, subkey, name, kRegSz, value});
}

void FileRegistry::SetRegText(uint32_t root, const Text& subkey, const Text& name, uint32_t type, const Text& data) {
  if (type == kRegDword) return;  // four bytes of number, not text
  StoreEntry(storePath_, Entry{root, subkey, name, type, data});
}

void FileRegistry::DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) {
  const auto address = MakeAddress(root, subkey, name);
  if (!address) return;
  StoreFile store = LoadStore(storePath_);
  if (!store.readable) return;
  if (EraseEntries(store, *address, nullptr)) SaveStoreQuietly(storePath_, store);
}

}  // namespace quorvex
