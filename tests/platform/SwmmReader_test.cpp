// Tests of the SWMM input file reader and of ResolveCatchmentSections on its results.
#include "platform/store/SwmmReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "testing/InpGenerator.h"

using namespace TAVGis::Store;

namespace {

constexpr double kTol = 1e-9;            // m, values that pass unchanged
constexpr double kFoot = 0.3048;         // m
constexpr double kAcre = 0.40468564224;  // ha

SImportNetwork Read(const std::string& text) {
    SImportNetwork network;
    const SImportStatus status = CSwmmReader().ReadText(text, network);
    EXPECT_TRUE(status.Ok()) << status.message << " (line " << status.line << ")";
    return network;
}

// The element of `list` named `name`, or null.
template <class T>
const T* Find(const std::vector<T>& list, const std::string& name) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const T& e) { return e.name == name; });
    return it == list.end() ? nullptr : &*it;
}

// True when a warning on `line` (0: any line) contains `text`.
bool HasWarning(const SImportNetwork& network, std::size_t line, const std::string& text) {
    return std::any_of(network.report.warnings.begin(), network.report.warnings.end(),
                       [&](const SImportWarning& w) {
                           return (line == 0 || w.line == line) && w.message.find(text) != std::string::npos;
                       });
}

// The model's own promise: every section's nodes exist, node names are unique.
void ExpectConsistent(const SImportNetwork& network) {
    std::set<std::string> names;
    for (const SImportNode& node : network.nodes)
        EXPECT_TRUE(names.insert(node.name).second) << "duplicate node " << node.name;
    for (const SImportSection& section : network.sections) {
        EXPECT_EQ(names.count(section.fromNode), 1u) << section.name;
        EXPECT_EQ(names.count(section.toNode), 1u) << section.name;
    }
}

const std::string kSiNetwork = R"([TITLE]
Small SI network

[OPTIONS]
FLOW_UNITS LPS
LINK_OFFSETS DEPTH

[JUNCTIONS]
;;Name Elev MaxDepth InitDepth SurDepth Aponded
J1   102.50  3.00  0 0 0
J2   101.80  2.50  0 0 0
J3   101.20  0     0 0 0

[OUTFALLS]
OUT1 100.00 FREE NO

[STORAGE]
;; a manhole stored as a storage unit
MH1  101.00  2.75  0  FUNCTIONAL 0 0 1.1 0 0

[CONDUITS]
C1  J1  J2   50.0  0.013  0.10  0.00
C2  J2  MH1  40.0  0.013  0     0.25
C3  MH1 OUT1 30.0  0.014  0     0
C4  J3  J2   25.0  0.013  0     0

[PUMPS]
P1 J3 J2 CURVE1 ON 0 0

[XSECTIONS]
C1 CIRCULAR    0.30 0   0 0 1
C2 CIRCULAR    0.40 0   0 0 1
C3 RECT_CLOSED 1.00 1.2 0 0 1
C4 CIRCULAR    0.25 0   0 0 2

[SUBCATCHMENTS]
S1 RG1 J1 1.5 40 100 1.0 0
S2 RG1 S1 0.8 25 80  0.5 0

[RAINGAGES]
RG1 INTENSITY 1:00 1.0 TIMESERIES TS1

[COORDINATES]
J1   0   100
J2   40  40
J3   90  60
MH1  40  0
OUT1 40  -30

[VERTICES]
C1 10 80
C1 30 60
P1 60 50

[Polygons]
S1 0   0
S1 100 0
S1 100 150
S1 0   0
)";

