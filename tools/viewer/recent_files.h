// The documents opened or saved last, the most recent first, kept in the current user's part of
// the registry (one string value per document, "1" the most recent) so that the next start of the
// viewer offers them again in its File menu.
#pragma once
#include <string>
#include <vector>

namespace viewer {

class RecentFiles {
public:
    // Loads the list kept under HKEY_CURRENT_USER\<key>.
    RecentFiles(std::wstring key, size_t capacity);

    const std::vector<std::wstring>& Paths() const noexcept { return paths_; }
    // Puts the path first (once: paths are compared without regard to case), keeps at most the
    // capacity, and stores the list.
    void Add(const std::wstring& path);
    void Remove(const std::wstring& path);

private:
    void Store() const;

    std::wstring key_;
    size_t capacity_;
    std::vector<std::wstring> paths_;
};

}  // namespace viewer
