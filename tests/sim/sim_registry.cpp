#include "sim/sim_registry.h"

#include <algorithm>
#include <cstring>

namespace qm {

namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Fold(x) == Fold(y); });
}

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
            });
    }
};

const char* RootName(RegKey root) {
    switch (root) {
        case kHkeyClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case kHkeyCurrentUser:
            return "HKEY_CURRENT_USER";
        case kHkeyLocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case kHkeyUsers:
            return "HKEY_USERS";
        default:
            return "?";
    }
}

}  // namespace

struct SimRegistry::Key {
    struct NamedValue {
        std::string name;  // as first written
        RawValue value;
    };
    std::string name;
    Key* parent = nullptr;
    std::map<std::string, std::unique_ptr<Key>, CaseLess> subkeys;
    std::map<std::string, NamedValue, CaseLess> values;

    std::string FullPath() const { return parent ? parent->FullPath() + "\\" + name : name; }
};

SimRegistry::SimRegistry() {
    for (RegKey root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers}) {
        auto key = std::make_unique<Key>();
        key->name = RootName(root);
        roots_[root] = std::move(key);
    }
}

SimRegistry::~SimRegistry() = default;

SimRegistry::Key* SimRegistry::Root(RegKey root) const {
    auto it = roots_.find(root);
    return it == roots_.end() ? nullptr : it->second.get();
}

SimRegistry::Key* SimRegistry::Resolve(RegKey handle) const {
    if (Key* root = Root(handle)) return root;
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : it->second;
}

SimRegistry::Key* SimRegistry::Walk(Key* from, const std::string& path, bool create,
                                    std::int32_t& error) const {
    // One trailing backslash is tolerated; a leading one or an empty part in between is
    // not a valid path.
    std::string rest = path;
    if (!rest.empty() && rest.back() == '\\') rest.pop_back();
    Key* key = from;
    if (rest.empty()) {
        if (!path.empty()) {
            error = kErrorBadPathname;
            return nullptr;
        }
        return key;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = rest.find('\\', start);
        const std::string part = rest.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty()) {
            error = kErrorBadPathname;
            return nullptr;
        }
        auto it = key->subkeys.find(part);
        if (it == key->subkeys.end()) {
            if (!create) {
                error = kErrorFileNotFound;
                return nullptr;
            }
            auto child = std::make_unique<Key>();
            child->name = part;
            child->parent = key;
            it = key->subkeys.emplace(part, std::move(child)).first;
        }
        key = it->second.get();
        if (end == std::string::npos) return key;
        start = end + 1;
    }
}

std::optional<std::int32_t> SimRegistry::InjectedFailure(Call call,
                                                         const std::string& target) const {
    for (const auto& f : failures_) {
        if (f.call == call && (f.target.empty() || SameName(f.target, target))) return f.code;
    }
    return std::nullopt;
}

std::int32_t SimRegistry::Record(Call call, RegKey key, const std::string& target,
                                 std::uint32_t size, bool withData, std::int32_t result) {
    calls_.push_back({call, key, target, size, withData, result});
    return result;
}

std::int32_t SimRegistry::OpenOrCreate(Call call, RegKey root, const std::string& path,
                                       RegKey* out) {
    if (out) *out = 0;
    if (auto code = InjectedFailure(call, path)) return Record(call, root, path, 0, false, *code);
    if (!out) return Record(call, root, path, 0, false, kErrorInvalidParameter);
    Key* from = Resolve(root);
    if (!from) return Record(call, root, path, 0, false, kErrorInvalidHandle);
    // An empty path hands back the very handle passed in, as the classic calls do.
    if (path.empty()) {
        *out = root;
        return Record(call, root, path, 0, false, kErrorSuccess);
    }
    std::int32_t error = kErrorSuccess;
    Key* key = Walk(from, path, call == Call::CreateKey, error);
    if (!key) return Record(call, root, path, 0, false, error);
    const RegKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = key;
    *out = handle;
    return Record(call, root, path, 0, false, kErrorSuccess);
}

std::int32_t SimRegistry::CreateKey(RegKey root, const std::string& path, RegKey* out) {
    return OpenOrCreate(Call::CreateKey, root, path, out);
}

std::int32_t SimRegistry::OpenKey(RegKey root, const std::string& path, RegKey* out) {
    return OpenOrCreate(Call::OpenKey, root, path, out);
}

