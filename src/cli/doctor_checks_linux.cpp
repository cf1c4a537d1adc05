#include "cli/doctor_checks.h"

#include "cli/commands/command.h"
#include "diagnosis/diagnosis.h"
#include "diagnosis/diagnosis_words.h"
#include "json/json.h"

namespace treadkey {
namespace {

// A problem is a note once the pedal opens anyway: something else grants the access.
std::string_view Status(const Check& check, const Diagnosis& diagnosis) {
    if (!check.problem) {
        return "ok";
    }
    return diagnosis.canOpen ? "note" : "problem";
}

std::string Verdict(const Diagnosis& diagnosis) {
    if (diagnosis.canOpen) {
        return "the pedal can be opened for writing";
    }
    return "the pedal cannot be opened for writing: " + CauseSentence(*diagnosis.cause);
}

void PrintLines(const Diagnosis& diagnosis, std::ostream& out) {
    for (const Check& check : diagnosis.checks) {
        out << CheckName(check.id) << ": " << Status(check, diagnosis) << ": " << check.found << '\n';
        if (check.problem) {
            out << "  " << CauseSentence(*check.problem) << "\n  to mend: " << CauseMend(*check.problem)
                << '\n';
        }
    }
    out << Verdict(diagnosis) << '\n';
    if (diagnosis.cause) {
        out << "to mend: " << CauseMend(*diagnosis.cause) << '\n';
    }
}

std::string JsonOrNull(const std::optional<Finding>& finding, std::string (*words)(const Finding&)) {
    return finding ? JsonQuoted(words(*finding)) : "null";
}

void PrintJson(const Diagnosis& diagnosis, std::ostream& out) {
    out << "{\n  \"checks\": [";
    for (std::size_t i = 0; i < diagnosis.checks.size(); ++i) {
        const Check& check = diagnosis.checks[i];
        out << (i == 0 ? "\n" : ",\n") << "    {\"check\": " << JsonQuoted(CheckName(check.id))
            << ", \"status\": " << JsonQuoted(Status(check, diagnosis))
            << ", \"found\": " << JsonQuoted(check.found)
            << ", \"cause\": " << JsonOrNull(check.problem, CauseSentence)
            << ", \"mend\": " << JsonOrNull(check.problem, CauseMend) << "}";
    }
    out << "\n  ],\n  \"can_open\": " << (diagnosis.canOpen ? "true" : "false")
        << ",\n  \"cause\": " << JsonOrNull(diagnosis.cause, CauseSentence)
        << ",\n  \"mend\": " << JsonOrNull(diagnosis.cause, CauseMend) << "\n}\n";
}

} // namespace

int RunDoctorChecks(bool json, CliServices& services) {
    const Diagnosis diagnosis = DiagnosePedal(services.lookAtSystem());
    if (json) {
        PrintJson(diagnosis, services.out);
    } else {
        PrintLines(diagnosis, services.out);
    }
    return diagnosis.canOpen ? kExitDone : kExitDeviceError;
}

} // namespace treadkey
