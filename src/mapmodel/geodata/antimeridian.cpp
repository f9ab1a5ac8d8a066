#include "mapmodel/geodata/antimeridian.h"
#include <algorithm>
#include <cmath>
#include <span>

namespace mapmodel::geodata {

namespace {

bool geographic(std::span<const Vec> part) {
    return std::all_of(part.begin(), part.end(), [](const Vec& p) { return std::fabs(p.x) <= 180 && std::fabs(p.y) <= 90; });
}

// The step of longitude from a to b the short way round: b.x - a.x, less or more a whole turn
// when that is shorter (a step between the antimeridian's two sides is then no step at all).
double step(const Vec& a, const Vec& b) {
    const double dx = b.x - a.x;
    if (std::fabs(dx) <= 180) return dx;
    return dx > 0 ? dx - 360 : dx + 360;
}

// A step across the antimeridian: longer than half the world, and not between two positions on
// the antimeridian itself (drawn flat, that is an edge along the map's side or across it).
bool crossing(const Vec& a, const Vec& b) {
    return std::fabs(b.x - a.x) > 180 && !(std::fabs(a.x) == 180 && std::fabs(b.x) == 180);
}

// How far a ring goes round in longitude, the short way at every step: a whole turn (360, or -360)
// for a ring around a pole, else nothing.
double around(std::span<const Vec> ring) {
    double sum = 0;
    for (size_t i = 0; i < ring.size(); ++i) sum += step(ring[i], ring[(i + 1) % ring.size()]);
    return sum;
}

// Whether a part must be cut: it steps across the antimeridian, or it is a ring around a pole.
bool crosses(std::span<const Vec> part, bool ring) {
    for (size_t i = 1; i < part.size(); ++i)
        if (crossing(part[i - 1], part[i])) return true;
    if (!ring || part.size() < 2) return false;
    return crossing(part.back(), part.front()) || std::fabs(around(part)) > 180;
}

// The point of segment a-b at longitude x.
Vec at_longitude(const Vec& a, const Vec& b, double x) {
    if (x == a.x) return a;  // exactly, so that a point on a band's edge is not repeated as a near twin
    if (x == b.x) return b;
    const double t = (x - a.x) / (b.x - a.x);
    return {x, a.y + t * (b.y - a.y)};
}

// The pieces of a ring (with its longitudes continued across the antimeridian) in each copy of
// the map it reaches into, the copy of `turn` lying between turn * 360 - 180 and turn * 360 + 180:
// the ring clipped to every copy's band at once, each edge to the bands it covers (so the work
// grows with the ring and the points it yields, never with ring times copies). An edge covers a
// copy when it reaches into its band; there it adds where it enters the band (if it starts
// outside) and where it ends or leaves. Only copies whose band the ring reaches into beyond its
// edges count.
// The ring is passed over twice: once to count the points of each copy, once to put them in
// their places (each copy's points in their order): a ring that crosses at every step makes a
// piece of a few points per step, and a list per piece would cost many times its points.
struct Pieces {
    int first = 0;
    std::vector<Vec> points;     // the pieces one after another, first copy first
    std::vector<size_t> starts;  // of the piece of each copy (first + i) in `points`, and its end
};

// The ring is `ring` followed by `closing`.
Pieces clip_to_copies(std::span<const Vec> ring, std::span<const Vec> closing, double low, double high) {
    const int first = int(std::floor((low + 180) / 360)), last = int(std::ceil((high + 180) / 360)) - 1;
    const size_t n = ring.size() + closing.size();
    auto at = [&](size_t i) -> const Vec& { return i < ring.size() ? ring[i] : closing[i - ring.size()]; };
    // Each point of each copy's piece, in the ring's order, through add(copy, point).
    auto each_point = [&](auto&& add) {
        for (size_t i = 0; i < n; ++i) {
            const Vec& s = at((i + n - 1) % n);
            const Vec& e = at(i);
            const double lo = std::min(s.x, e.x), hi = std::max(s.x, e.x);
            const int from = std::max(first, int(std::ceil((lo - 180) / 360))), to = std::min(last, int(std::floor((hi + 180) / 360)));
            for (int turn = from; turn <= to; ++turn) {
                const double west = turn * 360.0 - 180, east = west + 360;
                auto inside = [&](const Vec& p) { return p.x >= west && p.x <= east; };
                auto edge_near = [&](const Vec& p) { return p.x < west ? west : east; };  // of the band, for a point outside it
                const size_t k = size_t(turn - first);
                if (!inside(s)) add(k, at_longitude(s, e, edge_near(s)));
                if (inside(e)) add(k, e);
                else if (inside(s) || (s.x < west) != (e.x < west)) add(k, at_longitude(s, e, edge_near(e)));
            }
        }
    };
    Pieces p;
    p.first = first;
    const size_t copies = size_t(std::max(0, last - first + 1));
    // Counted into starts[k + 2], summed so that starts[k + 1] is where copy k's piece begins, then
    // each point placed at starts[k + 1], which moves on to the piece's end: starts[k] and
    // starts[k + 1] are then the piece's bounds.
    p.starts.assign(copies + 2, 0);
    each_point([&](size_t k, const Vec&) { ++p.starts[k + 2]; });
    for (size_t k = 2; k < p.starts.size(); ++k) p.starts[k] += p.starts[k - 1];
    p.points.resize(p.starts.back());
    each_point([&](size_t k, const Vec& v) { p.points[p.starts[k + 1]++] = v; });
    p.starts.pop_back();
    return p;
}

void cut_line(std::span<const Vec> line, PartList& out) {
    std::vector<Vec> piece{line.front()};
    for (size_t i = 1; i < line.size(); ++i) {
        const Vec& a = line[i - 1];
        const Vec& b = line[i];
        const double dx = step(a, b);
        if (crossing(a, b)) {
            // Through the edge on a's side, on from the other.
            const double edge = a.x > 0 ? 180 : -180;
            const Vec through = at_longitude(a, {a.x + dx, b.y}, edge);
            piece.push_back(through);
            out.add_part(piece);
            piece = {{-edge, through.y}};
        }
        piece.push_back(b);
    }
    out.add_part(piece);
}

// The ring's own points are changed: its longitudes are continued across the antimeridian where
// they stand (the part is not needed afterwards).
void cut_ring(std::span<Vec> ring, PartList& out) {
    const double turn = around(ring);
    double mean = 0;
    for (const Vec& p : ring) mean += p.y;
    Vec previous = ring.front();  // as it stood
    for (size_t i = 1; i < ring.size(); ++i) {
        const Vec was = ring[i];
        ring[i].x = ring[i - 1].x + step(previous, was);
        previous = was;
    }
    std::vector<Vec> closing;
    if (std::fabs(turn) > 180) {
        // Once around a pole: closed along the map's edge on the side of the pole it goes round.
        const double pole = mean < 0 ? -90 : 90;
        const double end = ring.front().x + turn;
        closing = {{end, ring.front().y}, {end, pole}, {ring.front().x, pole}};
    }
    double low = ring.front().x, high = low;
    for (const Vec& p : ring) low = std::min(low, p.x), high = std::max(high, p.x);
    for (const Vec& p : closing) low = std::min(low, p.x), high = std::max(high, p.x);
    // One piece per copy of the map the ring reaches into, moved back onto the map.
    Pieces pieces = clip_to_copies(ring, closing, low, high);
    // The pieces made final where they stand (a point twice in a row once, the closing point
    // dropped, fewer than three points no piece, moved back onto the map), so that they are not
    // copied while their copy is made; the start of each piece kept goes where the starts stood
    // (the j-th kept at j, never past the piece being looked at).
    std::vector<Vec>& points = pieces.points;
    std::vector<size_t>& starts = pieces.starts;
    size_t w = 0, kept = 0;
    for (size_t k = 0; k + 1 < starts.size(); ++k) {
        const size_t begin = w, from = starts[k], to = starts[k + 1];
        for (size_t i = from; i < to; ++i)
            if (w == begin || !(points[w - 1] == points[i])) points[w++] = points[i];
        if (w - begin > 1 && points[begin] == points[w - 1]) --w;
        if (w - begin < 3) {
            w = begin;
            continue;
        }
        const double shift = (pieces.first + int(k)) * 360.0;
        for (size_t i = begin; i < w; ++i) points[i].x -= shift;
        starts[kept++] = begin;
    }
    points.resize(w);
    starts.resize(kept);
    if (out.empty()) {  // the ring's pieces are the parts
        out.points = std::move(points);
        if (!starts.empty()) starts.erase(starts.begin());
        out.starts = std::move(starts);
        return;
    }
    for (size_t k = 0; k < starts.size(); ++k)
        out.add_part(std::span<const Vec>(points).subspan(starts[k], (k + 1 < starts.size() ? starts[k + 1] : w) - starts[k]));
}

}  // namespace

PartList cut_at_antimeridian(PartList&& parts, bool rings) {
    // Most data never crosses: then the parts pass untouched.
    auto each_part = [&](auto&& visit) {
        for (size_t k = 0; k <= parts.starts.size(); ++k) {
            const size_t from = k == 0 ? 0 : parts.starts[k - 1];
            const size_t to = k < parts.starts.size() ? parts.starts[k] : parts.points.size();
            visit(std::span<Vec>(parts.points.data() + from, to - from));
        }
    };
    bool any = false;
    each_part([&](std::span<const Vec> part) { any = any || (geographic(part) && crosses(part, rings)); });
    if (!any) return std::move(parts);

    PartList out;
    each_part([&](std::span<Vec> part) {
        if (part.empty()) return;
        if (!geographic(part) || !crosses(part, rings)) out.add_part(part);
        else if (rings) cut_ring(part, out);
        else cut_line(part, out);
    });
    return out;
}

}  // namespace mapmodel::geodata
