#include "record/record_words.h"

#include "editor/press_text.h"

namespace treadkey {

std::string SlotKind(const RecordedWord& recorded) {
    if (recorded.source == WordSource::Unknown) {
        return "unknown";
    }
    if (!PressOf(recorded.word)) {
        return "cleared";
    }
    return recorded.word.writer == WordWriter::MouseCommand ? "mouse" : "key";
}

std::string SlotValueText(const RecordedWord& recorded) {
    if (recorded.source == WordSource::Unknown) {
        return "unknown";
    }
    const std::optional<HeldInputs> press = PressOf(recorded.word);
    return press ? PressName(*press) : "cleared";
}

std::string SourceText(const RecordedWord& recorded) {
    switch (recorded.source) {
    case WordSource::Written:
        return "written " + recorded.when + " by " + recorded.program;
    case WordSource::SeenByPress:
        return "seen by a press " + recorded.when;
    case WordSource::Unknown:
        break;
    }
    if (recorded.note.empty()) {
        return "never written from this computer";
    }
    return recorded.note + " (" + recorded.program + ", " + recorded.when + ")";
}

} // namespace treadkey
