#pragma once

#include "gui/common/CSkinDialog.h"

namespace ravelo {

/// How the user plays, asked once before the first game: `Btn_GamePad` ends it with 1 (gamepad),
/// `Btn_Keyboard` with 2 (keyboard); closing it ends it with 0, which abandons the launch.
class CHandleTypeFrame : public CSkinDialog
{
public:
    CHandleTypeFrame();

protected:
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;
    int ClosedCode() const override { return 0; }
};

} // namespace ravelo
