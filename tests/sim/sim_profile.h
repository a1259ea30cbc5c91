// INI files in memory, read and written with the semantics of the classic profile-string
// calls: section and key names compare without regard to case, blanks around names and
// values are dropped, one pair of enclosing quotes (" or ') is dropped from a value, lines
// whose first non-blank character is ";" are comments while a ";" later in a line is part of
// the value, the first of duplicate sections or keys wins, a missing file, section or key
// gives the default (without its trailing blanks), and a value longer than the buffer is
// cut to size - 1 characters, which is then the result. File paths compare without regard
// to case. Writes rewrite the file with CR LF line ends and keep every other line.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace qm {

class SimProfile final : public Profile {
  public:
    struct WriteRecord {
        std::string section;
        std::string key;
        std::string value;
        std::string path;
        bool result;
    };

    std::uint32_t GetString(const std::string& section, const std::string& key,
                            const std::string& defaultText, char* buffer, std::uint32_t size,
                            const std::string& path) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override;

    void PutFile(const std::string& path, const std::string& text);
    void RemoveFile(const std::string& path);
    bool HasFile(const std::string& path) const;
    std::optional<std::string> FileText(const std::string& path) const;

    // Writes to this file fail and leave it as it is (a read-only file or folder).
    void FailWrites(const std::string& path);

    const std::vector<WriteRecord>& Writes() const { return writes_; }

  private:
    struct PathLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::map<std::string, std::string, PathLess> files_;
    std::set<std::string, PathLess> readOnly_;
    std::vector<WriteRecord> writes_;
};

}  // namespace qm
