// make_pictures: writes the control's pictures as Windows picture files into a directory, for
// the resource compiler. It runs on the build machine (it is built with the host's compiler),
// so it uses nothing of Windows: the file formats are written byte by byte.
//
//   item_plus.bmp ... item_mixed.bmp  the seven 16 x 16 item images, 24-bit, magenta background,
//   item_plus_24.bmp ... item_mixed_32.bmp
//                                     and the same drawn for 24 and 32 pixels (144 and 192 dpi)
//   drag_up.cur, drag_down.cur, drag_both.cur
//                                     the three monochrome drag cursors, hot spot 0, 0, each
//                                     with images of 32, 48 and 64 pixels (96, 144, 192 dpi)
//   toolbox.bmp                       the 16 x 15 toolbox picture, 16 colours
//
// Every picture is drawn here, as character art (one character a pixel) or from shapes. The
// larger item images and cursors are drawn from shapes for their size (lines stay thin and
// edges sharp), never enlarged from the small ones.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
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

// ---- the item images drawn for a larger size: the shapes of the 16-pixel art, in its
// coordinates (pixel columns and rows), placed on the size's own pixel grid.

class Sketch {
public:
    explicit Sketch(int size) : size_(size), art_{std::vector<std::string>(size_t(size), std::string(size_t(size), '.'))} {}
    const Art& art() const { return art_; }
    // Lines are one pixel thick at 16 and 24 pixels, two at 32.
    int line() const { return size_ >= 32 ? size_ / 16 : 1; }
    // A position of the 16-pixel grid on this one (the left or top edge of that pixel).
    int at(double v16) const { return int(std::lround(v16 * size_ / 16.0)); }

    // Pixels [x0, x1) x [y0, y1) of this grid.
    void fill(int x0, int y0, int x1, int y1, char c) {
        for (int y = std::max(y0, 0); y < std::min(y1, size_); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, size_); ++x) art_.rows[size_t(y)][size_t(x)] = c;
    }
    // The box over pixel columns l..r and rows t..b of the 16-pixel art: a frame of `edge` filled
    // with `inside`.
    void box(int l, int t, int r, int b, char edge, char inside) {
        const int x0 = at(l), y0 = at(t), x1 = at(r + 1), y1 = at(b + 1), w = line();
        fill(x0, y0, x1, y1, edge);
        fill(x0 + w, y0 + w, x1 - w, y1 - w, inside);
    }
    // A bar of the line's thickness centred on row (or column) `centre16` of the 16-pixel art,
    // over columns (or rows) from..to.
    void hbar(double centre16, int from, int to, char c) {
        const int y = int(std::lround(centre16 * size_ / 16.0 - line() / 2.0));
        fill(at(from), y, at(to + 1), y + line(), c);
    }
    void vbar(double centre16, int from, int to, char c) {
        const int x = int(std::lround(centre16 * size_ / 16.0 - line() / 2.0));
        fill(x, at(from), x + line(), at(to + 1), c);
    }
    // A stroke through points of the 16-pixel art, `width16` wide there: every pixel whose
    // centre lies that close to the path.
    void stroke(std::initializer_list<std::pair<double, double>> path, double width16, char c) {
        const double k = size_ / 16.0, half = width16 * k / 2.0;
        const std::vector<std::pair<double, double>> p(path);
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x)
                for (size_t i = 1; i < p.size(); ++i)
                    if (distance(x + 0.5, y + 0.5, p[i - 1].first * k, p[i - 1].second * k, p[i].first * k,
                                 p[i].second * k) <= half)
                        art_.rows[size_t(y)][size_t(x)] = c;
    }

private:
    static double distance(double x, double y, double ax, double ay, double bx, double by) {
        const double dx = bx - ax, dy = by - ay, len = dx * dx + dy * dy;
        double t = len > 0 ? ((x - ax) * dx + (y - ay) * dy) / len : 0;
        t = std::max(0.0, std::min(1.0, t));
        return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
    }
    int size_;
    Art art_;
};

Art sized_plus(int size, bool with_vertical) {
    Sketch s(size);
    s.box(3, 3, 11, 11, 'g', 'W');
    s.hbar(7.5, 5, 9, 'K');
    if (with_vertical) s.vbar(7.5, 5, 9, 'K');
    return s.art();
}

// The tick of the check and disconnected images, its corner at (x, 10.5) of the 16-pixel art.
void tick(Sketch& s, double x, char c) {
    s.stroke({{x - 2.0, 7.6}, {x, 10.2}, {x + 4.2, 5.6}}, 2.0, c);
}

enum class Check { empty, ticked, mixed };

