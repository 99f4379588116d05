// Writes the sample town's sewer network as GeoJSON to standard output. Deterministic: the committed
// town.geojson is its output. Rebuild it with
//   g++ -std=c++20 -O2 -o /tmp/make_town examples/town/make_town.cpp && /tmp/make_town >
//   examples/town/town.geojson
//
// The town: a trunk sewer under Main Street runs east along the valley to the treatment plant; seven
// streets drain south into it, some with side lanes; at manhole MS24 a storm relief sewer leaves the
// trunk over a 0.30 m weir towards the river. Household blocks (kind 2) line the streets, larger rain
// areas (kind 1) lie behind them, and an industrial zone (kind 4) drains into the lower trunk.
// Units: metres, hectares, inhabitants per hectare; PIPE_DIA_IN in metres, SECTION_SLOPE in per mille.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kOriginX = 512000.0;   // m, east
constexpr double kOriginY = 5041000.0;  // m, north
constexpr double kSpacing = 50.0;       // m between manholes
constexpr double kCover = 1.9;          // m from terrain to the invert at the head of a sewer
constexpr double kMinSlope = 0.003;     // m/m
constexpr double kWeirHeight = 0.30;    // m, relief sewer above the trunk invert
constexpr double kReliefSlope = 0.004;  // m/m

struct Node {
    std::string name;
    double x, y;  // m, relative to the origin
    double terrain = 0;
    double invert = 0;
};

struct Section {
    std::string name;
    int from, to;
    double dia = 0;  // m
    double levelStart = 0, levelEnd = 0;
    int upstream = 0;  // sections draining through this one, itself included
};

struct Area {
    std::string name, section;
    int kind;
    double density, runoff;
    std::vector<std::pair<double, double>> ring;
};

std::vector<Node> nodes;
std::vector<Section> sections;
std::vector<Area> areas;
std::map<std::string, int> nodeIndex;

// Gently undulating terrain falling south towards the river and east along the valley.
double Terrain(double x, double y) {
    return 212.0 + 0.0048 * y - 0.0026 * x + 0.35 * std::sin(x / 260.0) + 0.25 * std::cos(y / 190.0);
}

int AddNode(const std::string& name, double x, double y) {
    nodes.push_back({name, x, y, Terrain(x, y)});
    nodeIndex[name] = static_cast<int>(nodes.size()) - 1;
    return static_cast<int>(nodes.size()) - 1;
}

int AddSection(const std::string& name, int from, int to) {
    sections.push_back({name, from, to});
    return static_cast<int>(sections.size()) - 1;
}

double Length(const Section& s) {
    return std::hypot(nodes[s.to].x - nodes[s.from].x, nodes[s.to].y - nodes[s.from].y);
}

