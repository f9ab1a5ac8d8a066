#include "bench/profile/pe_symbols.h"
#include <cxxabi.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace profile {

namespace {
constexpr uint16_t function_type = IMAGE_SYM_DTYPE_FUNCTION << 4;

std::vector<char> file_bytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return {};
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T>
const T* at(const std::vector<char>& bytes, size_t offset) {
    return offset + sizeof(T) <= bytes.size() ? reinterpret_cast<const T*>(bytes.data() + offset) : nullptr;
}
}  // namespace

std::string readable_name(const std::string& raw) {
    std::string name = raw;
    // 32-bit names carry a leading underscore before the mangled C++ prefix.
    if (name.rfind("__Z", 0) == 0) name.erase(0, 1);
    if (name.rfind("_Z", 0) != 0) return name;
    int status = 0;
    char* text = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
    if (status != 0 || !text) return raw;
    std::string out = text;
    std::free(text);
    for (size_t p; (p = out.find("(anonymous namespace)")) != std::string::npos;) out.replace(p, 21, "{anon}");
    // Without the parameter list: the first parenthesis outside template arguments.
    int depth = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '<') ++depth;
        else if (out[i] == '>') --depth;
        else if (out[i] == '(' && depth == 0 && i > 0) return out.substr(0, i);
    }
    return out;
}

ModuleSymbols::ModuleSymbols(const Module& module, const std::wstring& fallback_dir) : module_(module) {
    if (read_symbol_table(module.path)) return;
    if (!fallback_dir.empty() && read_symbol_table(fallback_dir + L"\\" + module.name)) return;
    read_exports();
}

bool ModuleSymbols::read_symbol_table(const std::wstring& path) {
    const std::vector<char> bytes = file_bytes(path);
    const auto* dos = at<IMAGE_DOS_HEADER>(bytes, 0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const size_t file_header_at = size_t(dos->e_lfanew) + 4;
    const auto* header = at<IMAGE_FILE_HEADER>(bytes, file_header_at);
    if (!header || !header->PointerToSymbolTable || !header->NumberOfSymbols) return false;
    const size_t sections_at = file_header_at + sizeof(IMAGE_FILE_HEADER) + header->SizeOfOptionalHeader;
    std::vector<IMAGE_SECTION_HEADER> sections;
    for (int i = 0; i < header->NumberOfSections; ++i) {
        const auto* s = at<IMAGE_SECTION_HEADER>(bytes, sections_at + size_t(i) * sizeof(IMAGE_SECTION_HEADER));
        if (!s) return false;
        sections.push_back(*s);
    }
    const size_t table = header->PointerToSymbolTable;
    const size_t strings = table + size_t(header->NumberOfSymbols) * IMAGE_SIZEOF_SYMBOL;
    std::vector<Function> found;
    for (DWORD i = 0; i < header->NumberOfSymbols; ++i) {
        const size_t entry = table + size_t(i) * IMAGE_SIZEOF_SYMBOL;
        if (entry + IMAGE_SIZEOF_SYMBOL > bytes.size()) break;
        IMAGE_SYMBOL symbol;
        std::memcpy(&symbol, bytes.data() + entry, IMAGE_SIZEOF_SYMBOL);
        i += symbol.NumberOfAuxSymbols;
        if (symbol.SectionNumber <= 0 || size_t(symbol.SectionNumber) > sections.size()) continue;
        const IMAGE_SECTION_HEADER& section = sections[size_t(symbol.SectionNumber - 1)];
        if (!(section.Characteristics & IMAGE_SCN_CNT_CODE)) continue;
        const bool function = symbol.Type == function_type;
        const bool global_label = symbol.Type == 0 && symbol.StorageClass == IMAGE_SYM_CLASS_EXTERNAL;
        if (!function && !global_label) continue;
        std::string name;
        if (symbol.N.Name.Short) {
            name.assign(reinterpret_cast<const char*>(symbol.N.ShortName), strnlen(reinterpret_cast<const char*>(symbol.N.ShortName), 8));
        } else {
            const size_t offset = strings + symbol.N.Name.Long;
            if (offset >= bytes.size()) continue;
            name.assign(bytes.data() + offset, strnlen(bytes.data() + offset, bytes.size() - offset));
        }
        found.push_back({section.VirtualAddress + symbol.Value, name});
    }
    if (found.empty()) return false;
    std::sort(found.begin(), found.end(), [](const Function& a, const Function& b) { return a.rva < b.rva; });
    functions_ = std::move(found);
    source_ = "symbols";
    return true;
}

void ModuleSymbols::read_exports() {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module_.base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(module_.base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!dir.VirtualAddress) return;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(module_.base + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(module_.base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(module_.base + exports->AddressOfNameOrdinals);
    const auto* addresses = reinterpret_cast<const DWORD*>(module_.base + exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        functions_.push_back({addresses[ordinals[i]], reinterpret_cast<const char*>(module_.base + names[i])});
    std::sort(functions_.begin(), functions_.end(), [](const Function& a, const Function& b) { return a.rva < b.rva; });
    if (!functions_.empty()) source_ = "exports";
}

std::string ModuleSymbols::name_of(uintptr_t address) const {
    const uint32_t rva = uint32_t(address - module_.base);
    auto it = std::upper_bound(functions_.begin(), functions_.end(), rva, [](uint32_t a, const Function& f) { return a < f.rva; });
    if (it == functions_.begin()) return "?+" + std::to_string(rva);
    return readable_name(std::prev(it)->name);
}

}  // namespace profile
