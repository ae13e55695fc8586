#include "platform/os/ini_file.h"

#include <QFileInfo>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/text/cp1252.h"
#include "platform/os/errors.h"
#include "platform/os/safe_write.h"
#include "platform/os/text_file.h"

namespace platform {
namespace {

// One physical line of the file: its text and its line end, kept as found.
struct Line {
  std::string_view text;
  std::string_view end;
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t lf = content.find('\n', pos);
    size_t stop = lf == std::string_view::npos ? content.size() : lf;
    size_t textEnd = stop;
    if (textEnd > pos && content[textEnd - 1] == '\r') --textEnd;
    const size_t next = lf == std::string_view::npos ? content.size() : lf + 1;
    lines.push_back({content.substr(pos, textEnd - pos), content.substr(textEnd, next - textEnd)});
    pos = next;
  }
  return lines;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view text) {
  const std::string_view t = Trim(text);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  return Trim(t.substr(1, (close == std::string_view::npos ? t.size() : close) - 1));
}

// The key of a "key=value" line; comments and other lines have none.
std::optional<std::string_view> KeyName(std::string_view text) {
  const std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(0, eq));
}

struct Position {
  bool sectionFound = false;
  size_t lastEntry = 0;     // index of the section header or its last key line
  std::optional<size_t> key;  // index of the first matching key line
};

Position Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Position p;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i].text)) {
      if (inSection) break;  // the first matching section is the one that counts
      inSection = SameName(*name, section);
      if (inSection) {
        p.sectionFound = true;
        p.lastEntry = i;
      }
      continue;
    }
    if (!inSection) continue;
    const auto k = KeyName(lines[i].text);
    if (!k) continue;
    p.lastEntry = i;
    if (!p.key && SameName(*k, key)) p.key = i;
  }
  return p;
}

// The file's own line end; a bare CR (a cut or CR-only file) is none, since
// the reader doesn't end a line there.
std::string_view DominantLineEnd(const std::vector<Line>& lines) {
  for (const Line& l : lines)
    if (!l.end.empty() && l.end.back() == '\n') return l.end;
  return "\r\n";
}

// What ends an unterminated last line before text is added after it.
std::string_view Terminator(std::string_view end, std::string_view eol) {
  if (end.empty()) return eol;
  return end.back() == '\n' ? std::string_view{} : std::string_view("\n");
}

// The text after a UTF-8 byte order mark: the mark is no part of the first
// line, so a first section is found behind it, and a rewrite keeps it.
std::string_view WithoutBom(std::string_view content) {
  return content.starts_with(kUtf8Bom) ? content.substr(kUtf8Bom.size()) : content;
}

std::string OneLine(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  return v;
}

}  // namespace

std::string IniLookup(std::string_view content, std::string_view section, std::string_view key,
                      bool& found) {
  const std::vector<Line> lines = SplitLines(WithoutBom(content));
  const Position p = Locate(lines, section, key);
  found = p.key.has_value();
  if (!found) return {};
  const std::string_view text = lines[*p.key].text;
  std::string_view value = Trim(text.substr(text.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  if (value.size() > size_t(kIniMaxValueLength)) value = value.substr(0, kIniMaxValueLength);
  return std::string(value);
}

std::string IniSetValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::string_view bom = content.substr(0, content.size() - WithoutBom(content).size());
  content.remove_prefix(bom.size());
  const std::vector<Line> lines = SplitLines(content);
  const Position p = Locate(lines, section, key);
  const std::string_view eol = DominantLineEnd(lines);
  std::string out;
  out.reserve(bom.size() + content.size() + key.size() + value.size() + section.size() + 8);
  out.append(bom);
  const auto keyLine = [&](std::string_view spelledKey) {
    return std::string(spelledKey) + "=" + OneLine(value);
  };
  if (!p.sectionFound) {
    out.append(content);
    if (!lines.empty()) out.append(Terminator(lines.back().end, eol));
    out.append("[").append(section).append("]").append(eol);
    out.append(keyLine(key)).append(eol);
    return out;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (p.key && i == *p.key) {
      out.append(keyLine(*KeyName(lines[i].text))).append(lines[i].end);
      continue;
    }
    out.append(lines[i].text).append(lines[i].end);
    if (!p.key && i == p.lastEntry) {
      out.append(Terminator(lines[i].end, eol));
      // A last line without any line end stays without one.
      out.append(keyLine(key)).append(lines[i].end.empty() ? std::string_view{} : eol);
    }
  }
  return out;
}

QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue) {
  const auto content = ReadFileBytes(path);
  if (!content) return defaultValue;
  const TextEncoding encoding = EncodingOf(*content);
  bool found = false;
  const std::string value =
      IniLookup(*content, Encode(section, encoding), Encode(key, encoding), found);
  return found ? Decode(value, encoding) : defaultValue;
}

int IniReadInteger(const QString& path, const QString& section, const QString& key,
                   int defaultValue) {
  const QString text = IniReadString(path, section, key, QString()).trimmed();
  if (text.isEmpty()) return defaultValue;
  bool ok = false;
  qlonglong v = 0;
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    v = text.mid(2).toLongLong(&ok, 16);
  } else if (text.startsWith(QLatin1Char('$'))) {
    v = text.mid(1).toLongLong(&ok, 16);
    if (text.size() < 2 || text.at(1) == QLatin1Char('-') || text.at(1) == QLatin1Char('+')) ok = false;
  } else {
    v = text.toLongLong(&ok, 10);
  }
  if (!ok) return defaultValue;
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || text.startsWith(QLatin1Char('$'))) {
    // Hexadecimal may spell the 32-bit pattern of a negative number.
    if (v < 0 || v > 0xFFFFFFFFLL) return defaultValue;
    return int(static_cast<std::uint32_t>(v));
  }
  if (v < INT32_MIN || v > INT32_MAX) return defaultValue;
  return int(v);
}

void IniWriteStrings(const QString& path, const std::vector<IniEntry>& entries, int newFileMode) {
  const auto content = ReadFileBytes(path);
  if (!content && QFileInfo::exists(path))
    throw IoError(QStringLiteral("Unable to write to %1").arg(path));
  std::string updated = content.value_or(std::string());
  const TextEncoding encoding = EncodingOf(updated);
  for (const IniEntry& e : entries)
    updated = IniSetValue(updated, Encode(e.section, encoding), Encode(e.key, encoding),
                          Encode(e.value, encoding));
  if (!WriteFileAtomically(path, updated, newFileMode))
    throw IoError(QStringLiteral("Unable to write to %1").arg(path));
}

void IniWriteString(const QString& path, const QString& section, const QString& key,
                    const QString& value, int newFileMode) {
  IniWriteStrings(path, {{section, key, value}}, newFileMode);
}

}  // namespace platform
