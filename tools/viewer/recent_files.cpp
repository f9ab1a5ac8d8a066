#include "recent_files.h"
#include <algorithm>
#include "com/registry.h"

namespace viewer {

namespace {
bool same_path(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}
}  // namespace

RecentFiles::RecentFiles(std::wstring key, size_t capacity) : key_(std::move(key)), capacity_(capacity) {
    const com::RegKey k = com::RegKey::open(HKEY_CURRENT_USER, key_);
    if (!k) return;
    for (size_t i = 1; i <= capacity_; ++i) {
        std::wstring path = k.get_string(std::to_wstring(i));
        if (path.empty()) break;
        paths_.push_back(std::move(path));
    }
}

void RecentFiles::Add(const std::wstring& path) {
    std::erase_if(paths_, [&](const std::wstring& p) { return same_path(p, path); });
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > capacity_) paths_.resize(capacity_);
    Store();
}

void RecentFiles::Remove(const std::wstring& path) {
    std::erase_if(paths_, [&](const std::wstring& p) { return same_path(p, path); });
    Store();
}

// The list is a convenience: a registry that cannot be written leaves it for this run only.
void RecentFiles::Store() const {
    try {
        const com::RegKey k = com::RegKey::create(HKEY_CURRENT_USER, key_);
        for (size_t i = 0; i < capacity_; ++i) {
            const std::wstring name = std::to_wstring(i + 1);
            if (i < paths_.size()) k.set(name, paths_[i]);
            else RegDeleteValueW(k.get(), name.c_str());
        }
    } catch (const std::exception&) {
    }
}

}  // namespace viewer