TEST(SwmmReader, ReadsSiNetworkWithItsValues) {
    const SImportNetwork net = Read(kSiNetwork);
    ExpectConsistent(net);
    EXPECT_EQ(net.report.imported, (std::map<std::string, std::size_t>{{"[JUNCTIONS]", 3},
                                                                       {"[OUTFALLS]", 1},
                                                                       {"[STORAGE]", 1},
                                                                       {"[CONDUITS]", 4},
                                                                       {"[SUBCATCHMENTS]", 2}}));
    EXPECT_EQ(net.report.skipped,
              (std::map<std::string, std::size_t>{{"[TITLE]", 1}, {"[PUMPS]", 1}, {"[RAINGAGES]", 1}}));
    EXPECT_EQ(net.report.unsupportedShapes, (std::map<std::string, std::size_t>{{"RECT_CLOSED", 1}}));
    EXPECT_EQ(net.report.warningCount, 0u)
        << (net.report.warnings.empty() ? "" : net.report.warnings[0].message);

    const SImportNode* j1 = Find(net.nodes, "J1");
    ASSERT_NE(j1, nullptr);
    EXPECT_EQ(j1->kind, EImportNodeKind::Junction);
    EXPECT_NEAR(*j1->invertElevation, 102.5, kTol);
    EXPECT_NEAR(*j1->maxDepth, 3.0, kTol);
    EXPECT_NEAR(*j1->terrainHeight, 105.5, kTol);
    EXPECT_EQ(*j1->position, (SImportPoint{0.0, 100.0}));

    const SImportNode* j3 = Find(net.nodes, "J3");  // maximum depth 0: not given
    ASSERT_NE(j3, nullptr);
    EXPECT_FALSE(j3->maxDepth.has_value());
    EXPECT_FALSE(j3->terrainHeight.has_value());

    const SImportNode* mh1 = Find(net.nodes, "MH1");
    ASSERT_NE(mh1, nullptr);
    EXPECT_EQ(mh1->kind, EImportNodeKind::Storage);
    EXPECT_NEAR(*mh1->terrainHeight, 103.75, kTol);

    const SImportNode* out = Find(net.nodes, "OUT1");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->kind, EImportNodeKind::Outfall);
    EXPECT_FALSE(out->terrainHeight.has_value());

    const SImportSection* c1 = Find(net.sections, "C1");
    ASSERT_NE(c1, nullptr);
    EXPECT_EQ(c1->fromNode, "J1");
    EXPECT_EQ(c1->toNode, "J2");
    EXPECT_NEAR(*c1->length, 50.0, kTol);
    EXPECT_NEAR(*c1->roughness, 0.013, kTol);
    EXPECT_NEAR(*c1->diameter, 0.30, kTol);
    EXPECT_NEAR(*c1->levelStart, 102.60, kTol);
    EXPECT_NEAR(*c1->levelEnd, 101.80, kTol);
    EXPECT_EQ(c1->vertices, (std::vector<SImportPoint>{{10, 80}, {30, 60}}));

    const SImportSection* c2 = Find(net.sections, "C2");
    ASSERT_NE(c2, nullptr);
    EXPECT_NEAR(*c2->levelEnd, 101.25, kTol);  // storage invert + outlet offset

    const SImportSection* c3 = Find(net.sections, "C3");
    ASSERT_NE(c3, nullptr);
    EXPECT_FALSE(c3->diameter.has_value());
    EXPECT_EQ(std::get<std::string>(c3->properties.at("PIPE_SHAPE")), "RECT_CLOSED");
    EXPECT_NEAR(std::get<double>(c3->properties.at("PIPE_HEIGHT")), 1.0, kTol);
    EXPECT_NEAR(std::get<double>(c3->properties.at("PIPE_WIDTH")), 1.2, kTol);

    const SImportSection* c4 = Find(net.sections, "C4");
    ASSERT_NE(c4, nullptr);
    EXPECT_NEAR(std::get<double>(c4->properties.at("SWMM_BARRELS")), 2.0, kTol);

    const SImportCatchment* s1 = Find(net.catchments, "S1");
    ASSERT_NE(s1, nullptr);
    EXPECT_NEAR(*s1->area, 1.5, kTol);
    EXPECT_NEAR(*s1->runoffCoefficient, 0.40, kTol);
    EXPECT_EQ(s1->kind, kImportCatchmentTotal);
    EXPECT_EQ(s1->outlet, "J1");
    EXPECT_EQ(s1->outletKind, EImportOutletKind::Node);
    EXPECT_EQ(s1->polygon.size(), 3u);  // the closing point is dropped
    EXPECT_TRUE(s1->section.empty());   // linked later
    const SImportCatchment* s2 = Find(net.catchments, "S2");
    ASSERT_NE(s2, nullptr);
    EXPECT_EQ(s2->outletKind, EImportOutletKind::Catchment);
    EXPECT_EQ(s2->outlet, "S1");
}

