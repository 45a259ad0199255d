#pragma once

#include "gui/common/CSkinDialog.h"

#include <string>

namespace ravelo {

/// The feedback window ("建议&反馈"): the program's version and where to reach the people behind it.
/// Its forum link opens in the browser, and only when it is a web address: the text comes from the
/// layout, which a deployment edits, so nothing else (a file, another program) is ever handed to the
/// desktop's opener. Btn_Close ends it with 8. UI thread.
///
/// The main window, on Btn_Suggestion: `CSuggestionFrame().ShowModalOver(GetHWND(), Tr("反馈"));`
class CSuggestionFrame : public CSkinDialog
{
public:
    CSuggestionFrame();

    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;

protected:
    int ClosedCode() const override { return 8; }
};

/// The address of a link control's text: its markup ("<f 0><a>", "</a></f>" and "{...}" tags) removed
/// and the rest trimmed.
std::string LinkAddress(const std::string& text);

} // namespace ravelo