std::int32_t SimRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                     void* data, std::uint32_t* size) {
    const std::uint32_t sizeIn = size ? *size : 0;
    auto done = [&](std::int32_t rc) {
        return Record(Call::QueryValue, key, name, sizeIn, data != nullptr, rc);
    };
    if (auto code = InjectedFailure(Call::QueryValue, name)) return done(*code);
    Key* k = Resolve(key);
    if (!k) return done(kErrorInvalidHandle);
    // A data buffer needs a size to go with it.
    if (data && !size) return done(kErrorInvalidParameter);
    auto it = k->values.find(name);
    if (it == k->values.end()) return done(kErrorFileNotFound);
    const RawValue& v = it->second.value;
    const auto needed = static_cast<std::uint32_t>(v.bytes.size());
    if (type) *type = v.type;
    if (!data) {
        if (size) *size = needed;
        return done(kErrorSuccess);
    }
    if (*size < needed) {
        *size = needed;
        return done(kErrorMoreData);
    }
    if (needed) std::memcpy(data, v.bytes.data(), needed);
    *size = needed;
    return done(kErrorSuccess);
}

std::int32_t SimRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                   const void* data, std::uint32_t size) {
    auto done = [&](std::int32_t rc) {
        return Record(Call::SetValue, key, name, size, data != nullptr, rc);
    };
    if (auto code = InjectedFailure(Call::SetValue, name)) return done(*code);
    Key* k = Resolve(key);
    if (!k) return done(kErrorInvalidHandle);
    if (!data && size) return done(kErrorInvalidParameter);
    auto& slot = k->values[name];
    if (slot.name.empty()) slot.name = name;
    slot.value.type = type;
    slot.value.bytes.assign(static_cast<const char*>(data), size);
    return done(kErrorSuccess);
}

std::int32_t SimRegistry::CloseKey(RegKey key) {
    auto done = [&](std::int32_t rc) { return Record(Call::CloseKey, key, "", 0, false, rc); };
    if (auto code = InjectedFailure(Call::CloseKey, "")) return done(*code);
    if (Root(key)) return done(kErrorSuccess);
    return done(handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle);
}

void SimRegistry::PutKey(RegKey root, const std::string& path) {
    std::int32_t error = kErrorSuccess;
    Walk(Root(root), path, true, error);
}

void SimRegistry::PutValue(RegKey root, const std::string& path, const std::string& name,
                           std::uint32_t type, const std::string& bytes) {
    std::int32_t error = kErrorSuccess;
    Key* key = Walk(Root(root), path, true, error);
    if (!key) return;
    auto& slot = key->values[name];
    if (slot.name.empty()) slot.name = name;
    slot.value = {type, bytes};
}

void SimRegistry::PutString(RegKey root, const std::string& path, const std::string& name,
                            const std::string& text) {
    PutValue(root, path, name, kRegSz, text + std::string(1, '\0'));
}

void SimRegistry::PutDword(RegKey root, const std::string& path, const std::string& name,
                           std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
    PutValue(root, path, name, kRegDword, bytes);
}

void SimRegistry::RemoveValue(RegKey root, const std::string& path, const std::string& name) {
    std::int32_t error = kErrorSuccess;
    if (Key* key = Walk(Root(root), path, false, error)) key->values.erase(name);
}

bool SimRegistry::HasKey(RegKey root, const std::string& path) const {
    Key* from = Root(root);
    std::int32_t error = kErrorSuccess;
    return from && Walk(from, path, false, error);
}

std::optional<SimRegistry::RawValue> SimRegistry::ReadValue(RegKey root, const std::string& path,
                                                            const std::string& name) const {
    Key* from = Root(root);
    std::int32_t error = kErrorSuccess;
    Key* key = from ? Walk(from, path, false, error) : nullptr;
    if (!key) return std::nullopt;
    auto it = key->values.find(name);
    if (it == key->values.end()) return std::nullopt;
    return it->second.value;
}

std::optional<std::uint32_t> SimRegistry::ReadDword(RegKey root, const std::string& path,
                                                    const std::string& name) const {
    auto v = ReadValue(root, path, name);
    if (!v || v->type != kRegDword || v->bytes.size() != 4) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t{static_cast<unsigned char>(v->bytes[i])} << (8 * i);
    return value;
}

std::vector<std::string> SimRegistry::ValueNames(RegKey root, const std::string& path) const {
    std::vector<std::string> names;
    Key* from = Root(root);
    std::int32_t error = kErrorSuccess;
    Key* key = from ? Walk(from, path, false, error) : nullptr;
    if (key) {
        for (const auto& [folded, v] : key->values) names.push_back(v.name);
    }
    return names;
}

void SimRegistry::FailCall(Call call, std::int32_t code, const std::string& target) {
    failures_.push_back({call, code, target});
}

void SimRegistry::ClearFailures() { failures_.clear(); }

std::vector<std::string> SimRegistry::OpenHandlePaths() const {
    std::vector<std::string> paths;
    for (const auto& [handle, key] : handles_) paths.push_back(key->FullPath());
    return paths;
}

}  // namespace qm
