#include "platform/sewage/FlowCalculator.h"

#include <boost/make_shared.hpp>
#include <deque>
#include <unordered_map>

#include "platform/gis/DataRW.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/sewage/IskiCalculator.h"
#include "platform/sewage/RainItpCalculator.h"

namespace TAVGis::Sewage {

namespace {
constexpr int kTagGroupCode = 1000;
}

CFlowCalculatorParametersPtr IFlowCalculator::GetDefaultCalculationParameters() {
    if (!m_defaults) m_defaults = CreateCalculationParameters();
    return m_defaults;
}

CFlowCalculatorParametersPtr IFlowCalculator::CreateCalculationParameters() const {
    auto p = boost::make_shared<CFlowCalculatorParameters>();
    FillDefaults(p->GetProperties());
    return p;
}

CPreviewDefinition IFlowCalculator::GetPreviewDefinition() const {
    CPreviewDefinition d;
    GetDisplayName(d.name);
    d.columns = GetWrittenAttributes();
    return d;
}

bool IFlowCalculator::TagSection(const Topology::CSection& section,
                                 const CFlowCalculatorParameters& params) const {
    CTAVCEntityPtr entity(section.GetObjectId(), AcDb::kForWrite);
    if (!entity.isValid()) return false;
    TAVHost::XDataChain chain{TAVHost::ResultBuffer{kTagGroupCode, params.GetProperties().ToText()}};
    return entity.setXData(TagApplication(), chain);
}

void IFlowCalculator::TagSections(const SectionList& sections, const std::vector<std::size_t>& indexes,
                                  const CFlowCalculatorParameters& params) const {
    const std::string app = TagApplication();
    const TAVHost::XDataChain chain{TAVHost::ResultBuffer{kTagGroupCode, params.GetProperties().ToText()}};
    for (std::size_t i : indexes) {
        if (!sections[i]) continue;
        CTAVCEntityPtr entity(sections[i]->GetObjectId(), AcDb::kForWrite);
        if (entity.isValid()) entity.setXData(app, chain);
    }
}

void IFlowCalculator::ReloadSourceData(const SectionList& sections) {
    m_configurations.clear();
    const std::string app = TagApplication();
    std::unordered_map<std::string, std::size_t> byText;
    for (const auto& s : sections) {
        if (!s) continue;
        CTAVCEntityPtr entity(s->GetObjectId(), AcDb::kForRead);
        const TAVHost::XDataChain* chain = entity.isValid() ? entity.getXData(app) : nullptr;
        if (!chain || chain->size() != 1 || (*chain)[0].code != kTagGroupCode) continue;
        const auto* text = std::get_if<std::string>(&(*chain)[0].value);
        if (!text) continue;
        auto it = byText.find(*text);
        if (it == byText.end()) {
            auto params = CreateCalculationParameters();
            if (!params->GetProperties().FromText(*text)) continue;
            it = byText.emplace(*text, m_configurations.size()).first;
            m_configurations.emplace_back(params, SectionList{});
        }
        m_configurations[it->second].second.push_back(s);
    }
}

void IFlowCalculator::GetSectionsForCalculationParameters(const CFlowCalculatorParametersPtr& params,
                                                          SectionList& sections) const {
    sections.clear();
    for (const auto& [set, list] : m_configurations)
        if (set == params) sections = list;
}

void IFlowCalculator::ResetSourceData(const SectionList& sections) {
    const std::string app = TagApplication();
    for (const auto& s : sections) {
        if (!s) continue;
        CTAVCEntityPtr entity(s->GetObjectId(), AcDb::kForWrite);
        if (entity.isValid() && entity.getXData(app)) entity.setXData(app, {});
    }
}

void IFlowCalculator::ResetWrittenData(const SectionList& sections) {
    const auto names = GetWrittenAttributes();
    for (const auto& s : sections) {
        if (!s) continue;
        for (const auto& n : names) Data::CDataRW::Delete(n, s);
    }
}

CFlowCalculatorManager* CFlowCalculatorManager::GetInstance() {
    static CFlowCalculatorManager* manager = [] {
        auto* m = new CFlowCalculatorManager();
        m->Register(boost::make_shared<CRainItpCalculator>());
        m->Register(boost::make_shared<CIskiCalculator>());
        return m;
    }();
    return manager;
}

IFlowCalculatorPtr CFlowCalculatorManager::GetFlowCalculator(const std::string& name) const {
    auto it = m_calculators.find(name);
    return it == m_calculators.end() ? IFlowCalculatorPtr() : it->second;
}

void CFlowCalculatorManager::Register(const IFlowCalculatorPtr& calculator) {
    if (calculator) m_calculators[calculator->GetName()] = calculator;
}

void CFlowCalculatorManager::Unregister(const std::string& name) {
    m_calculators.erase(name);
}

FlowOrder MakeFlowOrder(const SectionList& sections) {
    FlowOrder f;
    const std::size_t n = sections.size();
    f.incoming.assign(n, {});
    std::unordered_map<const Topology::CNode*, std::vector<std::size_t>> endingAt;
    endingAt.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        if (sections[i] && sections[i]->GetEndingNode())
            endingAt[sections[i]->GetEndingNode().get()].push_back(i);
    std::vector<std::size_t> pending(n, 0);
    std::vector<std::vector<std::size_t>> outgoing(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!sections[i] || !sections[i]->GetStartingNode()) continue;
        auto it = endingAt.find(sections[i]->GetStartingNode().get());
        if (it == endingAt.end()) continue;
        for (std::size_t up : it->second) {
            if (up == i) continue;  // a section from a node back to itself joins nothing
            f.incoming[i].push_back(up);
            outgoing[up].push_back(i);
        }
        pending[i] = f.incoming[i].size();
    }
    std::deque<std::size_t> ready;
    for (std::size_t i = 0; i < n; ++i)
        if (sections[i] && pending[i] == 0) ready.push_back(i);
    f.order.reserve(n);
    while (!ready.empty()) {
        const std::size_t i = ready.front();
        ready.pop_front();
        f.order.push_back(i);
        for (std::size_t down : outgoing[i])
            if (--pending[down] == 0) ready.push_back(down);
    }
    for (std::size_t i = 0; i < n; ++i)
        if (sections[i] && pending[i] != 0) f.inCycle.push_back(i);
    return f;
}

}  // namespace TAVGis::Sewage