Art sized_checkbox(int size, Check check) {
    Sketch s(size);
    s.box(2, 2, 12, 12, 'K', 'W');
    if (check == Check::ticked) tick(s, 6.5, 'K');
    if (check == Check::mixed) s.fill(s.at(5), s.at(5), s.at(10), s.at(10), 'K');
    return s.art();
}

Art sized_disconnected(int size) {
    Sketch s(size);
    s.box(1, 2, 11, 12, 'G', 'W');
    tick(s, 5.5, 'l');
    s.fill(s.at(14), s.at(2), s.at(16), s.at(10), 'R');
    s.fill(s.at(14), s.at(11), s.at(16), s.at(13), 'R');
    return s.art();
}

Art sized_root(int size) {
    Sketch s(size);
    s.box(1, 1, 9, 7, 'K', 'Y');
    s.box(4, 3, 12, 9, 'K', 'Y');
    s.box(7, 5, 15, 14, 'K', 'Y');
    return s.art();
}

// ---- the drag cursors (monochrome; 32 x 32 at 96 dpi, 48 and 64 for 144 and 192)

enum class Ink : uint8_t { clear, black, white };

struct Mono {
    explicit Mono(int n) : size(n), px(size_t(n * n), Ink::clear) {}
    int size;
    std::vector<Ink> px;
    void set(int x, int y, Ink ink) {
        if (x >= 0 && x < size && y >= 0 && y < size) px[size_t(y * size + x)] = ink;
    }
    Ink at(int x, int y) const { return x >= 0 && x < size && y >= 0 && y < size ? px[size_t(y * size + x)] : Ink::clear; }
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

// The same arrow's outline, in the coordinates of the 32-pixel cursor (pixel edges).
const double arrow_outline[][2] = {{0, 0},    {11.5, 11.5}, {7.5, 11.5}, {9.8, 17.2},
                                   {7.8, 18.6}, {5.4, 13.3},  {0.5, 16.8}};

bool inside_arrow(double x, double y) {
    const size_t n = sizeof arrow_outline / sizeof *arrow_outline;
    bool in = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = arrow_outline[i][0], yi = arrow_outline[i][1];
        const double xj = arrow_outline[j][0], yj = arrow_outline[j][1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

// The arrow at 32 pixels from its art; larger, its outline filled white with a black rim one
// pixel wide (two from 64 pixels on).
void pointer_arrow(Mono& m) {
    if (m.size == 32) {
        for (int y = 0; y < int(sizeof arrow / sizeof *arrow); ++y)
            for (int x = 0; arrow[y][x]; ++x) {
                if (arrow[y][x] == 'K') m.set(x, y, Ink::black);
                if (arrow[y][x] == 'W') m.set(x, y, Ink::white);
            }
        return;
    }
    const double k = m.size / 32.0;
    const int rim = m.size / 32;
    auto in = [&](int x, int y) { return inside_arrow((x + 0.5) / k, (y + 0.5) / k); };
    for (int y = 0; y < m.size; ++y)
        for (int x = 0; x < m.size; ++x) {
            if (!in(x, y)) continue;
            bool edge = false;
            for (int d = 1; d <= rim; ++d)
                edge = edge || !in(x - d, y) || !in(x + d, y) || !in(x, y - d) || !in(x, y + d);
            m.set(x, y, edge ? Ink::black : Ink::white);
        }
    m.set(0, 0, Ink::black);  // the hot spot shows
}

enum class Heads { up, down, both };

// A curved arrow right of the pointer: an arc bowed to the right, with an arrowhead at its
// upper end pointing up, at its lower end pointing down, or at both. Black, with a white rim so
// that it shows on any background. Its measures are those of the 32-pixel cursor, scaled.
void curved_arrow(Mono& m, Heads heads) {
    const double k = m.size / 32.0;
    const double cx = 15.0 * k, cy = 13.0 * k, r = 9.0 * k;
    Mono shape(m.size);
    // The shaft: the arc from -55 to +55 degrees, two pixels thick at 32.
    const int steps = int(std::lround(220 * k));
    for (int step = 0; step <= steps; ++step) {
        const double a = (-55.0 + step * 110.0 / steps) * 3.14159265358979 / 180.0;
        for (double rr = r - 0.5 * k; rr <= r + 0.6 * k; rr += 0.5) {
            const int x = int(std::lround(cx + rr * std::cos(a)));
            const int y = int(std::lround(cy + rr * std::sin(a)));
            shape.set(x, y, Ink::black);
        }
    }
    const int tipx = int(std::lround(cx + r * std::cos(55.0 * 3.14159265358979 / 180.0)));
    const int top = int(std::lround(cy - r * std::sin(55.0 * 3.14159265358979 / 180.0)));
    const int bottom = int(std::lround(cy + r * std::sin(55.0 * 3.14159265358979 / 180.0)));
    // An arrowhead: a filled triangle 4 rows tall at 32, widening by one pixel a side each row.
    const int rows = int(std::lround(4 * k));
    auto head = [&](int y0, int dir) {
        for (int i = 0; i < rows; ++i)
            for (int dx = -i; dx <= i + 1; ++dx) shape.set(tipx + dx, y0 + dir * i, Ink::black);
    };
    if (heads != Heads::down) head(top - (rows - 1), +1);
    if (heads != Heads::up) head(bottom + (rows - 1), -1);
    for (int y = 0; y < m.size; ++y)
        for (int x = 0; x < m.size; ++x) {
            if (shape.at(x, y) == Ink::black) { m.set(x, y, Ink::black); continue; }
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) near = near || shape.at(x + dx, y + dy) == Ink::black;
            if (near && m.at(x, y) == Ink::clear) m.set(x, y, Ink::white);
        }
}

Mono drag_cursor(Heads heads, int size) {
    Mono m(size);
    pointer_arrow(m);
    curved_arrow(m, heads);
    return m;
}

// A cursor file with one monochrome image per size: for each, the XOR picture and the AND
// mask, bottom-up, one bit a pixel, rows padded to four bytes. Black is AND 0 / XOR 0, white
// AND 0 / XOR 1, transparent AND 1 / XOR 0.
void write_cursor(const std::string& path, const std::vector<Mono>& images, int hot_x, int hot_y) {
    Bytes b;
    b.u16(0);
    b.u16(2);  // cursor
    b.u16(unsigned(images.size()));
    auto stride = [](const Mono& m) { return uint32_t((m.size + 31) / 32 * 4); };
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (const Mono& m : images) {
        const uint32_t image = 40 + 8 + 2 * stride(m) * uint32_t(m.size);
        b.u8(unsigned(m.size & 0xFF));
        b.u8(unsigned(m.size & 0xFF));
        b.u8(0);
        b.u8(0);
        b.u16(unsigned(hot_x));
        b.u16(unsigned(hot_y));
        b.u32(image);
        b.u32(offset);
        offset += image;
    }
    for (const Mono& m : images) {
        bitmap_info_header(b, m.size, 2 * m.size, 1, 2, 2 * stride(m) * uint32_t(m.size));
        b.u32(0x00000000);  // black
        b.u32(0x00FFFFFF);  // white
        for (int pass = 0; pass < 2; ++pass) {  // XOR, then AND
            for (int y = m.size - 1; y >= 0; --y)
                for (uint32_t byte = 0; byte < stride(m); ++byte) {
                    unsigned bits = 0;
                    for (int bit = 0; bit < 8; ++bit) {
                        const int x = int(byte) * 8 + bit;
                        const Ink ink = m.at(x, y);
                        const bool on = pass == 0 ? ink == Ink::white : (x >= m.size || ink == Ink::clear);
                        if (on) bits |= 0x80u >> bit;
                    }
                    b.u8(bits);
                }
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
        {"item_plus", &plus},       {"item_minus", &minus},         {"item_disconnected", &disconnected},
        {"item_checked", &checked}, {"item_unchecked", &unchecked}, {"item_root", &root},
        {"item_mixed", &mixed},
    };
    for (const auto& [name, art] : items) {
        art->validate(name, 16, 16, item_colours);
        write_bmp24(dir + name + ".bmp", *art, item_colours);
    }
    for (const int size : {24, 32}) {
        const std::pair<const char*, Art> sized[] = {
            {"item_plus", sized_plus(size, true)},       {"item_minus", sized_plus(size, false)},
            {"item_disconnected", sized_disconnected(size)}, {"item_checked", sized_checkbox(size, Check::ticked)},
            {"item_unchecked", sized_checkbox(size, Check::empty)}, {"item_root", sized_root(size)},
            {"item_mixed", sized_checkbox(size, Check::mixed)},
        };
        for (const auto& [name, art] : sized) {
            const std::string file = std::string(name) + "_" + std::to_string(size) + ".bmp";
            art.validate(file, size, size, item_colours);
            write_bmp24(dir + file, art, item_colours);
        }
    }
    const std::pair<const char*, Heads> cursors[] = {
        {"drag_up.cur", Heads::up}, {"drag_down.cur", Heads::down}, {"drag_both.cur", Heads::both}};
    for (const auto& [name, heads] : cursors)
        write_cursor(dir + name, {drag_cursor(heads, 32), drag_cursor(heads, 48), drag_cursor(heads, 64)}, 0, 0);
    toolbox.validate("toolbox.bmp", 16, 15, toolbox_colours);
    write_bmp4(dir + "toolbox.bmp", toolbox, toolbox_colours);
    return 0;
}
