// make_pictures: writes the control's pictures as Windows picture files into a directory, for
// the resource compiler. It runs on the build machine (it is built with the host's compiler),
// so it uses nothing of Windows: the file formats are written byte by byte.
//
//   item_plus.bmp ... item_mixed.bmp  the seven 16 x 16 item images, 24-bit, magenta background
//   drag_up.cur, drag_down.cur, drag_both.cur
//                                     the three 32 x 32 monochrome drag cursors, hot spot 0, 0
//   toolbox.bmp                       the 16 x 15 toolbox picture, 16 colours
//
// Every picture is drawn here, as character art (one character a pixel) or from shapes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "make_pictures: %s\n", what.c_str());
    std::exit(1);
}

// Little-endian output of a file's bytes.
class Bytes {
public:
    void u8(unsigned v) { data_.push_back(uint8_t(v)); }
    void u16(unsigned v) { u8(v & 0xFF); u8((v >> 8) & 0xFF); }
    void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void i32(int32_t v) { u32(uint32_t(v)); }
    size_t size() const { return data_.size(); }
    void write(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data_.data()), std::streamsize(data_.size()));
        if (!out) fail("could not write " + path);
    }

private:
    std::vector<uint8_t> data_;
};

// A picture given as rows of characters, each character naming a colour of `palette`.
struct Art {
    std::vector<std::string> rows;
    int width() const { return int(rows.front().size()); }
    int height() const { return int(rows.size()); }
    void validate(const std::string& name, int w, int h, const std::map<char, Rgb>& palette) const {
        if (height() != h) fail(name + ": wrong number of rows");
        for (const std::string& row : rows) {
            if (int(row.size()) != w) fail(name + ": a row of the wrong width: " + row);
            for (char c : row)
                if (!palette.count(c)) fail(name + ": a character without a colour: " + std::string(1, c));
        }
    }
};

void bitmap_info_header(Bytes& b, int width, int height, int bits, int palette_size, uint32_t image_size) {
    b.u32(40);
    b.i32(width);
    b.i32(height);  // positive: rows bottom-up
    b.u16(1);
    b.u16(unsigned(bits));
    b.u32(0);  // BI_RGB
    b.u32(image_size);
    b.i32(3780);  // 96 dpi
    b.i32(3780);
    b.u32(uint32_t(palette_size));
    b.u32(0);
}

void file_header(Bytes& b, uint32_t file_size, uint32_t bits_offset) {
    b.u8('B');
    b.u8('M');
    b.u32(file_size);
    b.u32(0);
    b.u32(bits_offset);
}

// A 24-bit bitmap file of the art.
void write_bmp24(const std::string& path, const Art& art, const std::map<char, Rgb>& palette) {
    const int w = art.width(), h = art.height();
    const int stride = (w * 3 + 3) / 4 * 4;
    const uint32_t image = uint32_t(stride * h);
    Bytes b;
    file_header(b, 14 + 40 + image, 14 + 40);
    bitmap_info_header(b, w, h, 24, 0, image);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = palette.at(art.rows[size_t(y)][size_t(x)]);
            b.u8(c.b);
            b.u8(c.g);
            b.u8(c.r);
        }
        for (int pad = w * 3; pad < stride; ++pad) b.u8(0);
    }
    b.write(path);
}

