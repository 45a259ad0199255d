#pragma once

#include "download/CloudLinkResolver.h"
#include "platform/Messages.h"
#include "store/DownloadInfo.h"

namespace ravelo {

/// What ChooseSource returns when the user closed the dialog without choosing.
constexpr int kSourceDialogClosed = 2;

/// The questions the download engine asks the user: the source of a new download and, through
/// CaptchaPrompt, a cloud-drive captcha. The windows, ravelo-cli and the tests answer them.
/// Both are called on engine threads that block until the answer and hold no lock of the engine,
/// so an implementation may take its time (a modal dialog shown by the UI thread).
class DownloadPrompts : public CaptchaPrompt
{
public:
    /// Returns one of the offered DownloadSource bits, or kSourceDialogClosed.
    virtual int ChooseSource(WindowHandle parent, const DownloadInfo& task, int offeredSources) = 0;
};

} // namespace ravelo