char buf[64];
const char* Num(const char* fmt, double v) {
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// A street of `count` sections from (x0, y0) in direction (dx, dy), draining back to `outlet`.
// Returns the manholes from the outlet outwards.
std::vector<int> Street(const std::string& code, int outlet, double dx, double dy, int count) {
    std::vector<int> chain{outlet};
    for (int k = 1; k <= count; ++k) {
        char n[32];
        std::snprintf(n, sizeof n, "%s%02d", code.c_str(), k);
        int node = AddNode(std::string("MH-") + n, nodes[outlet].x + dx * kSpacing * k,
                           nodes[outlet].y + dy * kSpacing * k);
        chain.push_back(node);
        AddSection(n, node, chain[chain.size() - 2]);
    }
    return chain;
}

// Household blocks along a street's sections (one side) and rain areas behind every second one.
void Blocks(const std::string& code, const std::vector<int>& chain, double nx, double ny, int seed) {
    for (std::size_t k = 1; k < chain.size(); ++k) {
        const Node& a = nodes[chain[k - 1]];
        const Node& b = nodes[chain[k]];
        char sec[32];
        std::snprintf(sec, sizeof sec, "%s%02zu", code.c_str(), k);
        const int v = (seed * 7 + static_cast<int>(k) * 13) % 10;
        auto quad = [&](double near, double far) {
            return std::vector<std::pair<double, double>>{{a.x + nx * near, a.y + ny * near},
                                                          {b.x + nx * near, b.y + ny * near},
                                                          {b.x + nx * far, b.y + ny * far},
                                                          {a.x + nx * far, a.y + ny * far}};
        };
        areas.push_back({std::string("H-") + sec, sec, 2, 60.0 + 9.0 * v, 0.35 + 0.02 * v, quad(6.0, 46.0)});
        if (k % 2 == 0)
            areas.push_back(
                {std::string("R-") + sec, sec, 1, 40.0 + 5.0 * v, 0.55 + 0.03 * v, quad(-6.0, -56.0)});
    }
}

// Section indices draining into a node.
std::vector<int> Incoming(int node) {
    std::vector<int> in;
    for (int i = 0; i < static_cast<int>(sections.size()); ++i)
        if (sections[i].to == node) in.push_back(i);
    return in;
}

int CountUpstream(int s) {
    int n = 1;
    for (int i : Incoming(sections[s].from)) n += CountUpstream(i);
    return sections[s].upstream = n;
}

double DiameterFor(int upstream) {
    if (upstream <= 8) return 0.2354;   // PVC-U SN8 DN/OD 250
    if (upstream <= 20) return 0.2966;  // PVC-U SN8 DN/OD 315
    if (upstream <= 40) return 0.400;   // concrete DN 400
    if (upstream <= 70) return 0.500;   // concrete DN 500
    if (upstream <= 110) return 0.600;  // concrete DN 600
    return 0.700;                       // concrete DN 700
}

// The section leaving a node (the tree has one), or -1 at the plant.
int Outgoing(int node) {
    for (int i = 0; i < static_cast<int>(sections.size()); ++i)
        if (sections[i].from == node) return i;
    return -1;
}

// Inverts from the heads downstream: a head lies kCover below the terrain; a pipe falls with the terrain
// but at least at the minimum slope; at a manhole the outgoing pipe's crown is no higher than the crowns
// of the incoming pipes, and its invert keeps at least kCover below the terrain.
void Lay(int node) {
    Node& n = nodes[node];
    n.invert = n.terrain - kCover;
    const int out = Outgoing(node);
    const double outDia = out >= 0 ? sections[out].dia : 0.0;
    for (int i : Incoming(node)) {
        Lay(sections[i].from);
        Section& s = sections[i];
        const Node& up = nodes[s.from];
        s.levelStart = up.invert;
        s.levelEnd = s.levelStart - std::max(kMinSlope * Length(s), up.terrain - n.terrain);
        n.invert = std::min(n.invert, s.levelEnd - std::max(0.0, outDia - s.dia));
    }
}

double Round(double v, double unit) {
    return std::round(v / unit) * unit;
}

}  // namespace

