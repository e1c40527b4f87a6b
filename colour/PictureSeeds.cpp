#include "PictureSeeds.h"

#include "Oklab.h"
#include "PictureDecoder.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A colour of the histogram: how often it was seen and its mean.
struct Counted {
    double weight = 0;
    double r = 0, g = 0, b = 0;  // sums, for the exact mean of a group
    Oklab lab;
};

constexpr int Bits = 5;
constexpr int Bins = 1 << (3 * Bits);
constexpr int Groups = 12;
constexpr int Rounds = 12;

std::vector<Counted> Histogram(const PicturePixels& p, int step)
{
    std::vector<Counted> bins(Bins);
    for (int y = step / 2; y < p.height; y += step) {
        const std::uint8_t* row = p.data + static_cast<std::size_t>(y) * p.stride;
        for (int x = step / 2; x < p.width; x += step) {
            const std::uint8_t* px = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(p.channels);
            if (p.channels == 4 && px[3] < 128)
                continue;
            Counted& bin = bins[static_cast<std::size_t>(((px[0] >> (8 - Bits)) << (2 * Bits)) | ((px[1] >> (8 - Bits)) << Bits) |
                                                         (px[2] >> (8 - Bits)))];
            bin.weight += 1;
            bin.r += px[0];
            bin.g += px[1];
            bin.b += px[2];
        }
    }
    std::vector<Counted> seen;
    for (Counted& bin : bins)
        if (bin.weight > 0) {
            bin.lab = ToOklab(MakeColor(static_cast<unsigned>(std::lround(bin.r / bin.weight)),
                                        static_cast<unsigned>(std::lround(bin.g / bin.weight)),
                                        static_cast<unsigned>(std::lround(bin.b / bin.weight))));
            seen.push_back(bin);
        }
    return seen;
}

double Distance2(const Oklab& x, const Oklab& y)
{
    const double dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return dL * dL + da * da + db * db;
}

struct Group {
    Counted sum;
    Oklab centre;
    TColor color = 0;
};

std::vector<Group> KMeans(const std::vector<Counted>& colors)
{
    // Starts: the most common colour, then each time the colour that
    // weighs most times its squared distance from the starts so far.
    std::vector<Oklab> centres;
    std::vector<double> nearest(colors.size(), std::numeric_limits<double>::infinity());
    const std::size_t k = std::min<std::size_t>(Groups, colors.size());
    std::size_t pick = 0;
    for (std::size_t i = 1; i < colors.size(); ++i)
        if (colors[i].weight > colors[pick].weight)
            pick = i;
    while (centres.size() < k) {
        centres.push_back(colors[pick].lab);
        double best = -1;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            nearest[i] = std::min(nearest[i], Distance2(colors[i].lab, centres.back()));
            if (colors[i].weight * nearest[i] > best) {
                best = colors[i].weight * nearest[i];
                pick = i;
            }
        }
        if (best <= 0)
            break;
    }
    std::vector<Group> groups(centres.size());
    std::vector<std::size_t> member(colors.size(), 0);
    for (int round = 0; round < Rounds; ++round) {
        for (std::size_t i = 0; i < colors.size(); ++i) {
            double best = std::numeric_limits<double>::infinity();
            for (std::size_t c = 0; c < centres.size(); ++c)
                if (const double d = Distance2(colors[i].lab, centres[c]); d < best) {
                    best = d;
                    member[i] = c;
                }
        }
        for (Group& g : groups)
            g = Group{};
        std::vector<Oklab> labSum(centres.size());
        for (std::size_t i = 0; i < colors.size(); ++i) {
            Group& g = groups[member[i]];
            g.sum.weight += colors[i].weight;
            g.sum.r += colors[i].r;
            g.sum.g += colors[i].g;
            g.sum.b += colors[i].b;
            labSum[member[i]].L += colors[i].lab.L * colors[i].weight;
            labSum[member[i]].a += colors[i].lab.a * colors[i].weight;
            labSum[member[i]].b += colors[i].lab.b * colors[i].weight;
        }
        for (std::size_t c = 0; c < centres.size(); ++c)
            if (groups[c].sum.weight > 0) {
                const double w = groups[c].sum.weight;
                centres[c] = {labSum[c].L / w, labSum[c].a / w, labSum[c].b / w};
            }
    }
    std::vector<Group> found;
    for (std::size_t c = 0; c < centres.size(); ++c) {
        Group& g = groups[c];
        if (g.sum.weight <= 0)
            continue;
        const double w = g.sum.weight;
        g.color = MakeColor(static_cast<unsigned>(std::lround(g.sum.r / w)), static_cast<unsigned>(std::lround(g.sum.g / w)),
                            static_cast<unsigned>(std::lround(g.sum.b / w)));
        g.centre = ToOklab(g.color);
        found.push_back(g);
    }
    return found;
}

