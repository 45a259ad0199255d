#pragma once

#include "store/EmulatorInfo.h"
#include "update/SetupProgress.h"
#include "update/SetupTask.h"

#include <optional>
#include <string>

namespace ravelo {

/// What the setup popup shows for one SetupProgress record. Pure data, so the popup window and the
/// command line show the same texts.
struct SetupView
{
    std::optional<std::string> status; // LB_Status; none: unchanged
    std::optional<std::string> size;   // LB_Size; none: unchanged
    struct Bar
    {
        long value = 0;
        long maximum = 100;
    };
    std::optional<Bar> progress;       // Progress_Download; none: unchanged
    std::optional<std::string> button; // Btn_Cancel's new text ("确定" after a success)
    bool closeAsUpdated = false;       // the self-update started its updater: close with 886
};

/// The popup's modal result when the self-update handed over to its updater.
constexpr int kSetupUpdaterStarted = 886;

/// Any thread. The view of record for task; emulator names the emulator of task 7 (may be null for the
/// others). packagePresent is the package's detection, asked again by the caller when a runtime
/// package finished (kind 10 of tasks 1 to 6).
SetupView ViewOfSetupProgress(SetupTask task, const EmulatorInfo* emulator, const SetupProgress& record,
                              bool packagePresent = false);

/// LB_Status while downloading: "提示：正在下载Xinput驱动...", or for an emulator "提示：正在下载" + name
/// + " " + version.
std::string SetupDownloadingText(SetupTask task, const EmulatorInfo* emulator);

/// LB_Status of a finished setup: the runtime package's success or failure text, or for an emulator
/// "提示：" + name + " " + version + "安装成功". Empty for the self-update (its popup closes).
std::string SetupFinishedText(SetupTask task, const EmulatorInfo* emulator, bool packagePresent);

/// "%.2fM/%.2fM" of two byte counts, each rounded to single precision after the division.
std::string SetupSizeText(double now, double total);

} // namespace ravelo
