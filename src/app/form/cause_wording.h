#pragma once

#include "diagnosis/diagnosis.h"

#include <string>

namespace treadkey {

// The Chinese sentence for each cause doctor finds, UTF-8; the English ones are doctor's own.
std::string ChineseCauseSentence(const Finding& finding);

// Where the Chinese tooltip sends the user for every check.
inline constexpr std::string_view kChineseRunDoctor = "运行 treadkeyctl doctor 查看全部检查";

} // namespace treadkey