// Every flow unit picks feet/acres or metres/hectares; coordinates follow [MAP] UNITS only.
TEST(SwmmReader, ConvertsUnitsByFlowUnits) {
    struct SCase {
        const char* options;
        double length;  // m per file unit
        double area;    // ha per file unit
    };
    const SCase cases[] = {
        {"FLOW_UNITS CFS", kFoot, kAcre}, {"FLOW_UNITS GPM", kFoot, kAcre},
        {"FLOW_UNITS MGD", kFoot, kAcre}, {"FLOW_UNITS CMS", 1.0, 1.0},
        {"FLOW_UNITS LPS", 1.0, 1.0},     {"FLOW_UNITS MLD", 1.0, 1.0},
        {"flow_units lps", 1.0, 1.0},     {"", kFoot, kAcre},  // no FLOW_UNITS: SWMM's default CFS
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.options);
        // [OPTIONS] after the elements: units still apply to all of them.
        const std::string text = std::string("[JUNCTIONS]\nA 100 10\n[OUTFALLS]\nB 90 FREE\n") +
                                 "[CONDUITS]\nAB A B 400 0.013 1 2\n[XSECTIONS]\nAB CIRCULAR 1.5\n" +
                                 "[SUBCATCHMENTS]\nS RG A 10 50 500 1 0\n[COORDINATES]\nA 1000 2000\n" +
                                 "[OPTIONS]\n" + c.options + "\n";
        const SImportNetwork net = Read(text);
        ASSERT_EQ(net.sections.size(), 1u);
        const SImportSection& ab = net.sections[0];
        EXPECT_NEAR(*ab.length, 400 * c.length, 1e-9);
        EXPECT_NEAR(*ab.diameter, 1.5 * c.length, 1e-12);
        EXPECT_NEAR(*ab.levelStart, (100 + 1) * c.length, 1e-9);
        EXPECT_NEAR(*ab.levelEnd, (90 + 2) * c.length, 1e-9);
        EXPECT_NEAR(*Find(net.nodes, "A")->terrainHeight, 110 * c.length, 1e-9);
        EXPECT_NEAR(*net.catchments[0].area, 10 * c.area, 1e-12);
        EXPECT_NEAR(std::get<double>(net.catchments[0].properties.at("SWMM_WIDTH")), 500 * c.length, 1e-9);
        EXPECT_EQ(*Find(net.nodes, "A")->position, (SImportPoint{1000, 2000}));
        EXPECT_EQ(HasWarning(net, 0, "no [OPTIONS] FLOW_UNITS"), *c.options == '\0');
    }
    const SImportNetwork feet = Read("[MAP]\nUNITS FEET\n[JUNCTIONS]\nA 1\n[COORDINATES]\nA 1000 -10\n");
    EXPECT_NEAR(feet.nodes[0].position->x, 304.8, 1e-9);
    EXPECT_NEAR(feet.nodes[0].position->y, -3.048, 1e-12);
    const SImportNetwork odd = Read("[OPTIONS]\nFLOW_UNITS GALLONS\n[JUNCTIONS]\nA 1\n");
    EXPECT_TRUE(HasWarning(odd, 2, "not a SWMM flow unit"));
}

