#include "gui/play/CHandleTypeFrame.h"

#include "emulator/InputKind.h"

namespace ravelo {

CHandleTypeFrame::CHandleTypeFrame()
    : CSkinDialog(QStringLiteral("skin\\xmls\\HandleTypeDialog.xml"), QStringLiteral("HandleTypeFrame"))
{
}

void CHandleTypeFrame::OnClick(const QString& name, UiLib::TNotifyUI&)
{
    if (name == QLatin1String("Btn_GamePad"))
        Close(kInputKindGamepad);
    else if (name == QLatin1String("Btn_Keyboard"))
        Close(kInputKindKeyboard);
}

} // namespace ravelo
