#include "update/SetupView.h"

#include "platform/TextConvert.h"
#include "platform/Translate.h"
#include "update/SetupErrorText.h"

#include <cstdio>

namespace ravelo {
namespace {

// The package's short name in the status texts, by task 0 to 6.
constexpr const char* kPackageNames[] = {
    TrNoop("升级包"),       TrNoop("Xinput驱动"),   "DirectX9c",           TrNoop("VC2005运行库"),
    TrNoop("VC2008运行库"), TrNoop("VC2010运行库"), TrNoop("VC2012运行库")};

std::string EmulatorTitle(const EmulatorInfo* emulator)
{
    return emulator ? Utf16ToUtf8(emulator->Name) + " " + emulator->Version : std::string();
}

SetupView::Bar BytesBar(const SetupProgress& record)
{
    return {static_cast<long>(record.now / 1024), static_cast<long>(record.total / 1024)};
}

} // namespace

std::string SetupDownloadingText(SetupTask task, const EmulatorInfo* emulator)
{
    if (task == SetupTask::Emulator) {
        // TRANSLATORS: followed directly by the emulator's or package's name.
        return Tr("提示：正在下载") + EmulatorTitle(emulator);
    }
    const int index = static_cast<int>(task);
    return std::string(Tr("提示：正在下载")) + Tr(kPackageNames[index >= 0 && index <= 6 ? index : 0]) +
           "...";
}

std::string SetupFinishedText(SetupTask task, const EmulatorInfo* emulator, bool packagePresent)
{
    if (task == SetupTask::Emulator) {
        // TRANSLATORS: "提示：", a name and version, then "安装成功" or "安装失败" right after it.
        return Tr("提示：") + EmulatorTitle(emulator) + Tr("安装成功");
    }
    if (!IsRuntimePackage(task))
        return {};
    return std::string(Tr("提示：")) + Tr(kPackageNames[static_cast<int>(task)]) +
           (packagePresent ? Tr("安装成功") : Tr("安装失败"));
}

std::string SetupSizeText(double now, double total)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.2fM/%.2fM", static_cast<double>(static_cast<float>(now / 1048576)),
                  static_cast<double>(static_cast<float>(total / 1048576)));
    return text;
}

SetupView ViewOfSetupProgress(SetupTask task, const EmulatorInfo* emulator, const SetupProgress& record,
                              bool packagePresent)
{
    SetupView view;
    switch (record.kind) {
    case kSetupDownloading:
        view.status = SetupDownloadingText(task, emulator);
        view.size = SetupSizeText(record.now, record.total);
        view.progress = BytesBar(record);
        break;
    case kSetupUnpacking:
        view.status = Tr("提示：解压中...");
        view.size = SetupSizeText(record.now, record.total);
        view.progress = BytesBar(record);
        break;
    case kSetupError:
        view.status = Tr("提示：错误");
        view.size = SetupErrorText(record.code);
        break;
    case kSetupInstalling:
        view.status = Tr("提示：正在安装...");
        view.size = std::string();
        view.progress = SetupView::Bar{static_cast<long>(record.now), static_cast<long>(record.total)};
        break;
    case kSetupFinished:
        view.size = std::string();
        view.progress = SetupView::Bar{100, 100};
        if (task == SetupTask::SelfUpdate) {
            view.closeAsUpdated = true;
            break;
        }
        view.status = SetupFinishedText(task, emulator, packagePresent);
        if (task == SetupTask::Emulator || packagePresent)
            view.button = Tr("确定");
        break;
    default:
        break;
    }
    return view;
}

} // namespace ravelo