TEST(SwmmReader, OffsetsAsDepthsOrElevations) {
    struct SCase {
        const char* mode;
        const char* inOffset;
        const char* outOffset;
        std::optional<double> levelStart;
        std::optional<double> levelEnd;
        std::optional<double> slope;  // per mille over the given 10 m; stored whatever its sign
        const char* warning;          // expected on the conduit line, or ""
    };
    const SCase cases[] = {
        {"DEPTH", "0.5", "0", 100.5, 99.0, 150.0, ""},
        {"DEPTH", "0", "0.35", 100.0, 99.35, 65.0, ""},
        {"DEPTH", "0", "1", 100.0, 100.0, 0.0, ""},
        {"ELEVATION", "100.5", "99.2", 100.5, 99.2, 130.0, ""},
        {"ELEVATION", "*", "*", 100.0, 99.0, 100.0, ""},
        {"ELEVATION", "99.5", "99", 99.5, 99.0, 50.0, "lies below the invert"},
        {"ELEVATION", "*", "100.2", 100.0, 100.2, -20.0, ""},
        {"DEPTH", "*", "0", std::nullopt, 99.0, std::nullopt, "is not a number"},
        {"DEPTH", "-0.2", "0", std::nullopt, 99.0, std::nullopt, "is negative"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.inOffset + " " + c.outOffset);
        const std::string text =
            std::string("[OPTIONS]\nFLOW_UNITS CMS\nLINK_OFFSETS ") + c.mode +
            "\n[JUNCTIONS]\nJ 100 3\n[OUTFALLS]\nO 99 FREE\n[CONDUITS]\nP J O 10 0.013 " + c.inOffset + " " +
            c.outOffset + "\n";
        const SImportNetwork net = Read(text);
        ASSERT_EQ(net.sections.size(), 1u);
        EXPECT_EQ(net.sections[0].levelStart.has_value(), c.levelStart.has_value());
        if (c.levelStart && net.sections[0].levelStart) {
            EXPECT_NEAR(*net.sections[0].levelStart, *c.levelStart, kTol);
        }
        ASSERT_TRUE(net.sections[0].levelEnd.has_value());
        EXPECT_NEAR(*net.sections[0].levelEnd, *c.levelEnd, kTol);
        const auto slope = net.sections[0].properties.find("SECTION_SLOPE");
        ASSERT_EQ(slope != net.sections[0].properties.end(), c.slope.has_value());
        if (c.slope) {
            EXPECT_NEAR(std::get<double>(slope->second), *c.slope, 1e-9);
        }
        if (*c.warning) {
            EXPECT_TRUE(HasWarning(net, 9, c.warning));
        } else {
            EXPECT_FALSE(HasWarning(net, 9, ""));
        }
    }
}

TEST(SwmmReader, NamesQuotedCaseAndLeadingZeros) {
    const SImportNetwork net = Read(R"([Junctions]
"Main Street 1"  100 2
"Main Street 2"   99 2
1    98 2
001  97 2
"A;B" 96 2
Up   95 2
[conduits]
"Pipe A 1" "Main Street 1" "Main Street 2" 10 0.013 0 0 ; comment after a quoted name
P2  001 1     10 0.013 0 0
P3  "A;B" up  10 0.013 0 0
[XSECTIONS]
"pipe a 1" CIRCULAR 0.3
p2 CIRCULAR 0.4
[Coordinates]
"Main Street 1" 1 2
1   10 10
001 20 20
[Polygons]
[VERTICES]
"PIPE A 1" 5 5
[OPTIONS]
FLOW_UNITS CMS
)");
    ExpectConsistent(net);
    EXPECT_EQ(net.nodes.size(), 6u);
    const SImportSection* pipe = Find(net.sections, "Pipe A 1");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(pipe->fromNode, "Main Street 1");
    EXPECT_EQ(pipe->toNode, "Main Street 2");
    EXPECT_NEAR(*pipe->diameter, 0.3, kTol);  // link names match without regard to case
    EXPECT_EQ(pipe->vertices.size(), 1u);
    const SImportSection* p2 = Find(net.sections, "P2");
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p2->fromNode, "001");  // "1" and "001" are different nodes
    EXPECT_EQ(p2->toNode, "1");
    EXPECT_NEAR(*p2->diameter, 0.4, kTol);
    EXPECT_NEAR(*p2->levelStart, 97.0, kTol);
    EXPECT_NEAR(*p2->levelEnd, 98.0, kTol);
    EXPECT_EQ(*Find(net.nodes, "1")->position, (SImportPoint{10, 10}));
    EXPECT_EQ(*Find(net.nodes, "001")->position, (SImportPoint{20, 20}));
    const SImportSection* p3 = Find(net.sections, "P3");
    ASSERT_NE(p3, nullptr);
    EXPECT_EQ(p3->fromNode, "A;B");  // ";" inside quotes is part of the name
    EXPECT_EQ(p3->toNode, "Up");     // "up" falls back to the one node "Up"
}

