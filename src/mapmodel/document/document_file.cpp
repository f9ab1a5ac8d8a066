#include "mapmodel/document/document_file.h"
#include <windows.h>
#include <algorithm>
#include <utility>
#include "com/error.h"
#include "win/handles.h"

namespace mapmodel::document {

namespace {

const std::wstring kSaving = L"cannot save the document";

// The new file of a replacement while it is being written: removed when it goes, unless it has
// been renamed over the target.
class NewFile {
public:
    NewFile(std::wstring path, win::File file) : path_(std::move(path)), file_(std::move(file)) {}
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile() {
        file_.close();
        if (!renamed_) DeleteFileW(path_.c_str());
    }
    HANDLE handle() const noexcept { return file_.get(); }
    bool close() noexcept { return file_.close(); }
    const std::wstring& path() const noexcept { return path_; }
    void renamed() noexcept { renamed_ = true; }

private:
    std::wstring path_;
    win::File file_;
    bool renamed_ = false;
};

DWORD attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool is_folder(DWORD a) { return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY); }

HRESULT status(DWORD error) { return HRESULT_FROM_WIN32(error ? error : ERROR_GEN_FAILURE); }

// "<path>: <doing>: <why>", with the status of the Win32 error.
[[noreturn]] void fail(const std::wstring& path, const std::wstring& doing, DWORD error, const std::wstring& why) {
    com::raise(status(error), path + L": " + doing + L": " + why);
}

// The same for the call that has just failed: which step it was and the system's own words for
// its error. The arguments are all made before the call, so nothing can change the thread's
// last error before it is read.
[[noreturn]] void failed(const std::wstring& path, const std::wstring& doing, const wchar_t* step) {
    DWORD error = GetLastError();
    fail(path, doing, error, (*step ? std::wstring(step) + L": " : std::wstring()) + com::describe(status(error)));
}

// The absolute form of a path, so that "beside it" is the file's own folder.
std::wstring full_path(const std::wstring& path) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) failed(path, kSaving, L"");
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (n == 0 || n >= full.size()) failed(path, kSaving, L"");
    full.resize(n);
    return full;
}

// Creates a new, empty file beside the target, named after it.
NewFile create_beside(const std::wstring& target, const std::wstring& shown) {
    const std::wstring& doing = kSaving;
    for (unsigned attempt = 0;; ++attempt) {
        std::wstring path = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(GetTickCount() + attempt) + L".saving";
        win::File file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return NewFile(path, std::move(file));
        DWORD e = GetLastError();
        if ((e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS) && attempt < 100) continue;
        std::wstring folder = target.substr(0, target.find_last_of(L"\\/"));
        if (e == ERROR_PATH_NOT_FOUND || (e == ERROR_FILE_NOT_FOUND && !is_folder(attributes(folder))))
            fail(shown, doing, e, L"the folder " + folder + L" does not exist");
        fail(shown, doing, e, L"cannot create a file in " + folder + L": " + com::describe(status(e)));
    }
}

}  // namespace

void replace_document(const std::wstring& path, std::string_view bytes) {
    const std::wstring& doing = kSaving;
    if (path.empty()) com::raise(E_INVALIDARG, L"The document's path is empty");
    std::wstring target = full_path(path);
    DWORD a = attributes(target);
    if (is_folder(a)) fail(path, doing, ERROR_ACCESS_DENIED, L"the path is a folder");
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) fail(path, doing, ERROR_ACCESS_DENIED, L"the file is read-only");

    NewFile file = create_beside(target, path);
    for (size_t done = 0; done < bytes.size();) {
        DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 24)), put = 0;
        if (!WriteFile(file.handle(), bytes.data() + done, chunk, &put, nullptr)) failed(path, doing, L"writing failed");
        if (put == 0) fail(path, doing, ERROR_WRITE_FAULT, L"writing failed: nothing was written");
        done += put;
    }
    if (!FlushFileBuffers(file.handle()) || !file.close()) failed(path, doing, L"writing failed");
    if (!MoveFileExW(file.path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failed(path, doing, L"cannot replace the file");
    file.renamed();
}

}  // namespace mapmodel::document
