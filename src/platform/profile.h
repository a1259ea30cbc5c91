// Port: INI files through the classic profile-string calls (GetPrivateProfileStringA,
// WritePrivateProfileStringA), as the setup finisher reads setup.ini and setup.oem and edits
// the driver's setup information.
#pragma once

#include <cstdint>
#include <string>

namespace qm {

class Profile {
  public:
    virtual ~Profile() = default;
    // Copies the value of `key` in `section` of the file at `path` (or `defaultText` when
    // there is none) into `buffer`, at most size - 1 characters followed by a NUL, and
    // returns the number of characters copied without the NUL. Section and key names
    // compare without regard to case; surrounding blanks and one pair of enclosing quotes
    // are not part of the value.
    virtual std::uint32_t GetString(const std::string& section, const std::string& key,
                                    const std::string& defaultText, char* buffer,
                                    std::uint32_t size, const std::string& path) = 0;
    // Writes `key`=`value` into `section`, creating the file, the section or the key when
    // absent. True on success.
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) = 0;
};

}  // namespace qm