TEST(SwmmReader, DuplicateAndAmbiguousNames) {
    const SImportNetwork net = Read(R"([JUNCTIONS]
Ab 100
aB 99
N 98
N 97
[CONDUITS]
C1 Ab aB 10 0.013 0 0
c1 aB N  10 0.013 0 0
C2 AB N  10 0.013 0 0
[OPTIONS]
FLOW_UNITS CMS
)");
    ExpectConsistent(net);
    EXPECT_EQ(net.nodes.size(), 3u);
    EXPECT_NEAR(*Find(net.nodes, "N")->invertElevation, 98.0, kTol);  // the first definition wins
    EXPECT_TRUE(HasWarning(net, 5, "already defined"));
    ASSERT_EQ(net.sections.size(), 1u);
    EXPECT_EQ(net.sections[0].name, "C1");
    EXPECT_TRUE(HasWarning(net, 8, "already defined"));        // c1 is C1
    EXPECT_TRUE(HasWarning(net, 9, "\"AB\" is not defined"));  // AB could be Ab or aB
}

TEST(SwmmReader, UnsupportedSectionsAndShapesAreCounted) {
    const SImportNetwork net = Read(R"([JUNCTIONS]
J1 10
J2 9
[PUMPS]
P1 J1 J2 PC ON 0 0
P2 J1 J2 PC ON 0 0
P3 J1 J2 PC ON 0 0
[ORIFICES]
O1 J1 J2 SIDE 0 0.65
[WEIRS]
W1 J1 J2 TRANSVERSE 0 3.33
[CURVES]
PC Pump1 0 0
PC       5 1
[CONDUITS]
E1 J1 J2 10 0.013 0 0
E2 J1 J2 10 0.013 0 0
[XSECTIONS]
O1 CIRCULAR 0.5
W1 RECT_OPEN 1 2
E1 EGG 1.2
E2 IRREGULAR T1
GHOST CIRCULAR 0.3
[VERTICES]
P1 1 1
[MYSTERY]
a b c
[OPTIONS]
FLOW_UNITS CMS
)");
    EXPECT_EQ(net.report.skipped,
              (std::map<std::string, std::size_t>{
                  {"[PUMPS]", 3}, {"[ORIFICES]", 1}, {"[WEIRS]", 1}, {"[CURVES]", 2}, {"[MYSTERY]", 1}}));
    EXPECT_EQ(net.report.unsupportedShapes,
              (std::map<std::string, std::size_t>{{"EGG", 1}, {"IRREGULAR", 1}}));
    EXPECT_TRUE(HasWarning(net, 23, "\"GHOST\": no conduit of this name"));
    EXPECT_TRUE(HasWarning(net, 26, "unknown section [MYSTERY]"));
    EXPECT_TRUE(HasWarning(net, 0, "2 node(s) have no [COORDINATES] entry"));
    // Cross-sections and vertices of skipped links are not dangling references.
    EXPECT_EQ(net.report.warningCount, 3u);
}

TEST(SwmmReader, MalformedNumbersWarnWithTheirLine) {
    struct SCase {
        const char* token;
        std::optional<double> length;
    };
    const SCase cases[] = {
        {"12.5x", std::nullopt},
        {"abc", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"1e400", std::nullopt},
        {"1,5", std::nullopt},
        {"--1", std::nullopt},
        {"+-1", std::nullopt},
        {"0", std::nullopt},
        {"-4", std::nullopt},
        {"+12.5", 12.5},
        {"1e1", 10.0},
        {".5", 0.5},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.token);
        const SImportNetwork net =
            Read(std::string("[OPTIONS]\nFLOW_UNITS CMS\n[JUNCTIONS]\nA 1\nB 0\n[CONDUITS]\nAB A B ") +
                 c.token + " 0.013 0 0\n");
        ASSERT_EQ(net.sections.size(), 1u);  // the conduit stays, its length is left empty
        EXPECT_EQ(net.sections[0].length.has_value(), c.length.has_value());
        if (c.length) {
            EXPECT_NEAR(*net.sections[0].length, *c.length, kTol);
            EXPECT_FALSE(HasWarning(net, 7, ""));
        } else {
            EXPECT_TRUE(HasWarning(net, 7, "length")) << net.report.warnings.size();
        }
    }
}

