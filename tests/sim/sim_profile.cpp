#include "sim/sim_profile.h"

#include <algorithm>
#include <cstring>

namespace qm {

namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Fold(x) == Fold(y); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

struct Line {
    enum Kind { Other, Section, Entry } kind = Other;
    std::string text;   // the line as written, without its line end
    std::string name;   // section or key name, trimmed
    std::string value;  // entry value, trimmed
};

std::vector<Line> Parse(const std::string& content) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        Line line;
        line.text = content.substr(start, end - start);
        if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
        const std::string t = Trim(line.text);
        if (!t.empty() && t.front() == '[' && t.find(']') != std::string::npos) {
            line.kind = Line::Section;
            line.name = Trim(t.substr(1, t.rfind(']') - 1));
        } else if (!t.empty() && t.front() != ';' && t.find('=') != std::string::npos) {
            line.kind = Line::Entry;
            const std::size_t eq = t.find('=');
            line.name = Trim(t.substr(0, eq));
            line.value = Trim(t.substr(eq + 1));
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Index of the first header of `section`, or npos.
std::size_t FindSection(const std::vector<Line>& lines, const std::string& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Line::Section && SameName(lines[i].name, section)) return i;
    }
    return std::string::npos;
}

// Index of the first entry `key` in the section starting at `header`, or npos.
std::size_t FindEntry(const std::vector<Line>& lines, std::size_t header, const std::string& key) {
    for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Line::Section; ++i) {
        if (lines[i].kind == Line::Entry && SameName(lines[i].name, key)) return i;
    }
    return std::string::npos;
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

}  // namespace

bool SimProfile::PathLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
    });
}

std::uint32_t SimProfile::GetString(const std::string& section, const std::string& key,
                                    const std::string& defaultText, char* buffer,
                                    std::uint32_t size, const std::string& path) {
    if (!buffer || size == 0) return 0;
    std::string result = defaultText;
    while (!result.empty() && result.back() == ' ') result.pop_back();
    auto file = files_.find(path);
    if (file != files_.end()) {
        const auto lines = Parse(file->second);
        const std::size_t header = FindSection(lines, Trim(section));
        if (header != std::string::npos) {
            const std::size_t entry = FindEntry(lines, header, Trim(key));
            if (entry != std::string::npos) result = Unquote(lines[entry].value);
        }
    }
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(result.size(), size - 1));
    std::memcpy(buffer, result.data(), count);
    buffer[count] = '\0';
    return count;
}

bool SimProfile::WriteString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) {
    auto record = [&](bool ok) {
        writes_.push_back({section, key, value, path, ok});
        return ok;
    };
    if (readOnly_.count(path)) return record(false);
    const std::string entryText = Trim(key) + "=" + value;
    auto file = files_.find(path);
    std::vector<Line> lines = file == files_.end() ? std::vector<Line>{} : Parse(file->second);
    std::size_t header = FindSection(lines, Trim(section));
    if (header == std::string::npos) {
        Line h;
        h.text = "[" + Trim(section) + "]";
        lines.push_back(h);
        Line e;
        e.text = entryText;
        lines.push_back(e);
    } else if (std::size_t entry = FindEntry(lines, header, Trim(key));
               entry != std::string::npos) {
        // The key keeps the spelling it already has in the file.
        lines[entry].text = lines[entry].name + "=" + value;
    } else {
        // A new key goes after the last entry of its section, ahead of any blank lines that
        // separate it from the next one.
        std::size_t at = header;
        for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Line::Section; ++i) {
            if (lines[i].kind == Line::Entry) at = i;
        }
        Line e;
        e.text = entryText;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at + 1), e);
    }
    std::string text;
    for (const auto& l : lines) text += l.text + "\r\n";
    files_[path] = text;
    return record(true);
}

void SimProfile::PutFile(const std::string& path, const std::string& text) { files_[path] = text; }
void SimProfile::RemoveFile(const std::string& path) { files_.erase(path); }
bool SimProfile::HasFile(const std::string& path) const { return files_.count(path) != 0; }

std::optional<std::string> SimProfile::FileText(const std::string& path) const {
    auto it = files_.find(path);
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

void SimProfile::FailWrites(const std::string& path) { readOnly_.insert(path); }

}  // namespace qm
