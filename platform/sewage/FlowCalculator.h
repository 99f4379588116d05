#pragma once
// The sewage core's flow calculators: IFlowCalculator (one calculation method with its parameters, its
// preview and the record of which parameter set produced the flows of which sections), its parameter set
// CFlowCalculatorParameters, and the registry CFlowCalculatorManager.
//
// Source data: a calculation tags every section it calculated with the parameter set it used, as extended
// entity data of the application "TAVX_FLOWCALC_<calculator name>" (one group 1000 holding the set's
// CPropertiesEx::ToText). GetSourceDataConfigurations groups the sections given to ReloadSourceData by equal
// parameter values, one set per group, in the order of each group's first section. ResetSourceData removes
// the tag; ResetWrittenData removes the attributes the calculator writes (GetWrittenAttributes).
//
// Decisions:
// - A tag whose text does not read back (a drawing edited by hand) counts as no tag.
// - The default parameter set is one object per calculator, handed out on every call, so edits in a grid
//   reach the next run; CreateCalculationParameters hands out a fresh set with the defaults.
// - RunCalculation returns non-zero on success; a run that cannot start (no sections, parameters that
//   are not usable) alerts with its reason and returns 0, writing nothing.
#include <boost/shared_ptr.hpp>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/network/Section.h"
#include "platform/sewage/PropertiesEx.h"

namespace TAVGis::Sewage {

// A dialog a calculator may hide while the user picks in the drawing.
class IDialogToHide {
public:
    virtual ~IDialogToHide() = default;
    virtual void RestoreDialog() = 0;
    virtual void HideDialog() = 0;
};

class CFlowCalculatorParameters {
public:
    Data::CPropertiesEx& GetProperties() { return m_properties; }
    const Data::CPropertiesEx& GetProperties() const { return m_properties; }

private:
    Data::CPropertiesEx m_properties;
};
using CFlowCalculatorParametersPtr = boost::shared_ptr<CFlowCalculatorParameters>;

// A preview: a name and the section attributes shown as its columns, in order.
struct CPreviewDefinition {
    std::string name;
    std::vector<std::string> columns;
};

using SectionList = std::vector<Topology::CSectionPtr>;
// Parameter sets and their sections, in the order of each set's first section.
using SourceDataConfigurations = std::vector<std::pair<CFlowCalculatorParametersPtr, SectionList>>;

class IFlowCalculator {
public:
    explicit IFlowCalculator(std::string name) : m_name(std::move(name)) {}
    virtual ~IFlowCalculator() = default;

    const std::string& GetName() const { return m_name; }
    virtual void GetDisplayName(std::string& text) const = 0;
    virtual void GetGroupName(std::string& text) const = 0;
    virtual void GetIconName(std::string& text) const { text = "IDI_CALCULATOR"; }
    virtual void GetGroupIconName(std::string& text) const { text = "IDI_CALCULATOR"; }
    virtual bool UsesWholeSystem() const { return false; }

    virtual int RunCalculation(const SectionList& sections, const CFlowCalculatorParametersPtr& params,
                               bool tag, bool silent, IDialogToHide* dialog) = 0;
    // Sections' input data for the method; the calculators here need none and answer 1.
    virtual int InputData(const SectionList&, const CFlowCalculatorParametersPtr&, bool, bool) { return 1; }

    // The set shown for the calculator (one object; see the decisions above).
    CFlowCalculatorParametersPtr GetDefaultCalculationParameters();
    // A new set with the default values.
    CFlowCalculatorParametersPtr CreateCalculationParameters() const;
    CPreviewDefinition GetPreviewDefinition() const;
    // The attributes the calculator writes, in the order written.
    virtual std::vector<std::string> GetWrittenAttributes() const = 0;

    void ReloadSourceData(const SectionList& sections);
    const SourceDataConfigurations& GetSourceDataConfigurations() const { return m_configurations; }
    void GetSectionsForCalculationParameters(const CFlowCalculatorParametersPtr& params,
                                             SectionList& sections) const;
    void ResetSourceData(const SectionList& sections);
    void ResetWrittenData(const SectionList& sections);

    // The tag application and the tagging of one section (used by the calculations).
    std::string TagApplication() const { return "TAVX_FLOWCALC_" + m_name; }
    bool TagSection(const Topology::CSection& section, const CFlowCalculatorParameters& params) const;
    // Tags the sections of the list at the indexes (the set's text is made once).
    void TagSections(const SectionList& sections, const std::vector<std::size_t>& indexes,
                     const CFlowCalculatorParameters& params) const;

protected:
    virtual void FillDefaults(Data::CPropertiesEx& properties) const = 0;

private:
    std::string m_name;
    CFlowCalculatorParametersPtr m_defaults;
    SourceDataConfigurations m_configurations;
};
using IFlowCalculatorPtr = boost::shared_ptr<IFlowCalculator>;

class CFlowCalculatorManager {
public:
    // The registry with the calculators of this core ("001_RAIN_ITP" and the ISKI waste-water calculator).
    static CFlowCalculatorManager* GetInstance();

    const std::map<std::string, IFlowCalculatorPtr>& GetRegisteredFlowCalculators() const {
        return m_calculators;
    }
    IFlowCalculatorPtr GetFlowCalculator(const std::string& name) const;
    void Register(const IFlowCalculatorPtr& calculator);
    void Unregister(const std::string& name);

private:
    std::map<std::string, IFlowCalculatorPtr> m_calculators;
};

// Flow order of a list of sections: sections joined where one ends at the node another starts from.
struct FlowOrder {
    std::vector<std::size_t> order;                  // indexes into the list, every upstream one first
    std::vector<std::vector<std::size_t>> incoming;  // per index: the listed sections flowing into it
    std::vector<std::size_t> inCycle;                // indexes left out because they lie on or below a loop
};
FlowOrder MakeFlowOrder(const SectionList& sections);

}  // namespace TAVGis::Sewage
