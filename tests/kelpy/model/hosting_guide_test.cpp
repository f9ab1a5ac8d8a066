// The host developers' guide (docs/hosting.md) against the registered type library: the
// members and events it lists are exactly those that the type-library dump prints for the
// control's interfaces and its event interfaces.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include "common/process.h"
#include "common/registration.h"

namespace {

std::set<std::string> lines_of(const std::string& text) {
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos) lines.insert(line.substr(start));
    }
    return lines;
}

// The member lines of one interface of the dump: from its header line to the next blank line.
std::set<std::string> members_of(const std::string& dump, const std::string& header) {
    const size_t begin = dump.find(header);
    if (begin == std::string::npos) return {};
    const size_t first = dump.find('\n', begin) + 1;
    return lines_of(dump.substr(first, dump.find("\n\n", first) - first));
}

// The guide's block of member lines: the first code block after a section's heading that is no
// example (an example's fence names its language).
std::set<std::string> guide_members(const std::string& heading) {
    std::ifstream file(std::filesystem::path(test::program_dir() + L"\\docs\\hosting.md"));
    std::stringstream text;
    text << file.rdbuf();
    std::istringstream guide(text.str().substr(std::min(text.str().size(), text.str().find(heading))));
    std::string block;
    bool example = false, members = false;
    for (std::string line; std::getline(guide, line);) {
        if (line.rfind("```", 0) == 0) {
            if (members) break;
            if (example) example = false;
            else if (line == "```") members = true;
            else example = true;
            continue;
        }
        if (members) block += line + "\n";
    }
    // The guide shows the 64-bit library; the 32-bit one has long where handles are.
    if (sizeof(void*) == 4)
        for (size_t at; (at = block.find("hyper")) != std::string::npos;) block.replace(at, 5, "long");
    return lines_of(block);
}

TEST(HostingGuide, ListsExactlyTheMembersAndEventsOfTheTypeLibrary) {
    test::register_library(L"mapmodel.dll");
    test::register_library(L"kelpy.dll");
    const test::Finished dump = test::run_program(L"typelib-dump.exe", L"");
    ASSERT_EQ(dump.exit_code, 0u) << dump.err;
    std::set<std::string> library = members_of(dump.out, "interface _TOC {");
    const std::set<std::string> events = members_of(dump.out, "dispinterface __TOC {");
    ASSERT_EQ(library.size(), 5u) << dump.out;
    ASSERT_EQ(events.size(), 4u) << dump.out;
    library.insert(events.begin(), events.end());
    EXPECT_EQ(guide_members("## Members and events"), library);

    // The second interface and its events, in their own section.
    std::set<std::string> second = members_of(dump.out, "interface _TOC2 {");
    const std::set<std::string> second_events = members_of(dump.out, "dispinterface __TOC2 {");
    ASSERT_EQ(second.size(), 11u) << dump.out;
    ASSERT_EQ(second_events.size(), 2u) << dump.out;
    second.insert(second_events.begin(), second_events.end());
    EXPECT_EQ(guide_members("## The second interface"), second);

    // The third interface, in its own section (its events are __TOC2's, listed above).
    const std::set<std::string> third = members_of(dump.out, "interface _TOC3 {");
    ASSERT_EQ(third.size(), 7u) << dump.out;
    EXPECT_EQ(guide_members("## The third interface"), third);
}

}  // namespace