TEST(SwmmReader, ShortLinesAndDanglingReferencesAreWarned) {
    const SImportNetwork net = Read(R"([JUNCTIONS]
J1 10 2
J2
J3 8 x
[CONDUITS]
C1 J1 J3 10 0.013 0 0
C2 J1
C3 J1 NOWHERE 10 0.013 0 0
[SUBCATCHMENTS]
S1 RG J1 2 150 10 1 0
S2 RG SOMEWHERE 2 10
[COORDINATES]
J1 1 2
J9 3 4
J3 x 5
[POLYGONS]
SX 0 0
)");
    ExpectConsistent(net);
    EXPECT_EQ(net.nodes.size(), 2u);
    EXPECT_TRUE(HasWarning(net, 3, "2 fields expected"));
    EXPECT_TRUE(HasWarning(net, 4, "maximum depth \"x\" is not a number"));
    EXPECT_TRUE(HasWarning(net, 7, "7 fields expected"));
    EXPECT_TRUE(HasWarning(net, 8, "node \"NOWHERE\" is not defined"));
    EXPECT_EQ(net.sections.size(), 1u);
    EXPECT_TRUE(HasWarning(net, 10, "imperviousness 150 % is outside 0..100"));
    EXPECT_FALSE(Find(net.catchments, "S1")->runoffCoefficient.has_value());
    EXPECT_TRUE(HasWarning(net, 11, "neither a node nor a subcatchment"));
    EXPECT_EQ(Find(net.catchments, "S2")->outletKind, EImportOutletKind::None);
    EXPECT_TRUE(HasWarning(net, 14, "no node of this name"));
    EXPECT_TRUE(HasWarning(net, 15, "\"x\" is not a number"));
    EXPECT_TRUE(HasWarning(net, 17, "no subcatchment of this name"));
    EXPECT_TRUE(HasWarning(net, 0, "1 node(s) have no [COORDINATES] entry"));
    EXPECT_TRUE(HasWarning(net, 0, "1 conduit(s) have no [XSECTIONS] entry"));
    // Warnings come in line order, summaries last.
    for (std::size_t i = 1; i < net.report.warnings.size(); ++i) {
        const std::size_t a = net.report.warnings[i - 1].line;
        const std::size_t b = net.report.warnings[i].line;
        EXPECT_TRUE(b == 0 || (a != 0 && a <= b)) << a << " before " << b;
    }
}

TEST(SwmmReader, LineEndsByteOrderMarkAndEncoding) {
    // The same two junctions whatever the line ends, with or without a byte-order mark.
    const std::string lines[] = {"[JUNCTIONS]", "J1 100 2", "\"Q R\" 99 1", "[OPTIONS]", "FLOW_UNITS CMS"};
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        for (const std::string end : {"\n", "\r\n", "\r"}) {
            std::string text = bom;
            for (const auto& l : lines) text += l + end;
            SCOPED_TRACE(::testing::PrintToString(text));
            const SImportNetwork net = Read(text);
            ASSERT_EQ(net.nodes.size(), 2u);
            EXPECT_EQ(net.nodes[0].name, "J1");
            EXPECT_NEAR(*net.nodes[0].maxDepth, 2.0, kTol);
            EXPECT_EQ(net.nodes[1].name, "Q R");
        }
    }
    // A warning names the line a text editor shows, also with CR line ends.
    const SImportNetwork crOnly = Read("[JUNCTIONS]\rJ1 100\rJ1 101\r");
    EXPECT_TRUE(HasWarning(crOnly, 3, "J1"));

    // A byte that is not UTF-8 rejects the file with its line; told the file is in the code page
    // (windows-1250), the same bytes read as text: 0x9A is s with caron there.
    const std::string cp1250 = "[JUNCTIONS]\r\nJ1 100\r\n\x8Aibenik 100\r\n";
    SImportNetwork net;
    const SImportStatus refused = CSwmmReader().ReadText(cp1250, net);
    EXPECT_EQ(refused.error, EImportError::NotUtf8);
    EXPECT_EQ(refused.line, 3u);
    EXPECT_TRUE(net.nodes.empty());
    CSwmmReader codePage;
    codePage.SetEncoding(ImportText::ETextEncoding::CodePage);
    ASSERT_TRUE(codePage.ReadText(cp1250, net).Ok());
    ASSERT_EQ(net.nodes.size(), 2u);
    EXPECT_EQ(net.nodes[1].name, "\xC5\xA0ibenik");  // U+0160

    const SImportNetwork open = Read("[JUNCTIONS]\n\"Open quote 100\n");
    ASSERT_EQ(open.nodes.size(), 0u);
    EXPECT_TRUE(HasWarning(open, 2, "not closed"));
}

