#pragma once

#include "gui/common/CSkinDialog.h"

#include <string>

namespace ravelo {

/// The rename dialog of an imported game: Ed_GameName holds the name; Btn_Ok or Enter keeps a new name
/// (trimmed) and closes with 1, an empty one closes with kDialogClosed and changes nothing; a name with
/// a control character or longer than kMaxGameNameLength is refused with a line under the box and the
/// dialog stays. Btn_Cancel, Btn_Close and Escape close with kDialogClosed. UI thread.
class CReNameFrame : public CSkinDialog
{
public:
    static constexpr int kRenamed = 1;

    explicit CReNameFrame(std::u16string currentName);

    /// Shows the dialog over the page, titled "游戏重命名", centred; kRenamed or kDialogClosed.
    int ShowModalOver(WindowHandle owner);
    /// The new name after kRenamed.
    const std::u16string& NewName() const { return m_name; }

    void Notify(UiLib::TNotifyUI& msg) override;

protected:
    void InitWindow() override;
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;

private:
    void Accept();

    std::u16string m_name;
};

} // namespace ravelo