int main() {
    // Main Street: the trunk from the west end (MS01) east to the treatment plant.
    const int trunkCount = 36;
    std::vector<int> trunk;
    for (int k = 1; k <= trunkCount + 1; ++k) {
        char n[16];
        std::snprintf(n, sizeof n, "MH-MS%02d", k);
        trunk.push_back(AddNode(n, 40.0 + kSpacing * (k - 1), 300.0 + 8.0 * std::sin(k / 4.0)));
    }
    const int plant = AddNode("WWTP", nodes[trunk.back()].x + 60.0, nodes[trunk.back()].y - 70.0);
    for (int k = 1; k <= trunkCount; ++k) {
        char n[16];
        std::snprintf(n, sizeof n, "MS%02d", k);
        AddSection(n, trunk[k - 1], trunk[k]);
    }
    AddSection("MS-PLANT", trunk.back(), plant);

    // Streets draining south into the trunk (name code, trunk manhole, sections), with side lanes.
    struct StreetSpec {
        const char* code;
        int at;
        int count;
        const char* lane;
        int laneAt;
        int laneCount;
        int laneDir;
    };
    const StreetSpec streets[] = {
        {"OAK", 2, 9, "BIRCH", 4, 4, 1},        {"ELM", 7, 11, "CEDAR", 6, 5, -1},
        {"MILL", 12, 12, "MAPLE", 5, 4, 1},     {"CHURCH", 16, 8, nullptr, 0, 0, 0},
        {"SCHOOL", 20, 10, "WILLOW", 7, 4, -1}, {"STATION", 26, 7, "ASH", 3, 3, 1},
        {"PARK", 30, 6, nullptr, 0, 0, 0},
    };
    int seed = 1;
    for (const auto& st : streets) {
        auto chain = Street(st.code, trunk[st.at - 1], 0.0, 1.0, st.count);
        Blocks(st.code, chain, 1.0, 0.0, seed++);
        if (st.lane) {
            auto lane = Street(st.lane, chain[st.laneAt], st.laneDir, 0.0, st.laneCount);
            Blocks(st.lane, lane, 0.0, 1.0, seed++);
        }
    }
    // The industrial zone south of the lower trunk.
    const int mill = AddNode("MH-IND01", nodes[trunk[31]].x, nodes[trunk[31]].y - kSpacing);
    const int mill2 = AddNode("MH-IND02", nodes[trunk[31]].x, nodes[trunk[31]].y - 2 * kSpacing);
    AddSection("IND01", mill, trunk[31]);
    AddSection("IND02", mill2, mill);
    for (int k = 0; k < 3; ++k) {
        const double x0 = nodes[trunk[29 + k * 2]].x - 40.0, y0 = nodes[trunk[31]].y - 20.0;
        areas.push_back({"I-" + std::to_string(k + 1),
                         k == 0 ? "IND01" : (k == 1 ? "IND02" : "MS33"),
                         4,
                         8.0 + 3.0 * k,
                         0.82 + 0.03 * k,
                         {{x0, y0}, {x0 + 95.0, y0}, {x0 + 95.0, y0 - 160.0}, {x0, y0 - 160.0}}});
    }

    // Diameters from the number of sections upstream, then levels from the plant upstream.
    for (int i = 0; i < static_cast<int>(sections.size()); ++i)
        if (sections[i].to == plant) CountUpstream(i);
    for (auto& s : sections) s.dia = DiameterFor(s.upstream);
    Lay(plant);

    // The storm relief: from MS24 over a weir south to the river outfall.
    const int division = trunk[23];
    int prev = division;
    double level = nodes[division].invert + kWeirHeight;
    const char* reliefNames[] = {"RELIEF1", "RELIEF2", "RELIEF3", "RELIEF4"};
    for (int k = 0; k < 4; ++k) {
        const bool last = k == 3;
        const int n = AddNode(last ? "RIVER-OUT" : "MH-RL0" + std::to_string(k + 1),
                              nodes[division].x + 15.0 * (k + 1), nodes[division].y - 45.0 * (k + 1));
        int s = AddSection(reliefNames[k], prev, n);
        sections[s].dia = 0.400;
        sections[s].levelStart = level;
        sections[s].levelEnd = level - kReliefSlope * Length(sections[s]);
        level = sections[s].levelEnd;
        nodes[n].invert = level;
        prev = n;
    }

    std::printf("{\n\"type\": \"FeatureCollection\",\n\"name\": \"town\",\n\"features\": [\n");
    bool first = true;
    auto sep = [&] {
        std::printf(first ? "" : ",\n");
        first = false;
    };
    for (const auto& n : nodes) {
        sep();
        std::printf("{\"type\": \"Feature\", \"properties\": {\"name\": \"%s\", ", n.name.c_str());
        std::printf("\"terrain_height\": %s}, ", Num("%.2f", n.terrain));
        std::printf("\"geometry\": {\"type\": \"Point\", \"coordinates\": [%s, ",
                    Num("%.2f", kOriginX + n.x));
        std::printf("%s]}}", Num("%.2f", kOriginY + n.y));
    }
    for (const auto& s : sections) {
        sep();
        const double ls = Round(s.levelStart, 0.001), le = Round(s.levelEnd, 0.001);
        const double slope = Round((ls - le) / Length(s) * 1000.0, 0.001);  // per mille
        std::printf("{\"type\": \"Feature\", \"properties\": {\"name\": \"%s\", ", s.name.c_str());
        std::printf("\"level_start\": %s, ", Num("%.3f", ls));
        std::printf("\"level_end\": %s, ", Num("%.3f", le));
        std::printf("\"PIPE_DIA_IN\": %s, ", Num("%.4f", s.dia));
        std::printf("\"SECTION_SLOPE\": %s}, ", Num("%.3f", slope));
        std::printf("\"geometry\": {\"type\": \"LineString\", \"coordinates\": [[%s, ",
                    Num("%.2f", kOriginX + nodes[s.from].x));
        std::printf("%s], ", Num("%.2f", kOriginY + nodes[s.from].y));
        std::printf("[%s, ", Num("%.2f", kOriginX + nodes[s.to].x));
        std::printf("%s]]}}", Num("%.2f", kOriginY + nodes[s.to].y));
    }
    for (const auto& a : areas) {
        sep();
        std::printf("{\"type\": \"Feature\", \"properties\": {\"name\": \"%s\", \"kind\": %d, ",
                    a.name.c_str(), a.kind);
        std::printf("\"inhabitant_density\": %s, ", Num("%.1f", a.density));
        std::printf("\"runoff_coefficient\": %s, ", Num("%.2f", a.runoff));
        std::printf("\"section\": \"%s\"}, \"geometry\": {\"type\": \"Polygon\", \"coordinates\": [[",
                    a.section.c_str());
        for (std::size_t i = 0; i <= a.ring.size(); ++i) {
            const auto& p = a.ring[i % a.ring.size()];
            std::printf("%s[%s, ", i ? ", " : "", Num("%.2f", kOriginX + p.first));
            std::printf("%s]", Num("%.2f", kOriginY + p.second));
        }
        std::printf("]]}}");
    }
    std::printf("\n]\n}\n");
    std::fprintf(stderr, "%zu nodes, %zu sections, %zu catchment areas\n", nodes.size(), sections.size(),
                 areas.size());
    return 0;
}