TEST(SwmmReader, ReadsRegularFilesOnly) {
    SImportNetwork net;
    for (const char* path : {"/dev/zero", "/tmp", "/nonexistent/x.inp"}) {
        SCOPED_TRACE(path);
        const SImportStatus status = CSwmmReader().ReadFile(path, net);  // returns at once
        EXPECT_EQ(status.error, EImportError::CannotOpen);
        EXPECT_NE(status.message.find(path), std::string::npos) << status.message;
    }
}

TEST(SwmmReader, RejectsTextThatIsNoInputFile) {
    struct SCase {
        std::string text;
        std::size_t line;
    };
    const SCase cases[] = {
        {"", 0},
        {"  \n; only a comment\n\n", 0},
        {"hello world\n[JUNCTIONS]\nJ1 1\n", 1},
        {"{\"type\": \"FeatureCollection\", \"features\": []}", 1},
        {"; comment\n[NOT_A_SECTION]\nx\n", 2},
        {"[JUNCTIONS\nJ1 1\n", 1},
        {std::string("[JUNCTIONS]\nJ1 1\nJ2\0 2\n", 20), 3},
        {std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.text);
        SImportNetwork net;
        net.nodes.push_back(SImportNode{});  // replaced by the read
        const SImportStatus status = CSwmmReader().ReadText(c.text, net);
        EXPECT_EQ(status.error, EImportError::NotSwmmInput);
        EXPECT_EQ(status.line, c.line);
        EXPECT_FALSE(status.message.empty());
        EXPECT_TRUE(net.nodes.empty());
    }
}

// Random bytes, random text and every truncation of a valid file: a status, never a crash, and a
// consistent model whenever the read succeeds.
TEST(SwmmReader, SurvivesRandomAndTruncatedInput) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096, '\0');
        for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
        SImportNetwork net;
        EXPECT_FALSE(CSwmmReader().ReadText(bytes, net).Ok());
    }
    const std::string alphabet = "[]JUNCTIONSCONDUITS ;\"\n\t0123456789.-*ab";
    for (int round = 0; round < 200; ++round) {
        std::string text = "[JUNCTIONS]\n";
        for (int i = 0; i < 400; ++i) text.push_back(alphabet[random() % alphabet.size()]);
        SImportNetwork net;
        if (CSwmmReader().ReadText(text, net).Ok()) {
            ExpectConsistent(net);
        }
    }
    for (std::size_t length = 0; length <= kSiNetwork.size(); ++length) {
        SImportNetwork net;
        const SImportStatus status =
            CSwmmReader().ReadText(std::string_view(kSiNetwork).substr(0, length), net);
        if (status.Ok()) {
            ExpectConsistent(net);
        } else {
            EXPECT_EQ(status.error, EImportError::NotSwmmInput);
        }
    }
}

TEST(SwmmReader, KeepsAtMostAThousandWarnings) {
    std::string text = "[OPTIONS]\nFLOW_UNITS CMS\n[JUNCTIONS]\n";
    for (int i = 0; i < 1500; ++i) text.append("J").append(std::to_string(i)).append(" bad\n");
    const SImportNetwork net = Read(text);
    EXPECT_EQ(net.nodes.size(), 1500u);
    EXPECT_EQ(net.report.warnings.size(), SImportReport::kMaxStoredWarnings);
    EXPECT_EQ(net.report.warningCount, 1501u);  // 1500 invert warnings and the missing coordinates
}

TEST(SwmmReader, ReadFileReportsIoFailures) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "swmm_reader_test";
    std::filesystem::create_directories(dir);
    SImportNetwork net;
    EXPECT_EQ(CSwmmReader().ReadFile(dir / "missing.inp", net).error, EImportError::CannotOpen);
    EXPECT_EQ(CSwmmReader().ReadFile(dir, net).error, EImportError::CannotOpen);
    {
        std::ofstream out(dir / "small.inp", std::ios::binary);
        out << kSiNetwork;
    }
    const SImportStatus status = CSwmmReader().ReadFile(dir / "small.inp", net);
    EXPECT_TRUE(status.Ok()) << status.message;
    EXPECT_EQ(net.sections.size(), 4u);
    std::filesystem::remove_all(dir);
}

