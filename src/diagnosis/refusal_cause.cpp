#include "diagnosis/refusal_cause.h"

#include "diagnosis/diagnosis_words.h"

#include <algorithm>

namespace treadkey {
namespace {

bool RefusedPermission(const SeenInterface& seen) {
    return seen.tried && !seen.opens && seen.openFailure == OpenFailure::PermissionDenied;
}

} // namespace

std::optional<Finding> CauseOfRefusal(const DiscoveryReport& report, const SystemRoot& system) {
    if (std::ranges::none_of(report.seen, RefusedPermission)) {
        return std::nullopt;
    }
    const Diagnosis diagnosis = DiagnosePedal(system);
    if (!diagnosis.cause || diagnosis.cause->cause == Cause::NotPresent) {
        return std::nullopt;
    }
    return diagnosis.cause;
}

std::string RefusalSentence(const std::string& path, const Finding& finding) {
    return "permission denied on " + path + ": " + CauseSentence(finding) + "; " + std::string(kRunDoctor);
}

void ExplainRefusals(DiscoveryReport& report, const SystemRoot& system) {
    const std::optional<Finding> cause = CauseOfRefusal(report, system);
    if (!cause) {
        return;
    }
    for (SeenInterface& seen : report.seen) {
        if (RefusedPermission(seen)) {
            seen.openProblem = RefusalSentence(seen.interface.path, *cause);
        }
    }
}

} // namespace treadkey
