// A registry in memory with the semantics of the classic Windows calls: a tree of keys below
// the predefined roots, key and value names compared without regard to case (ASCII folding),
// typed values kept as raw bytes, RegCreateKey creating missing parents, RegOpenKey failing
// for missing keys, RegQueryValueEx size probing and ERROR_MORE_DATA. Every handle handed out
// is tracked, so a test can assert that the code under test closed all it opened. Handle
// values are never reused, so a second close of the same handle fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_port.h"

namespace qm {

inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorInvalidParameter = 87;
inline constexpr std::int32_t kErrorBadPathname = 161;

class SimRegistry final : public RegistryPort {
  public:
    enum class Call { CreateKey, OpenKey, QueryValue, SetValue, CloseKey };

    // One port call as it was made. `target` is the path (create, open) or the value name
    // (query, set); `size` the size passed in (query: 0 for a null size pointer; set: the
    // data size); `withData` whether a data buffer was passed.
    struct CallRecord {
        Call call;
        RegKey key;
        std::string target;
        std::uint32_t size;
        bool withData;
        std::int32_t result;
    };

    // A stored value; `bytes` holds the raw data, NULs included.
    struct RawValue {
        std::uint32_t type = kRegNone;
        std::string bytes;
    };

    SimRegistry();
    ~SimRegistry() override;

    std::int32_t CreateKey(RegKey root, const std::string& path, RegKey* out) override;
    std::int32_t OpenKey(RegKey root, const std::string& path, RegKey* out) override;
    std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data,
                            std::uint32_t* size) override;
    std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data,
                          std::uint32_t size) override;
    std::int32_t CloseKey(RegKey key) override;

    // Test helpers; they neither open handles nor appear in the call log. `root` is one of
    // the predefined roots, `path` a path below it (missing keys are created by the Put
    // helpers).
    void PutValue(RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
                  const std::string& bytes);
    void PutString(RegKey root, const std::string& path, const std::string& name,
                   const std::string& text);  // REG_SZ with its terminating NUL
    void PutDword(RegKey root, const std::string& path, const std::string& name,
                  std::uint32_t value);
    void PutKey(RegKey root, const std::string& path);
    void RemoveValue(RegKey root, const std::string& path, const std::string& name);
    bool HasKey(RegKey root, const std::string& path) const;
    std::optional<RawValue> ReadValue(RegKey root, const std::string& path,
                                      const std::string& name) const;
    // The number, only for a REG_DWORD of exactly four bytes.
    std::optional<std::uint32_t> ReadDword(RegKey root, const std::string& path,
                                           const std::string& name) const;
    std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;

    // From now on, every `call` whose target matches (without regard to case; an empty
    // target matches every call of that kind) fails with `code` and changes nothing.
    void FailCall(Call call, std::int32_t code, const std::string& target = "");
    void ClearFailures();

    std::size_t OpenHandleCount() const { return handles_.size(); }
    // Full paths of the keys still open, for failure messages.
    std::vector<std::string> OpenHandlePaths() const;

    const std::vector<CallRecord>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

    struct Key;

  private:
    struct Failure {
        Call call;
        std::int32_t code;
        std::string target;
    };

    Key* Resolve(RegKey handle) const;
    Key* Root(RegKey root) const;
    // Walks `path` below `from`; creates missing keys when `create`. Sets `error` and
    // returns null when the path is malformed or (without create) a key is missing.
    Key* Walk(Key* from, const std::string& path, bool create, std::int32_t& error) const;
    std::optional<std::int32_t> InjectedFailure(Call call, const std::string& target) const;
    std::int32_t Record(Call call, RegKey key, const std::string& target, std::uint32_t size,
                        bool withData, std::int32_t result);
    std::int32_t OpenOrCreate(Call call, RegKey root, const std::string& path, RegKey* out);

    std::map<RegKey, std::unique_ptr<Key>> roots_;
    std::map<RegKey, Key*> handles_;
    RegKey nextHandle_ = 0x1000;
    std::vector<Failure> failures_;
    std::vector<CallRecord> calls_;
};

}  // namespace qm
