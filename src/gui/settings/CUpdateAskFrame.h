#pragma once

#include "gui/common/CSkinDialog.h"
#include "update/UpdateAnswer.h"

namespace ravelo {

/// The question of the self-update check: "提示:检测到新版本" + version + "是否更新" as its caption,
/// "更新说明:", an empty line and the release notes below, "是" and "否". Ends with IDYES, IDNO, or
/// kDialogClosed when closed otherwise (which means no). UI thread.
class CUpdateAskFrame : public CSkinDialog
{
public:
    explicit CUpdateAskFrame(UpdateAnswer answer);

    /// Asks over owner; true only for "是".
    bool Ask(WindowHandle owner);

protected:
    void InitWindow() override;
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;

private:
    UpdateAnswer m_answer;
};

} // namespace ravelo
