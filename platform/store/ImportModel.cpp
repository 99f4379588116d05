#include "platform/store/ImportModel.h"

#include <string_view>
#include <unordered_map>

namespace TAVGis::Store {

const char* ImportNodeKindName(EImportNodeKind kind) {
    switch (kind) {
        case EImportNodeKind::Junction:
            return "junction";
        case EImportNodeKind::Outfall:
            return "outfall";
        case EImportNodeKind::Storage:
            return "storage";
        case EImportNodeKind::Divider:
            return "divider";
        case EImportNodeKind::Point:
            return "point";
    }
    return "unknown";
}

void SImportReport::AddWarning(std::size_t line, std::string message) {
    ++warningCount;
    if (warnings.size() < kMaxStoredWarnings) warnings.push_back(SImportWarning{line, std::move(message)});
}

std::size_t ResolveCatchmentSections(SImportNetwork& network) {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct SNodeSections {
        std::size_t firstOut = kNone;
        std::size_t firstIn = kNone;
    };
    std::unordered_map<std::string_view, SNodeSections> atNode;
    atNode.reserve(network.nodes.size());
    for (const SImportNode& node : network.nodes) atNode.emplace(node.name, SNodeSections{});
    for (std::size_t i = 0; i < network.sections.size(); ++i) {
        const SImportSection& section = network.sections[i];
        if (auto it = atNode.find(section.fromNode); it != atNode.end() && it->second.firstOut == kNone)
            it->second.firstOut = i;
        if (auto it = atNode.find(section.toNode); it != atNode.end() && it->second.firstIn == kNone)
            it->second.firstIn = i;
    }
    std::unordered_map<std::string_view, std::size_t> catchmentIndex;
    catchmentIndex.reserve(network.catchments.size());
    for (std::size_t i = 0; i < network.catchments.size(); ++i)
        catchmentIndex.emplace(network.catchments[i].name, i);

    std::size_t unlinked = 0;
    for (SImportCatchment& catchment : network.catchments) {
        if (!catchment.section.empty()) continue;
        // Follow catchment-to-catchment outlets to a node; more steps than catchments is a cycle.
        const SImportCatchment* current = &catchment;
        std::size_t steps = 0;
        while (current->outletKind == EImportOutletKind::Catchment && steps <= network.catchments.size()) {
            auto it = catchmentIndex.find(current->outlet);
            if (it == catchmentIndex.end()) break;
            current = &network.catchments[it->second];
            ++steps;
        }
        std::string reason;
        if (current->outletKind == EImportOutletKind::Node) {
            auto it = atNode.find(current->outlet);
            if (it == atNode.end()) {
                reason = "its outlet node \"" + current->outlet + "\" is unknown";
            } else {
                const std::size_t chosen =
                    it->second.firstOut != kNone ? it->second.firstOut : it->second.firstIn;
                if (chosen != kNone) {
                    catchment.section = network.sections[chosen].name;
                    continue;
                }
                reason = "no section touches its outlet node \"" + current->outlet + "\"";
            }
        } else if (current->outletKind == EImportOutletKind::Catchment) {
            reason = steps > network.catchments.size() ? "its outlets form a cycle"
                                                       : "its outlet \"" + current->outlet + "\" is unknown";
        } else if (!current->outlet.empty()) {
            reason = "its outlet \"" + current->outlet + "\" is unknown";
        } else {
            reason = "it has no outlet";
        }
        ++unlinked;
        network.report.AddWarning(
            0, "catchment \"" + catchment.name + "\" is not linked to a section: " + reason);
    }
    return unlinked;
}

}  // namespace TAVGis::Store