// A 16-colour bitmap file of the art, with the standard 16-colour palette.
void write_bmp4(const std::string& path, const Art& art, const std::map<char, Rgb>& palette) {
    static const Rgb standard[16] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
        {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},  {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    auto index_of = [&](Rgb c) {
        for (int i = 0; i < 16; ++i)
            if (standard[i] == c) return i;
        fail(path + ": a colour outside the 16-colour palette");
    };
    const int w = art.width(), h = art.height();
    const int stride = ((w + 1) / 2 + 3) / 4 * 4;
    const uint32_t image = uint32_t(stride * h);
    Bytes b;
    file_header(b, 14 + 40 + 64 + image, 14 + 40 + 64);
    bitmap_info_header(b, w, h, 4, 16, image);
    for (const Rgb& c : standard) {
        b.u8(c.b);
        b.u8(c.g);
        b.u8(c.r);
        b.u8(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < w; x += 2) {
            const int hi = index_of(palette.at(art.rows[size_t(y)][size_t(x)]));
            const int lo = x + 1 < w ? index_of(palette.at(art.rows[size_t(y)][size_t(x + 1)])) : 0;
            b.u8(unsigned(hi << 4 | lo));
            ++written;
        }
        for (; written < stride; ++written) b.u8(0);
    }
    b.write(path);
}

// ---- the item images (16 x 16, magenta is transparent)

const std::map<char, Rgb> item_colours = {
    {'.', {255, 0, 255}},   // magenta: transparent
    {'K', {0, 0, 0}},       // black
    {'W', {255, 255, 255}}, // white
    {'g', {132, 130, 132}}, // grey of the plus and minus boxes
    {'G', {132, 132, 132}}, // grey of the disconnected box
    {'l', {198, 198, 198}}, // light grey of the disconnected tick
    {'R', {255, 0, 0}},     // red
    {'Y', {255, 255, 0}},   // yellow
};

const Art plus = {{
    "................",
    "................",
    "................",
    "...ggggggggg....",
    "...gWWWWWWWg....",
    "...gWWWKWWWg....",
    "...gWWWKWWWg....",
    "...gWKKKKKWg....",
    "...gWWWKWWWg....",
    "...gWWWKWWWg....",
    "...gWWWWWWWg....",
    "...ggggggggg....",
    "................",
    "................",
    "................",
    "................",
}};

const Art minus = {{
    "................",
    "................",
    "................",
    "...ggggggggg....",
    "...gWWWWWWWg....",
    "...gWWWWWWWg....",
    "...gWWWWWWWg....",
    "...gWKKKKKWg....",
    "...gWWWWWWWg....",
    "...gWWWWWWWg....",
    "...gWWWWWWWg....",
    "...ggggggggg....",
    "................",
    "................",
    "................",
    "................",
}};

const Art disconnected = {{
    "................",
    "................",
    ".GGGGGGGGGGG..RR",
    ".GWWWWWWWWWG..RR",
    ".GWWWWWWWWWG..RR",
    ".GWWWWWWWlWG..RR",
    ".GWWWWWWllWG..RR",
    ".GWlWWWlllWG..RR",
    ".GWllWlllWWG..RR",
    ".GWlllllWWWG..RR",
    ".GWWlllWWWWG....",
    ".GWWWlWWWWWG..RR",
    ".GGGGGGGGGGG..RR",
    "................",
    "................",
    "................",
}};

const Art checked = {{
    "................",
    "................",
    "..KKKKKKKKKKK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWKWK...",
    "..KWWWWWWKKWK...",
    "..KWKWWWKKKWK...",
    "..KWKKWKKKWWK...",
    "..KWKKKKKWWWK...",
    "..KWWKKKWWWWK...",
    "..KWWWKWWWWWK...",
    "..KKKKKKKKKKK...",
    "................",
    "................",
    "................",
}};

const Art unchecked = {{
    "................",
    "................",
    "..KKKKKKKKKKK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KKKKKKKKKKK...",
    "................",
    "................",
    "................",
}};

// A group whose members are not all shown: the box of the others with a square in it.
const Art mixed = {{
    "................",
    "................",
    "..KKKKKKKKKKK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KWWKKKKKWWK...",
    "..KWWKKKKKWWK...",
    "..KWWKKKKKWWK...",
    "..KWWKKKKKWWK...",
    "..KWWKKKKKWWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KKKKKKKKKKK...",
    "................",
    "................",
    "................",
}};

const Art root = {{
    "................",
    ".KKKKKKKKK......",
    ".KYYYYYYYK......",
    ".KYYKKKKKKKKK...",
    ".KYYKYYYYYYYK...",
    ".KYYKYYKKKKKKKKK",
    ".KYYKYYKYYYYYYYK",
    ".KKKKYYKYYYYYYYK",
    "....KYYKYYYYYYYK",
    "....KKKKYYYYYYYK",
    ".......KYYYYYYYK",
    ".......KYYYYYYYK",
    ".......KYYYYYYYK",
    ".......KYYYYYYYK",
    ".......KKKKKKKKK",
    "................",
}};

// ---- the drag cursors (32 x 32, monochrome)

enum class Ink : uint8_t { clear, black, white };

struct Mono {
    Ink px[32][32] = {};
    void set(int x, int y, Ink ink) {
        if (x >= 0 && x < 32 && y >= 0 && y < 32) px[y][x] = ink;
    }
    Ink at(int x, int y) const { return x >= 0 && x < 32 && y >= 0 && y < 32 ? px[y][x] : Ink::clear; }
};

// The standard arrow pointer, tip at 0, 0: black outline ('K'), white inside ('W').
const char* const arrow[] = {
    "K...........",
    "KK..........",
    "KWK.........",
    "KWWK........",
    "KWWWK.......",
    "KWWWWK......",
    "KWWWWWK.....",
    "KWWWWWWK....",
    "KWWWWWWWK...",
    "KWWWWWWWWK..",
    "KWWWWWWWWWK.",
    "KWWWWWWKKKKK",
    "KWWWKWWK....",
    "KWWKKWWK....",
    "KWK..KWWK...",
    "KK...KWWK...",
    "K.....KWWK..",
    "......KWWK..",
    ".......KK...",
};

enum class Heads { up, down, both };

// A curved arrow right of the pointer: an arc bowed to the right, with an arrowhead at its
// upper end pointing up, at its lower end pointing down, or at both. Black, with a white rim so
// that it shows on any background.
void curved_arrow(Mono& m, Heads heads) {
    const double cx = 15.0, cy = 13.0, r = 9.0;
    Mono shape;
    // The shaft: the arc from -55 to +55 degrees, two pixels thick.
    for (int step = 0; step <= 220; ++step) {
        const double a = (-55.0 + step * 0.5) * 3.14159265358979 / 180.0;
        for (double rr = r - 0.5; rr <= r + 0.6; rr += 0.5) {
            const int x = int(std::lround(cx + rr * std::cos(a)));
            const int y = int(std::lround(cy + rr * std::sin(a)));
            shape.set(x, y, Ink::black);
        }
    }
    const int tipx = int(std::lround(cx + r * std::cos(55.0 * 3.14159265358979 / 180.0)));
    const int top = int(std::lround(cy - r * std::sin(55.0 * 3.14159265358979 / 180.0)));
    const int bottom = int(std::lround(cy + r * std::sin(55.0 * 3.14159265358979 / 180.0)));
    // An arrowhead: a filled triangle 4 rows tall, widening by one pixel a side each row.
    auto head = [&](int y0, int dir) {
        for (int i = 0; i < 4; ++i)
            for (int dx = -i; dx <= i + 1; ++dx) shape.set(tipx + dx, y0 + dir * i, Ink::black);
    };
    if (heads != Heads::down) head(top - 3, +1);
    if (heads != Heads::up) head(bottom + 3, -1);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (shape.at(x, y) == Ink::black) { m.set(x, y, Ink::black); continue; }
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) near = near || shape.at(x + dx, y + dy) == Ink::black;
            if (near && m.at(x, y) == Ink::clear) m.set(x, y, Ink::white);
        }
}

