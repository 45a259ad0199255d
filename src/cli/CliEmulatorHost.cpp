#include "cli/CliEmulatorHost.h"

#include "cli/CliOutput.h"
#include "cli/InterruptWatcher.h"
#include "cli/ProgressLine.h"
#include "download/DownloadMessages.h"
#include "platform/MessageQueue.h"
#include "platform/StartThread.h"
#include "platform/Translate.h"
#include "update/SetupProgress.h"
#include "update/SetupView.h"
#include "update/SetupWorker.h"

#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace ravelo::cli {
namespace {

// Posted by the worker's thread after Run returned: every record is queued before it.
constexpr std::uint32_t UM_SETUP_DONE = WM_USER + 960;

} // namespace

bool CliEmulatorHost::AskYesNo(const std::string&, const std::string&, WindowHandle)
{
    return true;
}

void CliEmulatorHost::ShowMessage(const std::string& text, const std::string&, WindowHandle)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool CliEmulatorHost::RunPackageSetup(const EmulatorInfo& record, const std::string&, WindowHandle,
                                      SetupWorker& worker)
{
    std::fprintf(stderr, "%s\n", SetupDownloadingText(worker.Task(), &record).c_str());
    // The command's queue when it has one, so that Ctrl-C arrives among the worker's records.
    MessageQueue ownQueue;
    MessageQueue& queue = m_interrupts ? *m_interrupts : ownQueue;
    ProgressLine line(::isatty(STDERR_FILENO) != 0);
    std::thread runner = StartThread([&] {
        worker.Run(queue.Handle());
        PostMessage(queue.Handle(), UM_SETUP_DONE);
    });
    for (;;) {
        std::optional<Message> message = queue.Wait(std::chrono::hours(1));
        if (!message)
            continue; // a download may take long; the worker always ends with UM_SETUP_DONE
        if (message->id == UM_SETUP_DONE)
            break;
        if (message->id == UM_CLI_INTERRUPT) {
            line.Finish();
            std::fputs(Tr("正在取消...\n"), stderr);
            m_cancelled = true;
            worker.Cancel();
            continue;
        }
        if (m_cancelled)
            continue; // the cancelled transfer's own error says nothing new
        const std::unique_ptr<SetupProgress> progress = message->TakePayload<SetupProgress>();
        if (!progress)
            continue;
        const SetupView view = ViewOfSetupProgress(worker.Task(), &record, *progress);
        switch (progress->kind) {
        case kSetupDownloading:
        case kSetupUnpacking: {
            DownloadProgress shown;
            shown.done = progress->now;
            shown.total = progress->total;
            shown.state =
                progress->kind == kSetupDownloading ? TaskStatus::Downloading : TaskStatus::Unpacking;
            line.Show(shown);
            break;
        }
        case kSetupError:
            line.Finish();
            PrintError(view.status.value_or("") + " " + view.size.value_or(""));
            break;
        case kSetupFinished:
            line.Finish();
            std::fprintf(stderr, "%s\n", view.status.value_or("").c_str());
            break;
        default:
            break;
        }
    }
    runner.join();
    line.Finish();
    return worker.Succeeded();
}

} // namespace ravelo::cli
