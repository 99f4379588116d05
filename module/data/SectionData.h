#pragma once
// Section attributes as the module reads and writes them: a generic accessor pair with the missing-value
// sentinel -1000000.0, a thin wrapper per attribute name, the main outgoing section of a node, and the
// batch write frame.
#include <string>

#include "platform/network/Section.h"

constexpr double kMissingValue = -1000000.0;

class CSectionData {
public:
    using EntityPtr = boost::shared_ptr<TAVGis::Topology::CEntity>;

    // The stored number, or kMissingValue when nothing is stored (a stored kMissingValue reads the same).
    static double GetSectionValue(const std::string& name, EntityPtr entity);
    // Stores the number; returns the write's result (non-zero on success). A value that is not finite is
    // never stored: nothing is written and 0 returned.
    static int SetSectionValue(const std::string& name, EntityPtr entity, double value);

    // MAIN_SECT_OUT: the section whose GUID a node stores, or an empty pointer (nothing stored, or the GUID
    // names no section of the current topology).
    static TAVGis::Topology::CSectionPtr GetMAIN_SECT_OUT(EntityPtr entity);
    // Stores the target's GUID; with a missing entity or target nothing is written and 0 returned.
    static int SetMAIN_SECT_OUT(EntityPtr entity, const TAVGis::Topology::CSectionPtr& target);

#define TAVX_SECTION_ACCESSOR(NAME)                     \
    static double Get##NAME(EntityPtr e) {              \
        return GetSectionValue(#NAME, std::move(e));    \
    }                                                   \
    static int Set##NAME(EntityPtr e, double v) {       \
        return SetSectionValue(#NAME, std::move(e), v); \
    }
    TAVX_SECTION_ACCESSOR(FLOW_WASTE_PER)
    TAVX_SECTION_ACCESSOR(FLOW_COEFDEN)
    TAVX_SECTION_ACCESSOR(FLOW_WASTE_HOME)
    TAVX_SECTION_ACCESSOR(FLOW_WASTE_IND)
    TAVX_SECTION_ACCESSOR(FLOW_BLG_WASTE)
    TAVX_SECTION_ACCESSOR(FLOW_BLG_RET)
    TAVX_SECTION_ACCESSOR(FLOW_RAIN)
    TAVX_SECTION_ACCESSOR(FLOW_RAIN_IDF)
    TAVX_SECTION_ACCESSOR(FLOW_IDF_INTENSITY)
    TAVX_SECTION_ACCESSOR(FLOW_IDF_CONC_TIME)
    TAVX_SECTION_ACCESSOR(FLOW_IDF_TIME)
    TAVX_SECTION_ACCESSOR(FLOW_IDF_MJ_TIME)
    TAVX_SECTION_ACCESSOR(FLOW_IDF_AREA_CORRECTED_SECT)
    TAVX_SECTION_ACCESSOR(FLOW_IDF_AREA_CORRECTED_TOTAL)
    TAVX_SECTION_ACCESSOR(FLOW_INTIME)
    TAVX_SECTION_ACCESSOR(FLOW_COEFRED)
    TAVX_SECTION_ACCESSOR(FLOW_COEFRET)
    TAVX_SECTION_ACCESSOR(FLOW_ATV_N)
    TAVX_SECTION_ACCESSOR(FLOW_ATV_T)
    TAVX_SECTION_ACCESSOR(FLOW_ADDITIONAL)
    TAVX_SECTION_ACCESSOR(FLOW_FOREIGN)
    TAVX_SECTION_ACCESSOR(FLOW_POINT)
    TAVX_SECTION_ACCESSOR(FLOW_USER)
    TAVX_SECTION_ACCESSOR(FLOW_SECT_TOTAL)
    TAVX_SECTION_ACCESSOR(FLOW_TRANSIT)
    TAVX_SECTION_ACCESSOR(FLOW_TOTAL)
    TAVX_SECTION_ACCESSOR(PIPE_ROUGHNESS)
    TAVX_SECTION_ACCESSOR(SECTION_SLOPE)
#undef TAVX_SECTION_ACCESSOR
};

// The batch write frame: transaction, label session, longitudinal session, opened in that order; closed
// longitudinal, label, transaction; when an exception leaves the writing loop they are cancelled instead
// (the command frame takes the writes back) in the order longitudinal, transaction, label.
class CBatchWriteFrame {
public:
    CBatchWriteFrame();
    ~CBatchWriteFrame();
    CBatchWriteFrame(const CBatchWriteFrame&) = delete;
    CBatchWriteFrame& operator=(const CBatchWriteFrame&) = delete;

private:
    int m_exceptionsAtStart;
};

// The two update sessions alone, as the hydraulic pages use them; closed longitudinal first, then label,
// on every path: committed, or cancelled when an exception leaves the scope.
class CUpdateSessionsFrame {
public:
    CUpdateSessionsFrame();
    ~CUpdateSessionsFrame();
    CUpdateSessionsFrame(const CUpdateSessionsFrame&) = delete;
    CUpdateSessionsFrame& operator=(const CUpdateSessionsFrame&) = delete;

private:
    int m_exceptionsAtStart;
};