Mono drag_cursor(Heads heads) {
    Mono m;
    for (int y = 0; y < int(sizeof arrow / sizeof *arrow); ++y)
        for (int x = 0; arrow[y][x]; ++x) {
            if (arrow[y][x] == 'K') m.set(x, y, Ink::black);
            if (arrow[y][x] == 'W') m.set(x, y, Ink::white);
        }
    curved_arrow(m, heads);
    return m;
}

// A cursor file with one 32 x 32 monochrome image: the XOR picture and the AND mask, bottom-up,
// one bit a pixel. Black is AND 0 / XOR 0, white AND 0 / XOR 1, transparent AND 1 / XOR 0.
void write_cursor(const std::string& path, const Mono& m, int hot_x, int hot_y) {
    const uint32_t mask_bytes = 32 * 4;
    const uint32_t image = 40 + 8 + 2 * mask_bytes;
    Bytes b;
    b.u16(0);
    b.u16(2);  // cursor
    b.u16(1);
    b.u8(32);
    b.u8(32);
    b.u8(0);
    b.u8(0);
    b.u16(unsigned(hot_x));
    b.u16(unsigned(hot_y));
    b.u32(image);
    b.u32(6 + 16);
    bitmap_info_header(b, 32, 64, 1, 2, 2 * mask_bytes);
    b.u32(0x00000000);  // black
    b.u32(0x00FFFFFF);  // white
    for (int pass = 0; pass < 2; ++pass) {  // XOR, then AND
        for (int y = 31; y >= 0; --y)
            for (int byte = 0; byte < 4; ++byte) {
                unsigned bits = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const Ink ink = m.at(byte * 8 + bit, y);
                    const bool on = pass == 0 ? ink == Ink::white : ink == Ink::clear;
                    if (on) bits |= 0x80u >> bit;
                }
                b.u8(bits);
            }
    }
    b.write(path);
}