std::vector<TColor> SeedsFromColors(const std::vector<Counted>& colors);

// Groups nearer each other than a glance tells apart become one: k-means
// splits a colour that a little noise spreads over several bins, and a
// colour's area is what counts.
std::vector<Group> Merged(std::vector<Group> groups)
{
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) { return a.sum.weight > b.sum.weight; });
    std::vector<Group> merged;
    for (const Group& g : groups) {
        auto into = std::find_if(merged.begin(), merged.end(),
                                 [&](const Group& m) { return OklabDistance(m.centre, g.centre) < 0.06; });
        if (into == merged.end()) {
            merged.push_back(g);
            continue;
        }
        into->sum.weight += g.sum.weight;
        into->sum.r += g.sum.r;
        into->sum.g += g.sum.g;
        into->sum.b += g.sum.b;
        const double w = into->sum.weight;
        into->color = MakeColor(static_cast<unsigned>(std::lround(into->sum.r / w)),
                                static_cast<unsigned>(std::lround(into->sum.g / w)),
                                static_cast<unsigned>(std::lround(into->sum.b / w)));
        // The largest part keeps placing it, so merging does not drift.
    }
    return merged;
}

bool Usable(const PicturePixels& picture)
{
    return picture.data && picture.width > 0 && picture.height > 0 && (picture.channels == 3 || picture.channels == 4);
}

}  // namespace

int PictureSampleStep(int width, int height)
{
    const double pixels = static_cast<double>(width) * static_cast<double>(height);
    // The same step across and down, so the samples cover the picture evenly.
    return std::max(1, static_cast<int>(std::ceil(std::sqrt(pixels / PictureSampleLimit))));
}

std::vector<TColor> SeedsFromPicture(const PicturePixels& picture)
{
    if (!Usable(picture))
        return {};
    return SeedsFromColors(Histogram(picture, PictureSampleStep(picture.width, picture.height)));
}

std::vector<TColor> SeedsFromSamples(const PicturePixels& samples)
{
    if (!Usable(samples))
        return {};
    return SeedsFromColors(Histogram(samples, 1));
}

bool SeedsFromPictureFile(const std::string& path, std::vector<TColor>& seeds, std::string& error)
{
    SampledPicture picture;
    if (!DecodePictureFileSamples(path, PictureSampleStep, picture, error))
        return false;
    seeds = SeedsFromSamples({picture.rgba.data(), picture.columns, picture.rows, 4,
                              static_cast<std::size_t>(picture.columns) * 4});
    if (seeds.empty()) {
        error = "the picture has no colours to take";
        return false;
    }
    return true;
}

namespace {

std::vector<TColor> SeedsFromColors(const std::vector<Counted>& colors)
{
    if (colors.empty())
        return {};
    std::vector<Group> groups = Merged(KMeans(colors));
    double total = 0;
    for (const Group& g : groups)
        total += g.sum.weight;
    std::vector<TColor> seeds;
    std::vector<Oklab> chosen;
    const auto farFromChosen = [&](const Group& g) {
        for (const Oklab& c : chosen)
            if (OklabDistance(c, g.centre) < 0.1)
                return false;
        return true;
    };
    // What catches the eye first: chroma and area together, chroma
    // counting twice, so a vivid colour on a fifth of the picture comes
    // before a dull one on half of it. Each next one differs from those before.
    while (seeds.size() < 3) {
        const Group* best = nullptr;
        double bestScore = -1;
        for (const Group& g : groups) {
            if (!farFromChosen(g))
                continue;
            const double chroma = ToOklch(g.centre).C + 0.01;
            const double score = g.sum.weight / total * chroma * chroma;
            if (score > bestScore) {
                bestScore = score;
                best = &g;
            }
        }
        if (!best)
            break;
        seeds.push_back(best->color);
        chosen.push_back(best->centre);
    }
    return seeds;
}

}  // namespace
