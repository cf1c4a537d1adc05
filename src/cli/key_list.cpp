#include "cli/key_list.h"

#include "cli/input_names.h"
#include "editor/key_table.h"

#include <iomanip>

namespace treadkey {

void PrintKeyNames(std::ostream& out) {
    constexpr int kNameWidth = 14;
    constexpr int kCodeWidth = 4;
    for (const KeyName& key : KeyNames()) {
        const KeyEntry& entry = KeyTable()[static_cast<std::size_t>(key.keyIndex)];
        out << std::left << std::setw(kNameWidth) << key.name << std::right << std::setw(kCodeWidth)
            << entry.code << "  \"" << entry.caption << "\"\n";
    }
}

} // namespace treadkey