TEST(SwmmReader, GeneratedNetworkReadsBack) {
    TAVGis::Bench::SInpGeneratorOptions options;
    options.conduits = 1000;
    options.subcatchmentEvery = 10;
    SImportNetwork si = Read(TAVGis::Bench::CInpGenerator(options).Text());
    options.usUnits = true;
    const SImportNetwork us = Read(TAVGis::Bench::CInpGenerator(options).Text());

    EXPECT_EQ(si.report.imported,
              (std::map<std::string, std::size_t>{
                  {"[JUNCTIONS]", 1000}, {"[OUTFALLS]", 1}, {"[CONDUITS]", 1000}, {"[SUBCATCHMENTS]", 100}}));
    EXPECT_EQ(si.report.warningCount, 0u);
    ExpectConsistent(si);
    ASSERT_EQ(us.sections.size(), si.sections.size());
    ASSERT_EQ(us.catchments.size(), si.catchments.size());
    // Written in feet and acres with 4 decimals, read back in metres: equal to the SI file within the
    // rounding of the written figures (0.00005 ft).
    constexpr double kRounding = 0.00005 * kFoot * 2;
    for (std::size_t i = 0; i < si.sections.size(); ++i) {
        const SImportSection& a = si.sections[i];
        const SImportSection& b = us.sections[i];
        ASSERT_EQ(a.name, b.name);
        EXPECT_NEAR(*a.length, TAVGis::Bench::CInpGenerator::ConduitLength(i + 1), 1e-9);
        EXPECT_NEAR(*b.length, *a.length, kRounding);
        EXPECT_NEAR(*b.diameter, *a.diameter, kRounding);
        EXPECT_NEAR(*b.levelStart, *a.levelStart, kRounding);
        EXPECT_NEAR(*a.levelStart, *Find(si.nodes, a.fromNode)->invertElevation, kTol);
    }
    for (std::size_t i = 0; i < si.catchments.size(); ++i)
        EXPECT_NEAR(*us.catchments[i].area, *si.catchments[i].area, 0.00005 * kAcre * 2);
    EXPECT_EQ(ResolveCatchmentSections(si), 0u);
    // Junction Jk drains through Ck, the first (and only) conduit leaving it.
    EXPECT_EQ(si.catchments[0].section, "C10");
}

TEST(ResolveCatchmentSections, PicksLeavingThenEnteringSection) {
    SImportNetwork net = Read(R"([OPTIONS]
FLOW_UNITS CMS
[JUNCTIONS]
A 3
B 2
LONELY 5
[OUTFALLS]
O 1 FREE
[CONDUITS]
IN1 A B 10 0.013 0 0
OUT1 B O 10 0.013 0 0
OUT2 B O 10 0.013 0 0
[SUBCATCHMENTS]
AT_B   RG B 1 10
AT_O   RG O 1 10
VIA    RG AT_B 1 10
LOOP1  RG LOOP2 1 10
LOOP2  RG LOOP1 1 10
ISOL   RG LONELY 1 10
LOST   RG NOWHERE 1 10
PRESET RG B 1 10
)");
    net.catchments.back().section = "IN1";
    EXPECT_EQ(ResolveCatchmentSections(net), 4u);
    EXPECT_EQ(Find(net.catchments, "AT_B")->section, "OUT1");   // first leaving, in model order
    EXPECT_EQ(Find(net.catchments, "AT_O")->section, "OUT1");   // outfall: first entering
    EXPECT_EQ(Find(net.catchments, "VIA")->section, "OUT1");    // through the catchment it drains into
    EXPECT_EQ(Find(net.catchments, "PRESET")->section, "IN1");  // kept
    for (const char* name : {"LOOP1", "LOOP2", "ISOL", "LOST"})
        EXPECT_TRUE(Find(net.catchments, name)->section.empty()) << name;
    EXPECT_TRUE(HasWarning(net, 0, "\"LOOP1\" is not linked to a section: its outlets form a cycle"));
    EXPECT_TRUE(HasWarning(net, 0, "\"ISOL\" is not linked to a section: no section touches"));
    EXPECT_TRUE(HasWarning(net, 0, "\"LOST\" is not linked to a section: its outlet \"NOWHERE\" is unknown"));
}

}  // namespace