// ---- the toolbox picture (16 x 15, 16 colours): a small window with a blue title bar and a
// tree of items inside, a yellow pencil at the upper right, on silver.

const std::map<char, Rgb> toolbox_colours = {
    {'s', {192, 192, 192}}, {'K', {0, 0, 0}},     {'W', {255, 255, 255}}, {'B', {0, 0, 128}},
    {'Y', {255, 255, 0}},   {'g', {128, 128, 128}}, {'b', {0, 0, 255}},
};

const Art toolbox = {{
    "ssssssssssssssKs",
    "sssssssssssssKYK",
    "KKKKKKKKKKKsKYKs",
    "KBBBBBBBBBKKYKss",
    "KBBBBBBBBBKYKsss",
    "KKKKKKKKKKggKsss",
    "KWWWWWWWWWKsssss",
    "KWbbWWWWWWKsssss",
    "KWKWbbKKWWKsssss",
    "KWKWWWWWWWKsssss",
    "KWKKbbKKWWKsssss",
    "KWKWWWWWWWKsssss",
    "KWKKbbKKWWKsssss",
    "KWWWWWWWWWKsssss",
    "KKKKKKKKKKKsssss",
}};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) fail("usage: make_pictures <output directory>");
    const std::string dir = std::string(argv[1]) + "/";
    const std::pair<const char*, const Art*> items[] = {
        {"item_plus.bmp", &plus},       {"item_minus.bmp", &minus},         {"item_disconnected.bmp", &disconnected},
        {"item_checked.bmp", &checked}, {"item_unchecked.bmp", &unchecked}, {"item_root.bmp", &root},
        {"item_mixed.bmp", &mixed},
    };
    for (const auto& [name, art] : items) {
        art->validate(name, 16, 16, item_colours);
        write_bmp24(dir + name, *art, item_colours);
    }
    write_cursor(dir + "drag_up.cur", drag_cursor(Heads::up), 0, 0);
    write_cursor(dir + "drag_down.cur", drag_cursor(Heads::down), 0, 0);
    write_cursor(dir + "drag_both.cur", drag_cursor(Heads::both), 0, 0);
    toolbox.validate("toolbox.bmp", 16, 15, toolbox_colours);
    write_bmp4(dir + "toolbox.bmp", toolbox, toolbox_colours);
    return 0;
}
