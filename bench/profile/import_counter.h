// Counts the calls that some modules make to two functions of user32, GetFocus and GetPropW:
// requests to Wine's server that a tree view and its theme make per painted row. Each module's
// import table entry for each function it imports is pointed at a counting stand-in that calls
// the real function; the entries are put back when the counter goes. One counter at a time.
#pragma once
#include <windows.h>
#include <initializer_list>
#include <vector>

namespace profile {

struct CallCounts {
    long get_focus = 0;
    long get_prop = 0;
};

class ImportCounter {
public:
    // Counts the calls that these loaded modules (e.g. L"comctl32.dll") make.
    explicit ImportCounter(std::initializer_list<const wchar_t*> modules);
    ~ImportCounter();
    ImportCounter(const ImportCounter&) = delete;
    ImportCounter& operator=(const ImportCounter&) = delete;

    // The calls counted since the last take().
    CallCounts take() noexcept;

private:
    struct Patch {
        void** entry;
        void* original;
    };
    // Points the module's entry for `name`, if it imports it, at the stand-in.
    void patch(HMODULE module, const char* name, void* stand_in, void*& original);
    std::vector<Patch> patches_;
};

}  // namespace profile
